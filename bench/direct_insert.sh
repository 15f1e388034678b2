#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Direct insert throughput beside each database's own bulk loader, on the same rows:
# kelvast-cli --format db into PostgreSQL (through COPY) against psql's \copy of the CSV that
# kelvast-cli writes with the same seed, with 1% of the rows failing a CHECK as well; and into an
# SQLite file against sqlite3's .import of that CSV. Prints seconds, rows per second and peak
# memory, and the ratios. Starts a throwaway PostgreSQL server of its own (scripts/test-postgres).
#
#   bench/direct_insert.sh [CLI] [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."

cli=$(realpath "${1:-build/bench/bin/kelvast-cli}")
records=${2:-${BENCH_RECORDS:-1000000}}
work=$(mktemp -d)
chmod 755 "$work"
state=$work/pg
trap 'scripts/test-postgres clean "$state" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

scripts/test-postgres start "$state" >/dev/null 2>&1
odbc=$(cat "$state/connection")
port=$(sed -n 's/.*Port=\([0-9]*\).*/\1/p' <<<"$odbc")
psql_=(psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U postgres -d kelvast_test)
columns="id integer, first_name text, last_name text, email text, quantity integer, price real,
         signup_date text, city text, zip text, code text"

# Runs a command, prints "seconds peak_kib"; allow_fail=1 accepts an exit status of 1 (rows
# failed).
measure() {
  local status=0
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/err" || status=$?
  [ "$status" -eq 0 ] || { [ "${allow_fail:-0}" = 1 ] && [ "$status" -eq 1 ]; } || {
    cat "$work/err" >&2
    return 1
  }
  tail -n 1 "$work/time"
}
report() {  # name seconds peak_kib
  awk -v n="$1" -v s="$2" -v m="$3" -v r="$records" 'BEGIN {
    if (s <= 0) s = 0.01;
    printf "%-36s %8.2f s %12.0f rows/s %8.1f MB peak\n", n, s, r / s, m / 1024 }'
}
ratio() { awk -v a="$2" -v b="$3" -v n="$1" 'BEGIN { printf "ratio %s: %.2f\n", n, b / a }'; }

"$cli" run examples/people.model --format csv --records "$records" --seed 7 \
  --encoding utf-8 --output "$work/people.csv" --yes --quiet
printf '%s records of examples/people\n' "$records"

pg_table() {  # [check]
  "${psql_[@]}" -c "SET client_min_messages = warning; DROP TABLE IF EXISTS people" -c "CREATE TABLE people ($columns $1)"
}
kelvast_db() {  # connection [more options]
  local connection=$1
  shift
  measure "$cli" run examples/people.model --format db --connection "$connection" \
    --records "$records" --seed 7 --yes --quiet "$@"
}

pg_table ""
copy=$(measure "${psql_[@]}" -c "\\copy people from '$work/people.csv' csv header")
report "psql \\copy" $copy
pg_table ""
direct=$(kelvast_db "$odbc")
report "kelvast-cli --format db (PostgreSQL)" $direct
ratio "PostgreSQL direct insert to \\copy" "${direct%% *}" "${copy%% *}"
pg_table ", CHECK (id % 100 <> 0)"
failing=$(allow_fail=1 kelvast_db "$odbc" --on-errors commit --errors-file "$work/errors.txt")
report "kelvast-cli, 1% failing (PostgreSQL)" $failing
ratio "1% failing to \\copy" "${failing%% *}" "${copy%% *}"
echo "rows kept: $("${psql_[@]}" -t -A -c 'SELECT COUNT(*) FROM people')"

db=$work/people.db
sqlite_table() { rm -f "$db"; sqlite3 "$db" "CREATE TABLE people ($columns)"; }
sqlite_table
import=$(measure sqlite3 "$db" ".import --csv --skip 1 $work/people.csv people")
report "sqlite3 .import" $import
sqlite_table
direct=$(kelvast_db "$db")
report "kelvast-cli --format db (SQLite)" $direct
ratio "SQLite direct insert to .import" "${direct%% *}" "${import%% *}"
