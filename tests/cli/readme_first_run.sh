#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the README's "A first run" exactly as written, twice (the second run replaces what the
# first wrote), in the project folder as a new user would, so the Release build it asks for is
# the project's own. The files it leaves in the project folder are removed afterwards (and any
# that were there before are put back).
#
#   tests/cli/readme_first_run.sh PROJECT_DIR
set -euo pipefail
project=$(cd "$1" && pwd)
scratch=$(mktemp -d)
written=(people.json people.model people.xml orders.xml)
restore() {
  for f in "${written[@]}"; do
    rm -f "$project/$f"
    [ -e "$scratch/kept/$f" ] && mv "$scratch/kept/$f" "$project/$f"
  done
  rm -rf "$scratch"
}
mkdir "$scratch/kept"
for f in "${written[@]}"; do [ -e "$project/$f" ] && mv "$project/$f" "$scratch/kept/$f"; done
trap restore EXIT

# The indented block under the heading, up to the first line that is not part of it.
awk '/^## A first run/ { on = 1; next }
     on && /^[^ ]/ && NF { exit }
     on && sub(/^    /, "") { print }' "$project/README.md" > "$scratch/first-run.sh"
[ -s "$scratch/first-run.sh" ] || { echo "readme_first_run: no block found" >&2; exit 1; }
cd "$project"
for round in 1 2; do
  bash -euo pipefail "$scratch/first-run.sh" > "$scratch/run$round.out" 2> "$scratch/run$round.err" || {
    echo "readme_first_run: round $round failed:" >&2
    tail -n 20 "$scratch/run$round.err" >&2
    exit 1
  }
done
for f in "${written[@]}"; do
  [ -s "$f" ] || { echo "readme_first_run: $f was not written" >&2; exit 1; }
done
echo "readme_first_run: $(grep -c . "$scratch/first-run.sh") lines ran twice"
