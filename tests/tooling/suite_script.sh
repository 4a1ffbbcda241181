#!/usr/bin/env bash
# The test runner's own verdict, run as it is on a stand-in project of one
# test (so not on this suite again), checked out at a path with a space: an
# empty build folder and a failing plain run each fail, even though the
# sanitized run passes; a passing one passes. The Makefile's test recipes, on
# the same stand-in, fail where their test does, and make test-windows ends
# Wine's server after it.
# suite_script.sh SOURCE-DIR
set -uo pipefail
src=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
top="$dir/with space"
mkdir -p "$top/tools/testing" "$top/tests/windows" "$dir/bin"
cp "$src/tools/testing/run_tests.sh" "$top/tools/testing/"
cp "$src/tools/with_display.sh" "$top/tools/"
cp "$src/Makefile" "$top/"
echo 'exit 0' >"$top/tools/install_deps.sh"  # nothing to install
printf 'import sys\nsys.stdout.write("the test failed; ")\nsys.exit(1)\n' >"$top/tests/windows/test_windows.py"
printf '#!/bin/sh\necho "wineserver $*"\n' >"$dir/bin/wineserver"
chmod +x "$dir/bin/wineserver"
echo "leak:stand_in_nothing" >"$top/tools/testing/lsan.supp"
cat >"$top/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.18)
project(stand_in NONE)
set(OUTCOME pass CACHE STRING "the plain build's test: pass or fail")
option(PAVOK_SANITIZE "" OFF)
enable_testing()
add_custom_target(pavok_tests)
add_custom_target(pavok)
if(PAVOK_SANITIZE OR OUTCOME STREQUAL pass)
  add_test(NAME Stand.In COMMAND true)
else()
  add_test(NAME Stand.In COMMAND false)
endif()
set_tests_properties(Stand.In PROPERTIES LABELS unit)
EOF

status=0
# build folder, how it is prepared, what runs (run_tests.sh or a make target),
# expected exit status (0 or not), a line the output must have
while read -r build outcome how want text; do
  mkdir "$top/$build" "$top/$build-windows"
  [ "$outcome" = empty ] || cmake -S "$top" -B "$top/$build" -DOUTCOME="$outcome" >/dev/null
  if [ "$how" = run_tests.sh ]; then
    BUILD="$top/$build" JOBS=1 bash "$top/tools/testing/run_tests.sh"
  else  # the Windows build is taken as made
    PATH="$dir/bin:$PATH" make -C "$top" -o windows "$how" BUILD="$build" JOBS=1 LABEL=
  fi >"$dir/$build.log" 2>&1 </dev/null
  got=$?
  if { [ "$want" = 0 ] && [ "$got" -ne 0 ]; } || { [ "$want" != 0 ] && [ "$got" -eq 0 ]; } ||
     ! grep -q "$text" "$dir/$build.log"; then
    sed 's/^/  /' "$dir/$build.log"
    echo "FAIL: $how on the $outcome build folder: exit status $got, expected ${want/x/non-zero}, with '$text'" >&2
    status=1
  else
    echo "$how on the $outcome build folder: exit status $got, with '$text'"
  fi
done <<'EOF'
b-empty empty run_tests.sh x No tests were found
b-fail fail run_tests.sh x The following tests FAILED
b-pass pass run_tests.sh 0 100% tests passed, 0 tests failed out of 1
m-fail fail test x The following tests FAILED
m-pass pass test 0 100% tests passed, 0 tests failed out of 1
m-win pass test-windows x the test failed; wineserver -k
EOF
exit $status
