#!/usr/bin/env bash
# A whole schema filled from its live catalogue: kelvast-cli scaffold on the shop fixture (five
# tables: single and composite keys, an employee's manager, nullable and NOT NULL foreign keys,
# a unique index), then plan --format db, into an SQLite file and into a throwaway PostgreSQL
# server (scripts/test-postgres). Prints the seconds and rows per second of the whole fill (every
# table's rows together) and of the scaffold itself.
#
#   bench/scaffold_fill.sh [CLI] [RECORDS_PER_TABLE]
set -euo pipefail
cd "$(dirname "$0")/.."

cli=$(realpath "${1:-build/bench/bin/kelvast-cli}")
records=${2:-${BENCH_RECORDS:-200000}}
tables=5
work=$(mktemp -d)
chmod 755 "$work"
state=$work/pg
trap 'scripts/test-postgres clean "$state" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

scripts/test-postgres start "$state" >/dev/null 2>&1
odbc=$(cat "$state/connection")
port=$(sed -n 's/.*Port=\([0-9]*\).*/\1/p' <<<"$odbc")
psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U postgres -d kelvast_test \
  -f tests/data/scaffold/shop_schema_pg.sql
sqlite3 "$work/shop.db" < tests/data/scaffold/shop_schema_sqlite.sql

seconds() {  # command...: prints the wall seconds it took
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>"$work/err" || { cat "$work/err" >&2; return 1; }
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }'
}
report() {  # name seconds rows
  awk -v n="$1" -v s="$2" -v r="$3" 'BEGIN {
    if (s <= 0) s = 0.01;
    printf "%-34s %8.2f s %12.0f rows/s\n", n, s, r / s }'
}

printf '%s records in each of %s tables\n' "$records" "$tables"
for engine in sqlite postgresql; do
  if [ $engine = sqlite ]; then connection=$work/shop.db; else connection=$odbc; fi
  s=$(seconds "$cli" scaffold --connection "$connection" --records "$records" --output "$work/$engine")
  report "scaffold ($engine)" "$s" 0 | sed 's/ *0 rows\/s//'
  s=$(seconds "$cli" plan "$work/$engine/database.plan" --format db --quiet)
  report "plan --format db ($engine)" "$s" $((records * tables))
done
