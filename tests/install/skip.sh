#!/usr/bin/env bash
# How an install test says that it could not make its whole check here: each
# reason once, as a line "SKIPPED: REASON", and exit status 77, the
# SKIP_RETURN_CODE its ctest entry names. A check is left out only where a tool's
# version is known to lack what it needs, compared as a version. Sourced by the
# install scripts:
#   older HAVE NEED      HAVE is an earlier version than NEED (Debian's ordering);
#                        a HAVE that is no version fails the test
#   defer REASON         a part was left out; the test goes on, and `finish` ends it skipped
#   skip REASON          the rest cannot be checked: ends the test skipped now
#   part SCRIPT ARGS...  runs a script beside this one, its output in $out; a skip
#                        there is deferred here, with its reasons
#   finish               ends the test: skipped with every reason deferred, or passed
reasons=()
older() {
  [[ $1 =~ ^[0-9] ]] || { echo "FAIL: no version to compare with $2: '$1'" >&2; exit 1; }
  dpkg --compare-versions "$1" lt "$2"
}
defer() { reasons+=("$*"); }
finish() {
  [ ${#reasons[@]} -eq 0 ] && exit 0
  printf 'SKIPPED: %s\n' "${reasons[@]}" | awk '!seen[$0]++'
  exit 77
}
skip() {
  defer "$@"
  finish
}
part() {
  local rc=0 line
  out=$(bash "$(dirname "${BASH_SOURCE[0]}")/$1" "${@:2}" 2>&1) || rc=$?
  [ $rc -eq 77 ] || return $rc
  while IFS= read -r line; do
    [[ $line == "SKIPPED: "* ]] && defer "${line#SKIPPED: }"
  done <<<"$out"
  return 0
}
