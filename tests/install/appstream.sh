#!/usr/bin/env bash
# appstream.sh validate FILE | validate-tree DIR: appstreamcli, strict, letting
# pass only the two issues this project cannot mend, each as the one line the
# validator gives it:
# - Pavok has no homepage, so its metainfo names none: AppStream 1.0 warns
#   url-homepage-missing (0.16 does not look for one);
# - AppStream 0.16 does not know <developer>, which 1.0 asks for in place of
#   the <developer_name> it deprecates: 0.16 calls it an unknown tag.
# Any other issue, or a failure without an issue line, fails with the report.
# validate --strict came with AppStream 0.15.4 (its NEWS: "validator: Add strict
# mode"); before, as with Debian 11's 0.14, only the plain validation can fail,
# and the test ends skipped (status 77), saying so in a line "SKIPPED: REASON".
set -uo pipefail
version=$(appstreamcli --version | grep -oE '[0-9]+(\.[0-9]+)+$' | head -n 1)
[ -n "$version" ] || { echo "FAIL: appstreamcli gave no version" >&2; exit 1; }
if dpkg --compare-versions "$version" lt 0.15.4; then
  out=$(appstreamcli "$1" --no-net "$2" 2>&1) || { echo "$out"; exit 1; }
  echo "SKIPPED: appstreamcli $version has no validate --strict (from 0.15.4 on)"
  exit 77
fi
out=$(appstreamcli "$1" --no-net --strict "$2" 2>&1) && exit 0
issues=$(grep -E '^ *[EWIP]: ' <<<"$out")
rest=$(grep -Ev '^ *W: [^ ]+:~: url-homepage-missing$|^ *I: [^ ]+:[0-9]+: unknown-tag developer$' <<<"$issues")
[ -n "$issues" ] && [ -z "$rest" ] && exit 0
echo "$out"
exit 1
