#!/usr/bin/env bash
# backoffice-apuracao's run beside the same assignment in PostgreSQL 15 and in DuckDB, and
# beside the floor (the file read and split into lines), all in one run on this machine:
#   - bench_apuracao generates N sales and four tables of 163 rules (60 promotions) with 10 to
#     20 bands each, and N/10 sales for the cost per sale at two sizes;
#   - ours: the run at 1 and 2 threads (as the program makes it once it holds the tables);
#   - PostgreSQL: the sales loaded with COPY, the rule picked by its precedence in one SQL
#     query (LATERAL ... ORDER BY precedence LIMIT 1), the result written with COPY;
#   - DuckDB (its Node package, installed here in a temporary folder, never by the build):
#     read_csv, the same query with QUALIFY, COPY TO.
# Each engine's commission is summed over every line it wrote; the sums must agree.
#
#   bench/apuracao_side_by_side.sh [BUILD_DIR]     (N=1000000 and ROUNDS=5 by default)
set -Eeuo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
n=${N:-1000000}
[ -x "$build/bin/bench_apuracao" ] || { echo "no $build/bin/bench_apuracao: build the project first" >&2; exit 2; }
work=$(mktemp -d /tmp/ktr52300_apuracao.XXXXXX)
cluster=$(mktemp -d /tmp/ktr52300_apuracaopg.XXXXXX)
rmdir "$cluster"
cleanup() { "$root/scripts/pg_cluster.sh" stop "$cluster" >/dev/null 2>&1 || true; rm -rf "$work"; }
trap cleanup EXIT
now() { date +%s.%N; }
mkdir -p "$work/big" "$work/small" "$work/node"

"$build/bin/bench_apuracao" gen "$work/big" "$n" >/dev/null
"$build/bin/bench_apuracao" gen "$work/small" $((n / 10)) >/dev/null
echo "sales: $n ($(du -m "$work/big/vendas.csv" | cut -f1) MB), $(($(wc -l <"$work/big/regras.csv") - 1)) rules, $(($(wc -l <"$work/big/faixas.csv") - 1)) bands"

