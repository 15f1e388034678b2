#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The run in the window against the command line: bench_gui_run clicks the Generation tab's
# "Go !" on examples/people.model (offscreen), kelvast-cli runs the same model for the same record
# count, both to CSV. Runs alternate and the best of each is kept, since the machines are shared
# and noisy; the ratio GUI/CLI is what the window's progress and event processing cost.
#
#   bench/gui_vs_cli.sh [BIN_DIR] [RECORDS] [REPEATS]
set -euo pipefail
cd "$(dirname "$0")/.."

bin=${1:-build/bench/bin}
records=${2:-1000000}
repeats=${3:-3}
model=examples/people.model
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

gui_seconds() {
  QT_QPA_PLATFORM=offscreen "$bin/bench_gui_run" "$model" "$records" | awk '{ print $4 }'
}

cli_seconds() {
  local start end
  start=$(date +%s.%N)
  "$bin/kelvast-cli" run "$model" --format csv --records "$records" --output "$work/cli" --yes \
    --quiet >/dev/null
  end=$(date +%s.%N)
  rm -f "$work/cli.csv"
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}

min() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'; }

gui="" cli=""
for _ in $(seq "$repeats"); do
  gui=$(min "$gui" "$(gui_seconds)")
  cli=$(min "$cli" "$(cli_seconds)")
done
awk -v g="$gui" -v c="$cli" -v r="$records" -v n="$repeats" 'BEGIN {
  printf "%s records of examples/people to CSV, best of %d\n", r, n
  printf "%-22s %8.3f s %12.0f records/s\n", "kelvast window (Go !)", g, r / g
  printf "%-22s %8.3f s %12.0f records/s\n", "kelvast-cli", c, r / c
  printf "ratio GUI/CLI: %.3f (target <= 1.10)\n", g / c }'
