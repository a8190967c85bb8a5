#!/usr/bin/env bash
# Builds everything and runs every test: the store and end-to-end tests run once on SQLite and
# once on a throwaway PostgreSQL cluster started here and stopped at the end, however it ends.
# The tests' own temporary files, the clusters some tests start for themselves among them, go
# to a folder of this run: a cluster still there at the end was left behind by its test; it is
# named, stopped, and the run fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
cluster=$(mktemp -d /tmp/ktr52300_testpg.XXXXXX)
run=$(mktemp -d /tmp/ktr52300_testrun.XXXXXX)
chmod 755 "$run"  # the clusters in it run as the postgres user when the tests run as root

# The clusters the tests left running (the folder of each, or a server still holding a deleted
# one): named and stopped. Fails when there were any.
left_behind() {
  local found=0 dir pid
  for dir in "$run"/ktr52300_cluster_*; do
    [ -e "$dir" ] || continue
    echo "test.sh: a test left its PostgreSQL cluster behind: $dir (stopped now)" >&2
    "$root/scripts/pg_cluster.sh" stop "$dir" || true
    found=1
  done
  for pid in $(pgrep -f -- "-D $run/ktr52300_cluster_" || true); do
    echo "test.sh: a test left PostgreSQL running without its folder: pid $pid (killed now)" >&2
    kill -KILL "$pid" 2>/dev/null || true
    found=1
  done
  return "$found"
}

finish() {
  local status=$?
  # A stopper of a test killed at its time-out may still be at work: give it a moment.
  for _ in $(seq 50); do
    compgen -G "$run/ktr52300_cluster_*" >/dev/null || break
    sleep 0.2
  done
  left_behind || status=1
  "$root/scripts/pg_cluster.sh" stop "$cluster"
  rm -rf "$run"
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT TERM
# No disk syncs: the tests prove behaviour, the benchmarks measure speed.
KTR_TEST_PG=$("$root/scripts/pg_cluster.sh" start "$cluster" fsync=off synchronous_commit=off full_page_writes=off)
export KTR_TEST_PG
cd "$build"
TMPDIR=$run ctest --output-on-failure -j "$(nproc)" --timeout 300
