#!/usr/bin/env bash
# The servers on PostgreSQL beside PostgreSQL's own figures, in one run on this machine. Starts
# a throwaway PostgreSQL 15 cluster with its default durability (fsync on), then, ROUNDS times:
#   reads:  `pgbench -S` at 1, 8 and 32 clients; then six ktr52300-server processes on a new
#           database, three as they start by default (keeping read results) and three keeping
#           none (--keep-results 0), and bench_server driving GetPercentual at 1, 8 and 32
#           connections against one server and against three of each kind;
#   writes: SetPercCargo plus a reload at 1, 8 and 32 writers on an SQLite file (the server in
#           process), then the same through three server processes on a new PostgreSQL
#           database (one server, then all three), each beside an fdatasync floor.
# Prints every round's figures, then each row's figures over the rounds and the targets.
# Everything started here is stopped at the end, also when a step fails or on Ctrl+C.
#
#   bench/postgres_side_by_side.sh [BUILD_DIR]     (default: build; ROUNDS=3, SECONDS_PER_RUN=4,
#                                                   SERVER_THREADS=2)
set -Eeuo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
rounds=${ROUNDS:-3}
seconds=${SECONDS_PER_RUN:-4}
threads=${SERVER_THREADS:-2}
for program in bench_server ktr52300-server; do
  [ -x "$build/bin/$program" ] || { echo "no $build/bin/$program: build the project first" >&2; exit 2; }
done
. "$root/bench/support/pg_bench.sh"
. "$root/scripts/server_port.sh"

work=$(mktemp -d /tmp/ktr52300_sidebyside.XXXXXX)
cluster=$(mktemp -d /tmp/ktr52300_sidebysidepg.XXXXXX)
servers=()
stop_servers() {
  local pid
  for pid in "${servers[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${servers[@]}"; do wait "$pid" 2>/dev/null || true; done
  servers=()
}
finish() {
  stop_servers
  "$root/scripts/pg_cluster.sh" stop "$cluster"
  rm -rf "$work"
}
trap finish EXIT
trap 'exit 130' INT TERM
trap 'echo "$0: line $LINENO failed: $BASH_COMMAND" >&2' ERR

uri=$("$root/scripts/pg_cluster.sh" start "$cluster")
base=${uri%/*}
pgbench -i -s 1 -q "$uri" >"$work/init.log" 2>&1 || { cat "$work/init.log" >&2; exit 1; }

new_database() {  # NAME
  psql -q "$uri" -c "CREATE DATABASE $1" >/dev/null
}

# Three servers on the database NAME, one after another (the first creates the tables), with
# the server options given; prints their ports joined by commas.
start_servers() {
  local db=$1 n port out
  shift
  local ports=()
  for n in 1 2 3; do
    out=$work/server.$(( ${#servers[@]} + 1 ))
    "$build/bin/ktr52300-server" --db "$base/$db" --listen 127.0.0.1:0 --threads "$threads" --log-level warn "$@" \
      >"$out.out" 2>"$out.log" &
    servers+=($!)
    port=$(server_port "$out.out" "$out.log" "${servers[-1]}")
    ports+=("$port")
  done
  (IFS=,; echo "${ports[*]}")
}

results=$work/results  # ROUND|PART|WHAT|CONNS|REQ_PER_S|P50_US|P99_US
refusals=$work/refusals  # what bench_server says of change logs it had to send again
record() {  # round, part; bench_server's output on standard input
  tee -a "$work/raw" | report_fields | sed "s/^/$1|$2|/" >>"$results"
  grep --no-group-separator -B1 "sent again" "$work/raw" | paste -d' ' - - | sed -E "s/^(.*[^ ]) +([0-9]+) conn.*\(([0-9]+) .*/  round $1, $2: \1 at \2 connections: \3 change logs refused as too concurrent and sent again/" >>"$refusals" || true
  rm -f "$work/raw"
}

for round in $(seq "$rounds"); do
  echo "round $round of $rounds" >&2
  for c in 1 8 32; do
    read -r rate p50 p99 < <(pgbench_select "$uri" "$c" "$seconds" "$cluster")
    echo "$round|reads|pgbench -S|$c|$rate|$p50|$p99" >>"$results"
  done
  new_database "reads$round"
  start_servers "reads$round" >"$work/ports"
  start_servers "reads$round" --keep-results 0 >"$work/store-ports"
  "$build/bin/bench_server" --reads-only --db "$base/reads$round" --servers "$(cat "$work/ports")" \
    --store-servers "$(cat "$work/store-ports")" | record "$round" reads
  stop_servers

  TMPDIR=$work "$build/bin/bench_server" --writes-only | record "$round" "writes, SQLite"
  new_database "writes$round"
  start_servers "writes$round" >"$work/ports"
  TMPDIR=$work "$build/bin/bench_server" --writes-only --db "$base/writes$round" --servers "$(cat "$work/ports")" |
    record "$round" "writes, PostgreSQL"
  stop_servers
done

echo
echo "Side by side on $(nproc) processors, $rounds rounds (PostgreSQL 15, fsync on; pgbench -S ${seconds} s a run," \
  "bench_server 1.5 s a run; servers with $threads threads each). Each round's figure in turn:"
awk -F'|' '
  { key = $2 "|" $3 "|" $4
    if (!(key in rate)) { order[++n] = key; rate[key] = $5; p50[key] = $6; p99[key] = $7 }
    else { rate[key] = rate[key] ", " $5; p50[key] = p50[key] ", " $6; p99[key] = p99[key] ", " $7 } }
  END {
    for (i = 1; i <= n; ++i) {
      split(order[i], k, "|")
      if (k[1] != part) { part = k[1]; printf "\n%s\n", part }
      printf "  %-58s %2s conn  %-18s req/s  p50 %-16s us  p99 %s us\n", k[2], k[3], rate[order[i]], p50[order[i]], p99[order[i]]
    } }' "$results"

if [ -s "$refusals" ]; then
  echo
  echo "Refused and sent again:"
  cat "$refusals"
fi

echo
echo "Targets, each round:"
awk -F'|' '
  { r[$1 "|" $2 "|" $3 "|" $4] = $5; if ($1 > rounds) rounds = $1 }
  function ratio(a, b) { return b > 0 ? a / b : 0 }
  END {
    for (i = 1; i <= rounds; ++i) {
      kept = ratio(r[i "|reads|GetPercentual (20 bands), 3 servers|32"], r[i "|reads|pgbench -S|32"])
      reads = ratio(r[i "|reads|GetPercentual (20 bands), store answering, 3 servers|32"], r[i "|reads|pgbench -S|32"])
      sqlite = ratio(r[i "|writes, SQLite|SetPercCargo + GetPercentual|32"], r[i "|writes, SQLite|SetPercCargo + GetPercentual|1"])
      one = ratio(r[i "|writes, PostgreSQL|SetPercCargo + GetPercentual, 1 server|32"], r[i "|writes, PostgreSQL|SetPercCargo + GetPercentual, 1 server|1"])
      three = ratio(r[i "|writes, PostgreSQL|SetPercCargo + GetPercentual, 3 servers|32"], r[i "|writes, PostgreSQL|SetPercCargo + GetPercentual, 1 server|1"])
      printf "  round %d: reads at 32 over three servers / pgbench -S at 32 (target 1x): %.2fx keeping results, %.2fx the store answering; writes at 32 / at 1 (target 8x): SQLite %.1fx, PostgreSQL one server %.1fx, three servers %.1fx\n", i, kept, reads, sqlite, one, three
    } }' "$results"
