#!/usr/bin/env bash
# Our read path beside PostgreSQL's, in the same run: starts a throwaway PostgreSQL cluster on a
# free loopback port, runs `pgbench -S` (one row by primary key) at 1 and 32 clients over TCP,
# runs bench_server --reads-only, and prints the two side by side. The cluster is stopped and
# its folder removed at the end, also when a step fails or the script is interrupted.
#
#   bench/reads_beside_postgres.sh [BUILD_DIR]      (default: build)
#
# Needs PostgreSQL 15's server programs (Debian's postgresql-15). Run as root, the cluster runs
# as the `postgres` user (initdb refuses root); as anyone else, as yourself.
set -euo pipefail

build=${1:-build}
bench_server="$build/bin/bench_server"
pgbin=${PGBIN:-/usr/lib/postgresql/15/bin}
seconds=${SECONDS_PER_RUN:-5}
[ -x "$bench_server" ] || { echo "no $bench_server: build the project first (cmake --build $build --target bench_server)" >&2; exit 2; }
[ -x "$pgbin/initdb" ] && [ -x "$pgbin/pgbench" ] || { echo "no PostgreSQL 15 in $pgbin (apt-get install postgresql-15)" >&2; exit 2; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

work=$(mktemp -d /tmp/ktr52300_pg.XXXXXX)
chmod 755 "$work"
[ "$(id -u)" -eq 0 ] && chown postgres: "$work"
started=
finish() {
  [ -n "$started" ] && as_owner "$pgbin/pg_ctl" -D "$work/data" -m fast -w stop >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap finish EXIT
trap 'exit 130' INT TERM

# A port nobody listens on: connecting to it fails.
port=
for _ in $(seq 50); do
  candidate=$((20000 + RANDOM % 40000))
  if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then port=$candidate; break; fi
done
[ -n "$port" ] || { echo "no free port found" >&2; exit 1; }

as_owner "$pgbin/initdb" -D "$work/data" -U postgres -A trust --no-sync >"$work/initdb.log" 2>&1 ||
  { cat "$work/initdb.log" >&2; exit 1; }
started=yes
as_owner "$pgbin/pg_ctl" -D "$work/data" -l "$work/server.log" -w \
  -o "-p $port -k $work -c listen_addresses=127.0.0.1 -c shared_buffers=128MB" start >/dev/null ||
  { cat "$work/server.log" >&2; exit 1; }
pg=(-h 127.0.0.1 -p "$port" -U postgres)
as_owner "$pgbin/pgbench" "${pg[@]}" -i -s 1 -q postgres >"$work/init.log" 2>&1 || { cat "$work/init.log" >&2; exit 1; }

# "tps p50 p99" of `pgbench -S` with $1 clients, from its log of every transaction (microseconds).
pgbench_run() {
  local clients=$1 threads=$(( $1 < 2 ? 1 : 2 ))
  rm -f "$work"/pgb.*
  (cd "$work" && as_owner "$pgbin/pgbench" "${pg[@]}" -S -n -c "$clients" -j "$threads" -T "$seconds" \
     -l --log-prefix="$work/pgb" postgres) >"$work/run.log" 2>&1 || { cat "$work/run.log" >&2; exit 1; }
  local tps
  tps=$(sed -n 's/^tps = \([0-9.]*\).*/\1/p' "$work/run.log" | head -1)
  cat "$work"/pgb.* | awk '{print $3}' | sort -n | awk -v tps="$tps" '
    { v[NR] = $1 } END { printf "%10.0f req/s  p50 %8.1f us  p99 %8.1f us\n", tps, v[int(NR * 0.5) + 1], v[int(NR * 0.99) + 1] }'
}

pg1=$(pgbench_run 1)
pg32=$(pgbench_run 32)
ours=$("$bench_server" --reads-only)

# The figures of bench_server's line that names `what` at `conns` connections.
ours_at() {
  printf '%s\n' "$ours" | grep -F "$1" | awk -v c="$2" '$0 ~ (" " c " conn ") {
    for (i = 1; i <= NF; i++) { if ($i == "req/s") r = $(i - 1); if ($i == "p50") p = $(i + 1); if ($i == "p99") q = $(i + 1) }
    printf "%10.0f req/s  p50 %8.1f us  p99 %8.1f us\n", r, p, q; exit }'
}

echo "Reads beside PostgreSQL 15 on this machine, the same run (loopback TCP, ${seconds} s per PostgreSQL run):"
printf '%s\n' "$ours" | grep -E "^GetPercentual(: | handled)"
for c in 1 32; do
  echo
  echo "$c connection(s):"
  printf '  %-48s %s\n' "pgbench -S (one row by primary key)" "$( [ "$c" = 1 ] && echo "$pg1" || echo "$pg32" )"
  printf '  %-48s %s\n' "GetPercentual (20 bands), repeated" "$(ours_at "GetPercentual (20 bands)  " "$c")"
  printf '  %-48s %s\n' "GetPercentual (20 bands), the store answering" "$(ours_at "store answering" "$c")"
  printf '  %-48s %s\n' "TCP echo of the reply's size" "$(ours_at "TCP echo" "$c")"
done
