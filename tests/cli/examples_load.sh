#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Loads what kelvast-cli writes for each example into the databases people load it into: the SQL
# script through psql and sqlite3, the CSV through psql's \copy (piped straight from
# `--output -`) and sqlite3's .import. Every example must load whole, twice in a row: the script
# in its transaction the first time, without it (--no-transaction) the second.
#
#   tests/cli/examples_load.sh KELVAST_CLI PG_STATE_DIR EXAMPLES_DIR
set -euo pipefail
cli=$1
state=$2
examples=$3
# shellcheck disable=SC1091
. "$state/state"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

db=kelvast_examples_$$
psql() { "$PGBIN/psql" -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$PGPORT" -U postgres "$@"; }
psql -d postgres -c "CREATE DATABASE $db"
trap 'psql -d postgres -c "DROP DATABASE IF EXISTS $db WITH (FORCE)" >/dev/null; rm -rf "$work"' EXIT
pg() { psql -d "$db" "$@"; }

# Column references of the all-types example read the customers table.
pg -c "CREATE TABLE customers (name text); INSERT INTO customers VALUES ('Ada'), ('Linus')"
sqlite3 refs.db "CREATE TABLE customers (name text); INSERT INTO customers VALUES ('Ada'), ('Linus');"
pgconn=$(cat "$state/connection" | sed "s/Database=[^;]*/Database=$db/")

fail() { echo "examples_load: $*" >&2; exit 1; }

for example in people orders all-types; do
  model=$examples/$example.model
  records=300
  args=(--records "$records" --seed 3 --encoding utf-8 --quiet)
  [ "$example" = all-types ] && args+=(--connection "$work/refs.db")
  # The table: every written column as text, named from the CSV's title line.
  "$cli" run "$model" --format csv --output "$work/$example" --yes "${args[@]}"
  header=$(head -n 1 "$example.csv" | tr -d '\r')
  columns=$(echo "$header" | sed 's/,/ text, /g; s/$/ text/')
  table=$("$cli" show "$model" | sed -n 's/^Table: //p')
  pg -c "CREATE TABLE \"$table\" ($columns)"
  sqlite3 "$example.db" "CREATE TABLE \"$table\" ($columns)"

  for round in 1 2; do
    # SQL: the script as written, run by psql and sqlite3.
    transaction=()
    [ "$round" = 2 ] && transaction=(--no-transaction)
    "$cli" run "$model" --format sql --output "$work/$example" --yes "${args[@]}" "${transaction[@]}"
    begins=$(grep -c -x -e $'BEGIN;\r' -e $'COMMIT;\r' "$example.sql" || true)
    [ "$begins" = $((round == 1 ? 2 : 0)) ] || fail "$example: round $round has $begins BEGIN;/COMMIT; lines"
    pg -f "$example.sql" >/dev/null
    sqlite3 "$example.db" < "$example.sql"
    # CSV: piped from standard output into \copy; imported by sqlite3.
    "$cli" run "$model" --format csv --output - "${args[@]}" |
      pg -c "\\copy \"$table\" from stdin csv header"
    "$cli" run "$model" --format csv --output "$work/$example" --yes "${args[@]}"
    sqlite3 "$example.db" ".import --csv --skip 1 $example.csv $table"
  done
  expected=$((4 * records))
  got=$(pg -t -A -c "SELECT COUNT(*) FROM \"$table\"")
  [ "$got" = "$expected" ] || fail "$example: PostgreSQL holds $got rows, not $expected"
  got=$(sqlite3 "$example.db" "SELECT COUNT(*) FROM \"$table\"")
  [ "$got" = "$expected" ] || fail "$example: sqlite3 holds $got rows, not $expected"
  echo "examples_load: $example loaded: $expected rows in PostgreSQL and in SQLite"
done
