#!/usr/bin/env bash
# Installs the build into a DESTDIR under /usr and runs the installed kelvast-cli on an example
# from a folder that holds no Dict: the word lists must be found under share/kelvast.
#
#   tests/cli/install_test.sh BUILD_DIR EXAMPLES_DIR
set -euo pipefail
build=$1
examples=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "install_test: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
for f in usr/bin/kelvast-cli usr/share/kelvast/Dict/BoynamesUSA.txt usr/share/kelvast/Dict/NOTICE \
         usr/share/man/man1/kelvast-cli.1 usr/share/bash-completion/completions/kelvast-cli; do
  [ -f "$root/$f" ] || fail "$f is not installed"
done
if [ -f "$build/bin/kelvast" ]; then
  for f in usr/bin/kelvast usr/share/applications/kelvast.desktop \
           usr/share/icons/hicolor/scalable/apps/kelvast.svg usr/share/doc/kelvast/help/index.html \
           usr/share/doc/kelvast/help/style.css; do
    [ -f "$root/$f" ] || fail "$f is not installed"
  done
fi
[ "$(ls "$root/usr/share/kelvast/Dict"/*.txt | wc -l)" -eq 12 ] || fail "not all twelve word lists"

mkdir "$root/work"
cd "$root/work"
"$root/usr/bin/kelvast-cli" run "$examples/people.model" --format csv --records 100 --seed 1 \
  --output people --yes --quiet
[ "$(wc -l < people.csv)" -eq 101 ] || fail "the installed program wrote $(wc -l < people.csv) lines"
echo "install_test: installed under $root/usr and ran from $root/work"
