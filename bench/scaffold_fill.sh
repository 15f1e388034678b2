#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
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

measure() {  # command...: prints "seconds peak_kib"
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/err" ||
    { cat "$work/err" >&2; return 1; }
  tail -n 1 "$work/time"
}
report() {  # name rows seconds peak_kib
  awk -v n="$1" -v r="$2" -v s="$3" -v m="$4" 'BEGIN {
    if (s <= 0) s = 0.01;
    printf "%-30s %8.2f s", n, s;
    if (r > 0) printf " %10.0f rows/s", r / s;
    printf " %8.1f MB peak\n", m / 1024 }'
}

printf '%s records in each of %s tables\n' "$records" "$tables"
for engine in sqlite postgresql; do
  if [ $engine = sqlite ]; then connection=$work/shop.db; else connection=$odbc; fi
  report "scaffold ($engine)" 0 $(measure "$cli" scaffold --connection "$connection" \
    --records "$records" --output "$work/$engine")
  report "plan --format db ($engine)" $((records * tables)) \
    $(measure "$cli" plan "$work/$engine/database.plan" --format db --quiet)
done
