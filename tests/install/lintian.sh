#!/usr/bin/env bash
# lintian.sh DEB: lintian finds no error and no warning in the package, nor
# AppStream in the tree it installs. Exit status 77 (with the reasons) says a
# tool was too old for its whole check and made only the plain one.
set -uo pipefail
source "$(dirname "$0")/skip.sh"
deb=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
# Lintian 2.122 runs appstreamcli validate-tree on the package and reports any
# issue as this one tag (2.116 knows no such tag). The package has no homepage to
# name, which AppStream 1.0 warns about: the tree is validated here instead,
# letting pass only that issue.
dpkg-deb -x "$deb" "$tree"
part appstream.sh validate-tree "$tree" || { echo "$out"; exit 1; }
quiet=()
lintian-explain-tags appstream-metadata-validation-failed >/dev/null 2>&1 &&
  quiet=(--suppress-tags appstream-metadata-validation-failed)
# The overrides name the file in brackets, as lintian does from 2.115 on.
version=$(lintian --print-version)
if older "$version" 2.115; then
  lintian --fail-on error "${quiet[@]}" "$deb" || exit 1
  defer "lintian $version cannot match the overrides' [file] context, so its warnings are not checked"
else
  lintian --fail-on error,warning "${quiet[@]}" "$deb" || exit 1
  echo "lintian: no error, no warning"
fi
finish
