#!/usr/bin/env bash
# The README and the manual page against the program's own tables of controls,
# as `pavok --help` prints them: every joint key pair, every function and arrow
# key pair and every menu entry, in menu order, and nothing that the program lacks.
set -euo pipefail
src=$1
exe=$2
readme=$src/README.md
man=$src/packaging/pavok.6
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

# Pairs as "a b" with the two keys sorted, one a line.
sorted_pairs() { tr '/' ' ' | awk '{ if ($1 > $2) print $2, $1; else print $1, $2 }' | sort; }

help=$(env -u DISPLAY "$exe" --help)
code_keys=$(grep -oE '(^| )[^ /]/[^ /]( |$)' <<<"$help" | sorted_pairs)
[ "$(wc -l <<<"$code_keys")" -eq 16 ] || fail "expected 16 joint key pairs in pavok --help"
grep -q '^  z  ' <<<"$help" || fail "pavok --help names no 'z' key"
code_special=$(grep -oE '[^ /]{2,}/[^ /]{2,}' <<<"$help" | sorted_pairs)
[ "$(wc -l <<<"$code_special")" -eq 8 ] || fail "expected 8 special key pairs in pavok --help"
# The entries follow "Left button:" and "Right button:", separated by commas.
code_labels=$(sed -n '/^Left button:/,$p' <<<"$help" | sed 's/^[A-Za-z]* button://' | tr ',' '\n' |
  sed 's/^ *//; /^$/d')
[ "$(wc -l <<<"$code_labels")" -eq 11 ] || fail "expected 11 menu entries in pavok --help"

# check DOCUMENT WHAT DOCUMENTED EXPECTED
check() {
  [ "$3" = "$4" ] || fail "$1: the $2 differ from the program's:
$(diff <(echo "$4") <(echo "$3") | sed -n 's/^</  only in the program: /p; s/^>/  only in the document:/p')"
}

# The manual page: `.BR a " / " b` items, `.B z`, and `.B Label` items.
man_pairs=$(sed -n 's/^\.BR \([^ ]*\) " \/ " \([^ ]*\)$/\1 \2/p' "$man")
check "pavok.6" "joint key pairs" "$(grep -E '^[^ ] [^ ]$' <<<"$man_pairs" | sorted_pairs)" "$code_keys"
check "pavok.6" "function and arrow key pairs" "$(grep -E '^[^ ]{2,} [^ ]{2,}$' <<<"$man_pairs" | sorted_pairs)" "$code_special"
grep -qx '\.B z' "$man" || fail "pavok.6: the z key is missing"
check "pavok.6" "menu entries" "$(sed -n 's/^\.B \(.*\)$/\1/p' "$man" | grep -Fxf <(echo "$code_labels"))" "$code_labels"

# The README: table rows that begin | `a` / `b` |, a `z` row, and | Label | rows.
readme_pairs=$(sed -n 's/^| `\([^`]*\)` \/ `\([^`]*\)` |.*/\1 \2/p' "$readme")
check "README.md" "joint key pairs" "$(grep -E '^[^ ] [^ ]$' <<<"$readme_pairs" | sorted_pairs)" "$code_keys"
check "README.md" "function and arrow key pairs" "$(grep -E '^[^ ]{2,} [^ ]{2,}$' <<<"$readme_pairs" | sorted_pairs)" "$code_special"
grep -q '^| `z` |' "$readme" || fail "README.md: the z key is missing"
check "README.md" "menu entries" "$(sed -n 's/^| \([^|`]*[^ |`]\) |.*/\1/p' "$readme" | grep -Fxf <(echo "$code_labels"))" "$code_labels"

[ "$failed" -eq 0 ] && echo "README.md and pavok.6 name every key pair and menu entry of the program"
exit "$failed"
