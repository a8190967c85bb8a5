# What the benchmarks run beside PostgreSQL share (sourced, not run): PostgreSQL's own read
# benchmark and bench_server's report lines read back.

# "REQ_PER_S P50_US P99_US" of `pgbench -S` (one row by primary key, simple protocol, over TCP)
# with CLIENTS clients for SECONDS, the latencies from its log of every transaction. The pgbench
# tables must be in the database (pgbench -i).
#   pgbench_select URI CLIENTS SECONDS LOG_FOLDER
pgbench_select() {
  local uri=$1 clients=$2 seconds=$3 logs=$4 threads tps
  threads=$(( clients < 2 ? 1 : 2 ))
  rm -f "$logs"/pgb.*
  pgbench -S -n -c "$clients" -j "$threads" -T "$seconds" -l --log-prefix="$logs/pgb" "$uri" >"$logs/pgbench.out" 2>&1 ||
    { cat "$logs/pgbench.out" >&2; return 1; }
  tps=$(sed -n 's/^tps = \([0-9.]*\).*/\1/p' "$logs/pgbench.out" | head -1)
  cat "$logs"/pgb.* | awk '{print $3}' | sort -n | awk -v tps="$tps" '
    { v[NR] = $1 } END { printf "%.0f %.1f %.1f\n", tps, v[int(NR * 0.5) + 1], v[int(NR * 0.99) + 1] }'
  rm -f "$logs"/pgb.*
}

# bench_server's report lines on standard input as "WHAT|CONNS|REQ_PER_S|P50_US|P99_US".
report_fields() {
  sed -nE 's/^(.*[^ ]) +([0-9]+) conn +([0-9]+) req\/s +p50 +([0-9.]+) us +p99 +([0-9.]+) us$/\1|\2|\3|\4|\5/p'
}
