#!/usr/bin/env bash
# `cmake --install` into a staging prefix: the program, its desktop entry and
# icon, its AppStream metadata and its manual page land where they belong, and
# each is valid. Where a validator is too old for its whole check, the rest is
# checked and the test ends skipped, with its reason.
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$stage" >/dev/null

app=io.github.pavok.pavok
bin=$stage/bin/pavok
desktop=$stage/share/applications/$app.desktop
metainfo=$stage/share/metainfo/$app.metainfo.xml
man=$stage/share/man/man6/pavok.6
[ -x "$bin" ] || fail "bin/pavok is missing or not executable"
cmp -s "$bin" "$build/pavok" || fail "bin/pavok is not the program that was built"
for f in "$desktop" "$metainfo" "$man"; do
  [ -f "$f" ] || fail "${f#"$stage"/} is missing"
done

out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx 'Exec=pavok' "$desktop" || fail "the desktop entry does not start the installed pavok"
grep -qx 'Name=Pavok' "$desktop" || fail "the desktop entry is not named Pavok"
# The icon the entry names, where the hicolor theme looks for it.
grep -qx 'Icon=pavok' "$desktop" || fail "the desktop entry names no icon pavok"
icons=$stage/share/icons/hicolor
for size in 48 64 128 256; do
  file -b "$icons/${size}x$size/apps/pavok.png" | grep -q "^PNG image data, $size x $size," ||
    fail "share/icons/hicolor/${size}x$size/apps/pavok.png is missing or not $size x $size"
done
file -b "$icons/scalable/apps/pavok.svg" | grep -q '^SVG' || fail "share/icons/hicolor/scalable/apps/pavok.svg is missing"

skipped=$(bash "$(dirname "$0")/appstream.sh" validate "$metainfo" 2>&1) ||
  [ $? -eq 77 ] || fail "appstreamcli: $skipped"
grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not name $app.desktop as its launchable"

out=$(groff -ww -z -man "$man" 2>&1) || fail "groff: $out"
[ -z "$out" ] || fail "groff warns about the manual page: $out"
grep -q '^\.TH PAVOK 6 ' "$man" || fail "the manual page is not pavok(6)"
echo "installed: bin/pavok, $app.desktop, its icons, $app.metainfo.xml, pavok.6"
grep '^SKIPPED: ' <<<"$skipped" && exit 77 || exit 0
