#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a DESTDIR under /usr and runs the installed kelvast-cli on an example
# from a folder that holds no Dict: the word lists must be found under share/kelvast. Then builds
# the Debian package of the same build with cpack and holds it to lintian: no error, no warning.
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
         usr/share/man/man1/kelvast-cli.1.gz usr/share/bash-completion/completions/kelvast-cli \
         usr/share/zsh/vendor-completions/_kelvast-cli usr/share/doc/kelvast/copyright \
         usr/share/doc/kelvast/changelog.gz; do
  [ -f "$root/$f" ] || fail "$f is not installed"
done
if [ -f "$build/bin/kelvast" ]; then
  for f in usr/bin/kelvast usr/share/applications/kelvast.desktop \
           usr/share/icons/hicolor/scalable/apps/kelvast.svg usr/share/doc/kelvast/help/index.html \
           usr/share/doc/kelvast/help/style.css usr/share/man/man1/kelvast.1.gz \
           usr/share/mime/packages/kelvast.xml; do
    [ -f "$root/$f" ] || fail "$f is not installed"
  done
  # Help and version need no display.
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/kelvast" --help |
    grep -q "Usage: kelvast \[FILE\]" || fail "kelvast --help needs a display"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/kelvast" --version |
    grep -q "^kelvast [0-9]" || fail "kelvast --version needs a display"
  grep -q "^Exec=kelvast %f$" "$root/usr/share/applications/kelvast.desktop" ||
    fail "the desktop entry passes no file"
  if command -v xmllint >/dev/null; then
    xmllint --noout "$root/usr/share/mime/packages/kelvast.xml" || fail "the MIME package is not XML"
  fi
  # A model is a model, not a JPEG XL image (both start with FF 0A), by its name and by its bytes.
  if command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
    mkdir -p "$root/mime-home/mime/packages"
    cp "$root/usr/share/mime/packages/kelvast.xml" "$root/mime-home/mime/packages/"
    update-mime-database "$root/mime-home/mime" 2>/dev/null
    cp "$examples/people.model" "$root/model-without-extension"
    for f in "$examples/people.model:application/x-kelvast-model" \
             "$root/model-without-extension:application/x-kelvast-model" \
             "$examples/examples.plan:application/x-kelvast-plan"; do
      type=$(XDG_DATA_HOME=$root/mime-home gio info -a standard::content-type "${f%:*}" |
             sed -n 's/.*standard::content-type: //p')
      [ "$type" = "${f##*:}" ] || fail "$(basename "${f%:*}") is taken for $type"
    done
  fi
fi
# The manual page renders without a complaint, and the completion loads in bash.
if command -v man >/dev/null; then
  warnings=$(MANWIDTH=100 man --warnings -l "$root/usr/share/man/man1/kelvast-cli.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man page warnings: $warnings"
fi
bash -c ". '$root/usr/share/bash-completion/completions/kelvast-cli' && complete -p kelvast-cli" \
  >/dev/null || fail "the bash completion does not load"
[ "$(ls "$root/usr/share/kelvast/Dict"/*.txt | wc -l)" -eq 12 ] || fail "not all twelve word lists"

mkdir "$root/work"
cd "$root/work"
"$root/usr/bin/kelvast-cli" run "$examples/people.model" --format csv --records 100 --seed 1 \
  --output people --yes --quiet
[ "$(wc -l < people.csv)" -eq 101 ] || fail "the installed program wrote $(wc -l < people.csv) lines"
echo "install_test: installed under $root/usr and ran from $root/work"

# The package of this build, as `make package` makes it of the Release build.
if command -v lintian >/dev/null && command -v cpack >/dev/null; then
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$root/package" >/dev/null ||
    fail "cpack could not build the package"
  deb=$(ls "$root/package"/kelvast_*.deb)
  # Tags of errors and warnings fail; informational ones are printed.
  lintian --fail-on error,warning "$deb" ||
    fail "lintian reports errors or warnings on $(basename "$deb")"
  echo "install_test: lintian accepts $(basename "$deb")"
fi
