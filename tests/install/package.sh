#!/usr/bin/env bash
# The Debian package: built with CPack, clean for lintian, installed with dpkg,
# its files checked where the desktop and AppStream look for them, its
# /usr/bin/pavok started until its window shows, then removed. Installing needs
# root; without it the test returns 77 (skipped) after lintian.
set -uo pipefail
source "$(dirname "$0")/skip.sh"
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
app=io.github.pavok.pavok
doc=/usr/share/doc/pavok
icons=/usr/share/icons/hicolor
files=(/usr/bin/pavok /usr/share/applications/$app.desktop /usr/share/metainfo/$app.metainfo.xml
  /usr/share/man/man6/pavok.6.gz $doc/copyright $doc/changelog.gz $icons/scalable/apps/pavok.svg
  $icons/48x48/apps/pavok.png $icons/256x256/apps/pavok.png)

work=$(mktemp -d)
installed=0
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; [ "$installed" -eq 1 ] && dpkg -r pavok >/dev/null 2>&1; rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/pavok_*.deb 2>/dev/null)
[ -f "$deb" ] || fail "cpack made no pavok_*.deb, or more than one"

[ "$(dpkg-deb --field "$deb" Package)" = pavok ] || fail "the package is not named pavok"
depends=$(dpkg-deb --field "$deb" Depends)
# freeglut's library is freeglut3 up to Debian 11, libglut3.12 from 12 on.
for lib in 'libglut|freeglut3' libglu libgl1; do
  grep -qE "$lib" <<<"$depends" || fail "the package does not depend on $lib: Depends: $depends"
done
[ -n "$(dpkg-deb --field "$deb" Maintainer)" ] || fail "the package has no maintainer"
echo "$(basename "$deb"): Depends: $depends"
# A check whose tool is too old here (Debian 11's) makes only its plain check,
# and the test ends skipped with the reasons its script gave.
tool() {
  part "$@" || fail "$1: $out"
  grep -v "^SKIPPED: " <<<"$out" | tail -n 1
}
tool lintian.sh "$deb"

[ "$(id -u)" -eq 0 ] || skip "installing the package with dpkg -i needs root; run the tests as root to include this one"
if dpkg-query -W -f='${Status}' pavok 2>/dev/null | grep -q 'install ok installed'; then
  skip "a pavok package is already installed on this machine; it is left alone"
fi
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY: run the tests through scripts/test.sh (make test)"

dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$work/dpkg.log")"
installed=1
for f in "${files[@]}"; do
  dpkg -L pavok | grep -qx "$f" || fail "the package does not own $f"
  [ -e "$f" ] || fail "$f is missing after dpkg -i"
done
version=$(dpkg-deb --field "$deb" Version)
metainfo=/usr/share/metainfo/$app.metainfo.xml
tool appstream.sh validate "$metainfo"
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
[ "$launchable" = "$app.desktop" ] || fail "the metainfo launches '$launchable', not the installed $app.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
grep -qx 'Icon=pavok' /usr/share/applications/$app.desktop || fail "the desktop entry names no icon pavok"
first=$(zcat $doc/changelog.gz | head -1)
[ "$first" = "pavok ($version) unstable; urgency=medium" ] || fail "the changelog does not begin with $version: $first"
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' $doc/copyright &&
  grep -qx 'Copyright: 2026 The Pavok developers' $doc/copyright && grep -qx 'License: Expat' $doc/copyright ||
  fail "$doc/copyright is not a machine-readable copyright file: 2026 The Pavok developers, Expat (MIT)"
out=$(man --warnings=w -l -Tutf8 /usr/share/man/man6/pavok.6.gz 2>&1 >/dev/null) || fail "man -l: $out"
[ -z "$out" ] || fail "man -l warns about the manual page: $out"

# The program's own two options need no display.
out=$(env -u DISPLAY /usr/bin/pavok --version 2>&1)
[ "$out" = "pavok $version" ] || fail "pavok --version without a display: $out"
env -u DISPLAY /usr/bin/pavok --help 2>&1 | grep -q '^Usage: pavok ' || fail "pavok --help without a display failed"

# Windows named Pavok already on the display are not ours.
before=$(xdotool search --name '^Pavok$' 2>/dev/null | sort)
/usr/bin/pavok &
pid=$!
wid=""
for _ in $(seq 200); do
  kill -0 "$pid" 2>/dev/null || fail "/usr/bin/pavok ended before showing its window"
  wid=$(comm -13 <(echo "$before") <(xdotool search --name '^Pavok$' 2>/dev/null | sort) | head -1)
  [ -n "$wid" ] && break
  sleep 0.1
done
[ -n "$wid" ] || fail "/usr/bin/pavok showed no window named Pavok within 20 s"
size=$(xwininfo -id "$wid" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')
echo "/usr/bin/pavok: window $wid, $size"
kill "$pid"
wait "$pid" 2>/dev/null
pid=""

dpkg -r pavok >"$work/dpkg.log" 2>&1 || fail "dpkg -r: $(cat "$work/dpkg.log")"
installed=0
for f in "${files[@]}"; do
  [ ! -e "$f" ] || fail "$f is still there after dpkg -r"
done
echo "installed, started and removed"
finish
