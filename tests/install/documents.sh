#!/usr/bin/env bash
# The README and the manual page against the program's own tables of controls
# (controls/*.cpp): every joint key pair, every function and arrow key pair and
# every menu entry, in menu order, and nothing that the program lacks.
set -euo pipefail
src=$1
readme=$src/README.md
man=$src/packaging/pavok.6
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

# Pairs as "a b" with the two keys sorted, one a line.
sorted_pairs() { awk '{ if ($1 > $2) print $2, $1; else print $1, $2 }' | sort; }

# From the program: {&angle, 'plus', 'minus', modulus} rows, and 'z'.
code_keys=$(grep -o "{&[a-z]*, '.', '.', [0-9]*}" "$src/controls/joint_keys.cpp" |
  sed "s/.*, '\(.\)', '\(.\)',.*/\1 \2/" | sorted_pairs)
[ "$(wc -l <<<"$code_keys")" -eq 16 ] || fail "expected 16 joint key pairs in controls/joint_keys.cpp"
grep -q "key == 'z'" "$src/controls/joint_keys.cpp" || fail "the program has no 'z' key"

# {GLUT_KEY_x, &angle or nullptr, ...} rows: the two keys that share a target.
code_special=$(grep -o '{GLUT_KEY_[A-Z0-9]*, [&a-z]*' "$src/controls/special_keys.cpp" |
  sed 's/{GLUT_KEY_\([A-Z0-9]*\), \(.*\)/\2 \1/' |
  sed 's/ LEFT$/ Left/; s/ RIGHT$/ Right/; s/ UP$/ Up/; s/ DOWN$/ Down/' |
  awk '{ if ($1 in k) print k[$1], $2; else k[$1] = $2 }' | sorted_pairs)
[ "$(wc -l <<<"$code_special")" -eq 8 ] || fail "expected 8 special key pairs in controls/special_keys.cpp"

code_labels=$(grep -o '{"[^"]*", [0-9]*, [A-Za-z0-9]*}' "$src/controls/menus.cpp" | sed 's/{"\([^"]*\)".*/\1/')
[ "$(wc -l <<<"$code_labels")" -eq 11 ] || fail "expected 11 menu entries in controls/menus.cpp"

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
