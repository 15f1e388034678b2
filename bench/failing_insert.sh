#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What failures cost a direct insert: RECORDS rows that all fail a CHECK, inserted with
# --on-errors commit (and once more with --errors-file, which gets every failure), into an SQLite
# file and into PostgreSQL; then an SQLite file made read-only by a read-only mount (when this
# runs as root) and the same number of rows, which must end at the first one. Prints seconds,
# peak memory (the process's maximum resident set) and the failures counted. Memory must stay
# far below what a million failures' messages would take (64 MB).
#
#   bench/failing_insert.sh [CLI] [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."

cli=$(realpath "${1:-build/bench/bin/kelvast-cli}")
records=${2:-${BENCH_RECORDS:-1000000}}
work=$(mktemp -d)
chmod 755 "$work"
state=$work/pg
cleanup() {
  mountpoint -q "$work/ro" 2>/dev/null && umount "$work/ro"
  scripts/test-postgres clean "$state" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

scripts/test-postgres start "$state" >/dev/null 2>&1
odbc=$(cat "$state/connection")
port=$(sed -n 's/.*Port=\([0-9]*\).*/\1/p' <<<"$odbc")
psql_=(psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U postgres -d kelvast_test)
columns="id integer CHECK (id < 0), first_name text, last_name text, email text, quantity integer,
         price real, signup_date text, city text, zip text, code text"

# Runs kelvast-cli (exit status 1: rows failed); prints "seconds peak_kib status".
measure() {
  local status=0
  /usr/bin/time -f "%e %M" -o "$work/time" "$cli" "$@" >/dev/null 2>"$work/err" || status=$?
  [ "$status" -le 1 ] || { cat "$work/err" >&2; return 1; }
  echo "$(tail -n 1 "$work/time") $status"
}
report() {  # name seconds peak_kib status
  local failed
  failed=$(grep -o '[0-9]* failed statements' "$work/err" | tail -n 1 || true)
  [ -n "$failed" ] || failed=$(grep -m1 -o 'The insert stopped at statement [0-9]* of [0-9]*' \
                                 "$work/err" || { echo "exit $4:"; head -n 1 "$work/err"; })
  awk -v n="$1" -v s="$2" -v m="$3" -v f="$failed" 'BEGIN {
    printf "%-44s %8.2f s %8.1f MB peak   %s\n", n, s, m / 1024, f }'
}
run_db() {  # name connection [more options]
  local name=$1 connection=$2
  shift 2
  # shellcheck disable=SC2046
  report "$name" $(measure run examples/people.model --format db --connection "$connection" \
    --records "$records" --seed 7 --yes --on-errors commit "$@")
}

printf '%s records of examples/people, every one failing a CHECK\n' "$records"
sqlite3 "$work/fail.db" "CREATE TABLE people ($columns)"
run_db "SQLite, failures on stderr" "$work/fail.db"
run_db "SQLite, --errors-file" "$work/fail.db" --errors-file "$work/errors.txt"
printf '%-44s %s lines\n' "  the errors file" "$(wc -l <"$work/errors.txt")"

"${psql_[@]}" -c "CREATE TABLE people ($columns)"
run_db "PostgreSQL (COPY), failures on stderr" "$odbc"
run_db "PostgreSQL (COPY), --errors-file" "$odbc" --errors-file "$work/errors.txt"
printf '%-44s %s lines\n' "  the errors file" "$(wc -l <"$work/errors.txt")"

mkdir "$work/ro"
if mount -t tmpfs -o size=8m tmpfs "$work/ro" 2>/dev/null; then
  sqlite3 "$work/ro/ro.db" "CREATE TABLE people (${columns/CHECK (id < 0)/})"
  mount -o remount,ro "$work/ro"
  run_db "SQLite on a read-only mount" "$work/ro/ro.db"
  grep -m1 'kelvast-cli:' "$work/err"
else
  echo "SQLite on a read-only mount: skipped (mounting is not permitted)"
fi
