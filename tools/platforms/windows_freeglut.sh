#!/usr/bin/env bash
# freeglut for Windows, static, into $OUT/freeglut: Debian's own source of it,
# fetched from the Debian archive this machine's apt uses, checked, and built
# with MinGW-w64 through the repository's toolchain file.
# A script rather than a CMake ExternalProject: the fetch is apt's and
# dpkg-source's work, not CMake's, and freeglut built before Pavok is
# configured is found by find_package as any installed library is, with no
# superbuild around Pavok's own CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/../.."
top=$PWD
OUT=$(realpath -m "${OUT:-build-windows}")
JOBS=${JOBS:-2}
prefix=$OUT/freeglut
[ -f "$prefix/COPYING" ] && exit 0

# A private apt configuration with only a deb-src line for the archive the
# machine's apt takes this release's main component from: the machine's own
# sources, lists and cache stay as they were.
apt=$OUT/apt
rm -rf "$apt" "$OUT/freeglut-src" "$OUT/freeglut-build"
mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$OUT/freeglut-src"
. /etc/os-release
# Known from the archive's Release file once apt has read it; before, only
# from the sources' own words.
target() { apt-get indextargets --format '$(REPO_URI)' 'Identifier: Packages' 'Component: main' "$@" | head -n 1; }
uri=$(target 'Origin: Debian' "Codename: $VERSION_CODENAME")
[ -n "$uri" ] || uri=$(target --no-release-info "Release: $VERSION_CODENAME")
[ -n "$uri" ] || { echo "pavok: apt takes no Debian $VERSION_CODENAME main from any archive" >&2; exit 1; }
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $VERSION_CODENAME main" \
  >"$apt/freeglut.list"
opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt"
  -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o APT::Sandbox::User=root)
apt-get "${opts[@]}" update -qq
(cd "$OUT/freeglut-src" && apt-get "${opts[@]}" source --download-only -qq freeglut)

# dpkg-source checks the .dsc's signature against the Debian keyrings (its
# maintainers' in debian-keyring, the archive's own) and the tarballs against
# the .dsc's checksums; --require-valid-signature makes a bad or unknown one
# fatal rather than a warning. The .dsc itself came through apt, whose Sources
# index is signed by the archive.
dpkg-source --require-valid-signature -x "$OUT"/freeglut-src/freeglut_*.dsc "$OUT/freeglut-src/freeglut"

# Only the library: no demos, no shared copy, no GLES.
cmake -S "$OUT/freeglut-src/freeglut" -B "$OUT/freeglut-build" \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON \
  -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_GLES=OFF >/dev/null
cmake --build "$OUT/freeglut-build" -j "$JOBS" >/dev/null
cmake --install "$OUT/freeglut-build" >/dev/null
cp "$OUT/freeglut-src/freeglut/COPYING" "$prefix/COPYING"
