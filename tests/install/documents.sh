#!/usr/bin/env bash
# The README and the manual page against the program's own tables of controls,
# as `pavok --help` prints them: every joint key pair, every function and arrow
# key pair and every menu entry, in menu order, and nothing that the program lacks;
# and, against the README's tables and the key map, what each key pair moves.
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

# What --help says each pair moves, against the README's tables of keys, which
# are written apart from the code: the joint must be the README's, and the
# direction must agree with the README's words for the pair. A description that
# is a direction alone names no joint: it moves the whole figure.
directions='sideways|to the side
back and forth|backward
tilt|tilts
nod|nods
turn|turns
lean|leans
twist|twists
bend|bends
turn the figure|turns
move it forward, back|moves'
word_for() { awk -F'|' -v d="$1" '$1 == d { print $2; found = 1 } END { exit !found }' <<<"$directions"; }
# "a b<TAB>description", pairs sorted; in --help two or more spaces end a field.
help_moves=$(sed -n '/^Keys:/,/^Left button:/p' <<<"$help" | sed -E 's/^ +//; s/ {2,}/\t/g' |
  awk -F'\t' '{ for (i = 1; i < NF; i += 2) if ($i ~ /^[^ \/]+\/[^ \/]+$/) {
    split($i, k, "/"); print (k[1] < k[2] ? k[1] " " k[2] : k[2] " " k[1]) "\t" $(i + 1) } }' | sort)
readme_moves=$(sed -n '/^### Limbs$/,/^### Left button/p' "$readme" |
  sed -n 's/^| `\([^`]*\)` \/ `\([^`]*\)` | \([^|]*[^ |]\) | \([^|]*[^ |]\) |$/\1 \2\t\3\t\4/p' |
  awk -F'\t' '{ split($1, k, " "); print (k[1] < k[2] ? k[1] " " k[2] : k[2] " " k[1]) "\t" $2 "\t" $3 }' | sort)
help_joints=
while IFS=$'\t' read -r pair said; do
  if word_for "$said" >/dev/null; then joint="whole figure" way=$said
  elif [[ $said == *", "* ]]; then joint=${said%%, *} way=${said#*, }
  else joint=$said way=
  fi
  help_joints+="${pair/ //}: $joint"$'\n'
  [ -n "$way" ] || continue
  if ! word=$(word_for "$way"); then
    fail "pavok --help: ${pair/ //} says \"$way\", a direction this check does not know"
    continue
  fi
  described=$(awk -F'\t' -v p="$pair" '$1 == p { print $3 }' <<<"$readme_moves")
  [[ $described == *"$word"* ]] ||
    fail "pavok --help: ${pair/ //} is \"$said\", but README.md says \"$described\", without \"$word\""
done <<<"$help_moves"
check "README.md" "joints of the key pairs" "$(cut -f1,2 <<<"$readme_moves" | sed 's/ /\//; s/\t/: /' | sort)" \
  "$(sort <<<"${help_joints%$'\n'}")"
check "README.md" "menu entries" "$(sed -n 's/^| \([^|`]*[^ |`]\) |.*/\1/p' "$readme" | grep -Fxf <(echo "$code_labels"))" "$code_labels"

# The key map `make docs` draws, as scripts/docs.py lists its labels ("joint:
# pairs", the joint being the one the label's line points at): every pair of
# --help once, at the joint --help names for it, and z in the corner.
map=$(mktemp -d)
trap 'rm -rf "$map"' EXIT
labels=$(OUT=$map BUILD=$(dirname "$exe") python3 -B "$src/scripts/docs.py" --keys) ||
  fail "scripts/docs.py --keys could not draw the key map"
map_joints=$(grep -v '^corner: ' <<<"$labels" | awk -F': ' '{ n = split($2, p, " "); for (i = 1; i <= n; i++) {
  split(p[i], k, "/"); print (k[1] < k[2] ? k[1] "/" k[2] : k[2] "/" k[1]) ": " $1 } }' | sort)
check "keys.png" "joints of the key pairs" "$map_joints" "$(sort <<<"${help_joints%$'\n'}")"
grep -qx 'corner: z' <<<"$labels" || fail "keys.png: the z key is not in its corner"

[ "$failed" -eq 0 ] && echo "README.md and pavok.6 name every key pair and menu entry of the program; they and the key map give each pair its joint"
exit "$failed"
