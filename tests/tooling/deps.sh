#!/usr/bin/env bash
# Without dpkg and apt, as beyond Debian, what the build needs is judged by
# what it finds: with everything there the check passes; with three programs
# gone, one from a group's last line, it stops naming just those, and their
# Debian packages as an example.
# deps.sh INSTALL-DEPS (the groups make test installs)
set -uo pipefail
deps=$1
farm=$(mktemp -d)
trap 'rm -rf "$farm"' EXIT
IFS=: read -ra dirs <<<"$PATH"
for ((i = ${#dirs[@]} - 1; i >= 0; i--)); do  # the first folder on PATH wins
  [ -d "${dirs[i]}" ] && ln -sf "${dirs[i]}"/* "$farm/" 2>/dev/null
done
rm -f "$farm"/{dpkg,dpkg-query,apt,apt-get}
status=0
out=$(PATH=$farm bash "$deps" build test bench 2>&1) ||
  { echo "$out"; echo "FAIL: with everything there and no dpkg or apt, the check stopped" >&2; status=1; }
rm "$farm"/{xdotool,Xvfb,dot}  # dot from the last line of the test group
out=$(PATH=$farm bash "$deps" build test bench 2>&1) && { echo "FAIL: the check passed without xdotool, Xvfb, dot" >&2; status=1; }
echo "$out"
[ "$(sed -n 1p <<<"$out")" = "pavok: missing: dot, xdotool, Xvfb" ] || { echo "FAIL: not the missing programs named" >&2; status=1; }
grep -q "on Debian these come with: graphviz xdotool xvfb)" <<<"$out" || { echo "FAIL: not their Debian packages named" >&2; status=1; }
exit $status
