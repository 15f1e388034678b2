#!/usr/bin/env bash
# Runs the README's "A first run" exactly as written, twice (the second run replaces what the
# first wrote), in a scratch folder that sees the project through links and shares its build
# folder, so the Release build it asks for is the project's own.
#
#   tests/cli/readme_first_run.sh PROJECT_DIR
set -euo pipefail
project=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$project/build"
for entry in "$project"/*; do
  ln -s "$entry" "$scratch/$(basename "$entry")"
done
# The indented block under the heading, up to the first line that is not part of it.
awk '/^## A first run/ { on = 1; next }
     on && /^[^ ]/ && NF { exit }
     on && sub(/^    /, "") { print }' "$project/README.md" > "$scratch/first-run.sh"
[ -s "$scratch/first-run.sh" ] || { echo "readme_first_run: no block found" >&2; exit 1; }
cd "$scratch"
for round in 1 2; do
  bash -euo pipefail first-run.sh > "run$round.out" 2> "run$round.err" || {
    echo "readme_first_run: round $round failed:" >&2
    tail -n 20 "run$round.err" >&2
    exit 1
  }
done
for f in people.json people.model people.xml orders.xml; do
  [ -s "$f" ] || { echo "readme_first_run: $f was not written" >&2; exit 1; }
done
echo "readme_first_run: $(grep -c . first-run.sh) lines ran twice"