# Ours takes seconds where the databases take minutes: each of its figures is the median of
# ROUNDS runs (5 by default), taken in turn, and its own ratios (two threads against one, a sale
# at N against one at N/10, the comparison against the run) are the medians of each round's
# ratio, so that a minute when the machine is slow does not decide one.
rounds=${ROUNDS:-5}
median() {  # the line of median seconds among the lines given
  printf '%s\n' "$@" | awk '{ for (i = 1; i <= NF; ++i) if ($i ~ /^seconds=/) { split($i, kv, "="); print kv[2] "\t" $0 } }' |
    sort -n | awk -v m=$(( ($# + 1) / 2 )) 'NR == m { sub(/^[^\t]*\t/, ""); print }'
}
declare -a r_floor r_o1 r_o2 r_s1 r_c1 r_c2 r_pair
mkdir -p "$work/twin" && cp "$work/big/vendas.csv" "$work/twin/"
# Each run starts with nothing left to write back and its files are removed as soon as it
# ends: the kernel's writeback of earlier runs' 1.3 GB would otherwise take the second
# processor from the run being timed.
ours() {
  sync
  "$build/bin/bench_apuracao" "$@"
  rm -f "$work"/big/ours* "$work"/big/compared* "$work"/small/ours* "$work"/twin/ours*
}
for ((k = 0; k < rounds; ++k)); do
  r_floor+=("$("$build/bin/bench_apuracao" floor "$work/big")")
  r_o1+=("$(ours run "$work/big" 1)")
  r_o2+=("$(ours run "$work/big" 2)")
  # The machine's own ceiling for two threads at that moment: two one-thread runs at once, each
  # on a copy of the file of its own (the slower of the two, against one run alone).
  sync
  "$build/bin/bench_apuracao" run "$work/big" 1 >"$work/pair_a" & "$build/bin/bench_apuracao" run "$work/twin" 1 >"$work/pair_b"
  wait
  rm -f "$work"/big/ours* "$work"/twin/ours*
  r_pair+=("$(cat "$work/pair_a" "$work/pair_b" | sed -nE 's/.*seconds=([0-9.]+).*/\1/p' | sort -n | tail -1)")
  r_s1+=("$(ours run "$work/small" 1)")
  # The comparison with the last quarter's table: every sale paid twice, the others' dates moved.
  r_c1+=("$(ours compare "$work/big" 1 4)")
  r_c2+=("$(ours compare "$work/big" 2 4)")
done
floor=$(median "${r_floor[@]}"); echo "$floor"
ours1=$(median "${r_o1[@]}"); echo "ours  $ours1"
ours2=$(median "${r_o2[@]}"); echo "ours  $ours2"
small1=$(median "${r_s1[@]}"); echo "ours  (N/10) $small1"
cmp1=$(median "${r_c1[@]}"); echo "ours  $cmp1"
cmp2=$(median "${r_c2[@]}"); echo "ours  $cmp2"
secs() { sed -nE 's/.*seconds=([-0-9.]+).*/\1/p' <<<"$1"; }
per_round=$(for ((k = 0; k < rounds; ++k)); do
  echo "$(secs "${r_o1[k]}") $(secs "${r_o2[k]}") $(secs "${r_s1[k]}") $(secs "${r_c1[k]}") ${r_pair[k]}"
done)

# PostgreSQL: the tables loaded first (not timed), then COPY in, the query, COPY out.
uri=$("$root/scripts/pg_cluster.sh" start "$cluster")
psql -q -v ON_ERROR_STOP=1 "$uri" <<SQL
CREATE TABLE tabelas(nr int, ini date, fin date);
CREATE TABLE regras(id int PRIMARY KEY, tabela int, prec int, ord int, cargo text, tipo text, ini date, fin date, base text);
CREATE TABLE faixas(regra int, nr int, ini numeric(14,2), fin numeric(14,2), pct numeric(6,2));
\copy tabelas FROM '$work/big/tabelas.csv' WITH (FORMAT csv, HEADER)
\copy regras FROM '$work/big/regras.csv' WITH (FORMAT csv, HEADER)
\copy faixas FROM '$work/big/faixas.csv' WITH (FORMAT csv, HEADER)
CREATE INDEX ON regras(tabela, cargo, tipo);
CREATE INDEX ON faixas(regra, ini);
ANALYZE;
SQL
start=$(now)
psql -q -v ON_ERROR_STOP=1 "$uri" <<SQL
CREATE TABLE vendas(venda text, vendedor text, cargo text, tipo text, dtevento text, dtfechamento text, valor text, loja text);
\copy vendas FROM '$work/big/vendas.csv' WITH (FORMAT csv, DELIMITER ';', HEADER)
CREATE TABLE resultado AS
SELECT v.venda, v.vendedor, v.valor, t.nr AS tabela, x.prec, x.regra, x.faixa, x.pct,
       round(v.vr * x.pct / 100, 2) AS comissao
FROM (SELECT venda, vendedor, cargo, tipo, valor, to_date(dtevento, 'DD/MM/YYYY') AS ev,
             to_date(dtfechamento, 'DD/MM/YYYY') AS fe, replace(replace(valor, '.', ''), ',', '.')::numeric(14,2) AS vr
      FROM vendas) v
LEFT JOIN tabelas t ON v.ev BETWEEN t.ini AND t.fin
LEFT JOIN LATERAL (
  SELECT r.prec, r.id AS regra, f.nr AS faixa, f.pct
  FROM regras r JOIN faixas f ON f.regra = r.id AND v.vr BETWEEN f.ini AND f.fin
  WHERE r.tabela = t.nr AND r.cargo = v.cargo AND (r.prec = 3 OR r.tipo = v.tipo)
    AND (r.prec <> 1 OR (CASE WHEN r.base = 'DATAFECHAMENTO' THEN v.fe ELSE v.ev END) BETWEEN r.ini AND r.fin)
  ORDER BY r.prec, r.ord LIMIT 1) x ON true;
\copy (SELECT * FROM resultado ORDER BY venda::bigint) TO '$work/pg.csv' WITH (FORMAT csv, DELIMITER ';')
SQL
pg_seconds=$(echo "$(now) - $start" | bc)
pg_sum=$(psql -tA "$uri" -c "SELECT coalesce(sum(comissao * 100), 0)::bigint FROM resultado")
echo "postgresql seconds=$pg_seconds sum_cents=$pg_sum"
"$root/scripts/pg_cluster.sh" stop "$cluster" >/dev/null
rm -f "$work/pg.csv"

# DuckDB through its Node package.
(cd "$work/node" && npm install --silent --no-audit --no-fund @duckdb/node-api >/dev/null 2>&1) ||
  { echo "npm install @duckdb/node-api failed" >&2; exit 1; }
cat >"$work/node/run.mjs" <<JS
import { DuckDBInstance } from '@duckdb/node-api';
const dir = '$work/big';
const db = await DuckDBInstance.create(':memory:', { threads: '2' });
const c = await db.connect();
await c.run(\`CREATE TABLE tabelas AS SELECT * FROM read_csv('\${dir}/tabelas.csv', header = true)\`);
await c.run(\`CREATE TABLE regras AS SELECT * FROM read_csv('\${dir}/regras.csv', header = true,
  types = {'tipo': 'VARCHAR', 'ini': 'DATE', 'fin': 'DATE', 'base': 'VARCHAR'})\`);
await c.run(\`CREATE TABLE faixas AS SELECT regra, nr, ini::DECIMAL(14,2) AS ini, fin::DECIMAL(14,2) AS fin,
  pct::DECIMAL(6,2) AS pct FROM read_csv('\${dir}/faixas.csv', header = true, all_varchar = true)\`);
const start = process.hrtime.bigint();
await c.run(\`COPY (
  WITH v AS (
    SELECT row_number() OVER () AS n, venda, vendedor, cargo, tipo, valor,
           strptime(dtevento, '%d/%m/%Y')::DATE AS ev, strptime(dtfechamento, '%d/%m/%Y')::DATE AS fe,
           replace(replace(valor, '.', ''), ',', '.')::DECIMAL(14,2) AS vr
    FROM read_csv('\${dir}/vendas.csv', delim = ';', header = true, all_varchar = true,
                  names = ['venda', 'vendedor', 'cargo', 'tipo', 'dtevento', 'dtfechamento', 'valor', 'loja'])),
  vt AS (SELECT v.*, t.nr AS tabela FROM v LEFT JOIN tabelas t ON v.ev BETWEEN t.ini AND t.fin),
  pago AS (
    SELECT vt.n, r.prec, r.id AS regra, f.nr AS faixa, f.pct, round(vt.vr * f.pct * 0.01, 2) AS comissao
    FROM vt JOIN regras r ON r.tabela = vt.tabela AND r.cargo = vt.cargo AND (r.prec = 3 OR r.tipo = vt.tipo)
         AND (r.prec <> 1 OR (CASE WHEN r.base = 'DATAFECHAMENTO' THEN vt.fe ELSE vt.ev END) BETWEEN r.ini AND r.fin)
    JOIN faixas f ON f.regra = r.id AND vt.vr BETWEEN f.ini AND f.fin
    QUALIFY row_number() OVER (PARTITION BY vt.n ORDER BY r.prec, r.ord) = 1)
  SELECT vt.venda, vt.vendedor, vt.valor, vt.tabela, pago.prec, pago.regra, pago.faixa, pago.pct, pago.comissao
  FROM vt LEFT JOIN pago USING (n) ORDER BY vt.n
) TO '$work/duck.csv' (HEADER, DELIMITER ';')\`);
const seconds = Number(process.hrtime.bigint() - start) / 1e9;
const r = await c.runAndReadAll(\`SELECT coalesce(sum(comissao * 100), 0)::BIGINT AS s FROM read_csv('$work/duck.csv', delim = ';', header = true, types = {'comissao': 'DECIMAL(14,2)'})\`);
console.log(\`duckdb seconds=\${seconds.toFixed(3)} sum_cents=\${r.getRows()[0][0]}\`);
JS
duck=$(cd "$work/node" && node run.mjs)
echo "$duck"

field() { sed -nE "s/.*$1=([-0-9.]+).*/\1/p" <<<"$2"; }
o1=$(field seconds "$ours1"); o2=$(field seconds "$ours2"); f=$(field seconds "$floor"); s1=$(field seconds "$small1")
c1=$(field seconds "$cmp1"); c2=$(field seconds "$cmp2")
d=$(field seconds "$duck")
echo
echo "sums: ours $(field sum_cents "$ours2") (1 thread $(field sum_cents "$ours1"), compared $(field summary_cents "$cmp2")), postgresql $pg_sum, duckdb $(field sum_cents "$duck")"
awk -v c1="$c1" -v c2="$c2" -v o1="$o1" -v o2="$o2" -v f="$f" -v s1="$s1" -v pg="$pg_seconds" -v d="$d" -v n="$n" -v m1="$(field peak_mb "$ours1")" -v m2="$(field peak_mb "$ours2")" 'BEGIN {
  printf "ours, 2 threads: %.2f s; 1 thread: %.2f s; two threads %.2fx one   (target 1.7x)\n", o2, o1, o1 / o2
  printf "compared with a second table: %.2f s at 1 thread = %.2fx the run alone, %.2f s at 2 = %.2fx   (target at most 2.2x)\n", c1, c1 / o1, c2, c2 / o2
  printf "PostgreSQL: %.2f s = %.1fx ours   (target 50x)\n", pg, pg / o2
  printf "DuckDB:     %.2f s = %.1fx ours   (target 5x)\n", d, d / o2
  printf "floor:      %.2f s; ours is %.1fx the floor\n", f, o2 / f
  printf "per sale, 1 thread: %.0f ns at %d, %.0f ns at %d (%.0f%% apart; target 15%%)\n", o1 / n * 1e9, n, s1 / (n / 10) * 1e9, n / 10, (o1 / n / (s1 / (n / 10)) - 1) * 100
  printf "peak resident: %.0f MB (1 thread), %.0f MB (2 threads)   (target under 100 MB)\n", m1, m2
}'
# The same ratios round by round, then their medians.
awk -v n="$n" '
  function median(a, m,   i, j, t) {
    for (i = 2; i <= m; ++i) for (j = i; j > 1 && a[j - 1] > a[j]; --j) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
    return m % 2 ? a[(m + 1) / 2] : (a[m / 2] + a[m / 2 + 1]) / 2
  }
  { ++m; two[m] = $1 / $2; sale[m] = ($1 / n) / ($3 / (n / 10)); cmp[m] = $4 / $1; pair[m] = 2 * $1 / $5 }
  END {
    printf "round by round (%d rounds), medians: two threads %.2fx one (target 1.7x), where two one-thread runs at once did %.2fx;\n", m, median(two, m), median(pair, m)
    printf "  a sale at %d costs %.2f of one at %d (target within 15%%); compared %.2fx the run (target at most 2.2x)\n",
      n, median(sale, m), n / 10, median(cmp, m)
  }' <<<"$per_round"
