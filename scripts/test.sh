#!/usr/bin/env bash
# Builds everything and runs every test: the store and end-to-end tests run once on SQLite and
# once on a throwaway PostgreSQL cluster started here and stopped at the end, however it ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
cluster=$(mktemp -d /tmp/ktr52300_testpg.XXXXXX)
trap '"$root/scripts/pg_cluster.sh" stop "$cluster"' EXIT
trap 'exit 130' INT TERM
# No disk syncs: the tests prove behaviour, the benchmarks measure speed.
KTR_TEST_PG=$("$root/scripts/pg_cluster.sh" start "$cluster" fsync=off synchronous_commit=off full_page_writes=off)
export KTR_TEST_PG
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
