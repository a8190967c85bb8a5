#!/usr/bin/env bash
# Our read path beside PostgreSQL's, in the same run: starts a throwaway PostgreSQL cluster
# (scripts/pg_cluster.sh), runs `pgbench -S` (one row by primary key) at 1 and 32 clients over
# TCP, runs bench_server --reads-only on its SQLite store, and prints the two side by side. The
# cluster is stopped and its folder removed at the end, also when a step fails or the script is
# interrupted.
#
#   bench/reads_beside_postgres.sh [BUILD_DIR]      (default: build)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
bench_server="$build/bin/bench_server"
seconds=${SECONDS_PER_RUN:-5}
[ -x "$bench_server" ] || { echo "no $bench_server: build the project first (cmake --build $build --target bench_server)" >&2; exit 2; }
. "$root/bench/support/pg_bench.sh"

cluster=$(mktemp -d /tmp/ktr52300_pg.XXXXXX)
trap '"$root/scripts/pg_cluster.sh" stop "$cluster"' EXIT
trap 'exit 130' INT TERM
uri=$("$root/scripts/pg_cluster.sh" start "$cluster")
pgbench -i -s 1 -q "$uri" >"$cluster/init.log" 2>&1 || { cat "$cluster/init.log" >&2; exit 1; }

figures() {  # "REQ P50 P99" as the table shows them
  awk '{ printf "%10.0f req/s  p50 %8.1f us  p99 %8.1f us\n", $1, $2, $3 }'
}
pg1=$(pgbench_select "$uri" 1 "$seconds" "$cluster" | figures)
pg32=$(pgbench_select "$uri" 32 "$seconds" "$cluster" | figures)
ours=$("$bench_server" --reads-only)

# The figures of bench_server's line that names `what` at `conns` connections.
ours_at() {
  printf '%s\n' "$ours" | report_fields | awk -F'|' -v w="$1" -v c="$2" '$1 == w && $2 == c { print $3, $4, $5; exit }' | figures
}

echo "Reads beside PostgreSQL 15 on this machine, the same run (loopback TCP, ${seconds} s per PostgreSQL run):"
printf '%s\n' "$ours" | grep -E "^GetPercentual(: | handled)"
for c in 1 32; do
  echo
  echo "$c connection(s):"
  printf '  %-48s %s\n' "pgbench -S (one row by primary key)" "$( [ "$c" = 1 ] && echo "$pg1" || echo "$pg32" )"
  printf '  %-48s %s\n' "GetPercentual (20 bands), repeated" "$(ours_at "GetPercentual (20 bands)" "$c")"
  printf '  %-48s %s\n' "GetPercentual (20 bands), the store answering" "$(ours_at "GetPercentual (20 bands), store answering" "$c")"
  printf '  %-48s %s\n' "TCP echo of the reply's size" "$(ours_at "TCP echo (same size as reply)" "$c")"
done
