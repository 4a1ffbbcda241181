#!/usr/bin/env bash
# The release's source tarball of the last commit, OUT/pavok-VERSION.tar.gz,
# the same bytes whoever makes it, wherever and whenever: git archive takes
# every file's time from the commit and writes the entries in order, owned by
# root; gzip -n leaves out a name and a time. VERSION is CMake's project
# version. Debian's packaging is left out: it goes into the source package's
# own tarball. Prints the tarball's path.
#   tools/release/dist.sh OUT
set -euo pipefail
out=$1
cd "$(dirname "$0")/../.."

changed=$(git status --porcelain --untracked-files=no)
if [ -n "$changed" ]; then
  echo "pavok: the tarball holds the last commit, and these changes are not" \
    "in it; commit or stash them first:" >&2
  echo "$changed" >&2
  exit 1
fi
version=$(sed -n 's/^project(pavok VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
tarball=$out/pavok-$version.tar.gz
mkdir -p "$out"
# The user's own settings could change the modes and line ends.
git -c tar.umask=0022 -c core.autocrlf=false archive --format=tar \
  --prefix="pavok-$version/" HEAD -- . ':!debian' | gzip -9n >"$tarball"
echo "$tarball"
