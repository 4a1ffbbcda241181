#!/usr/bin/env bash
# Builds the Debian package of Pavok with CPack into the build directory and
# says what it holds.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}

cpack --config "$BUILD/CPackConfig.cmake" -B "$BUILD" >"$BUILD/cpack.log" 2>&1 || {
  cat "$BUILD/cpack.log" >&2
  exit 1
}
deb=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$BUILD/cpack.log")
[ -f "$deb" ] || { cat "$BUILD/cpack.log" >&2; exit 1; }
echo "pavok: built $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends | sed 's/^/  /'
echo "  install it with: sudo apt install $(realpath "$deb")"
