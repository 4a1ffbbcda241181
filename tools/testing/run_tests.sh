#!/usr/bin/env bash
# The whole test suite on a private Xvfb, whatever DISPLAY says (on the display
# PAVOK_TEST_DISPLAY names, if set, to watch it); then the in-process tests
# again, built with AddressSanitizer and UBSan in $BUILD-asan.
#   run_tests.sh [KIND]   one kind alone: unit, e2e, documents, install,
#                         tooling or bench
set -euo pipefail
cd "$(dirname "$0")/../.."
top=$PWD
kind=${1-}
BUILD=${BUILD:-build}
JOBS=${JOBS:-2}
# ctest runs in the build folder: before 3.20 it has no --test-dir, and
# elsewhere it finds no test. Finding none is a failure, never a pass.
ctest=(ctest --no-tests=error --output-on-failure -j "$JOBS")
display=(bash "$top/tools/with_display.sh")
[ -z "${PAVOK_TEST_DISPLAY:-}" ] || display=(env "DISPLAY=$PAVOK_TEST_DISPLAY")
in_build() { (cd "$1" && shift && "${display[@]}" "$@"); }
# BUILD ARGS...: ctest there; its own record of failed tests fails it too, so
# that a wrapper losing the status cannot pass a failing suite.
suite() {
  local failed=$1/Testing/Temporary/LastTestsFailed.log rc=0
  rm -f "$failed"
  in_build "$@" || rc=$?
  if [ -s "$failed" ]; then
    echo "pavok: ctest recorded as failed: $(cut -d: -f2 "$failed" | tr '\n' ' ')" >&2
    [ "$rc" -ne 0 ] || rc=1
  fi
  return "$rc"
}

status=0
suite "$BUILD" "${ctest[@]}" ${kind:+-L "^$kind\$"} || status=$?
# ctest lists the skipped tests but not why; each printed its reasons, as
# lines "SKIPPED: REASON".
awk '/^[0-9]+\/[0-9]+ Testing: / {t = $3}
  sub(/^SKIPPED: /, "") {print "skipped " t ": " $0}' \
  "$BUILD/Testing/Temporary/LastTest.log"
[ "$status" -eq 0 ] || exit "$status"
[[ ${kind:-unit} == unit ]] || exit 0

ASAN="$BUILD-asan"
cmake -S . -B "$ASAN" -DPAVOK_SANITIZE=ON -DPAVOK_BENCH=OFF >/dev/null
cmake --build "$ASAN" -j "$JOBS" --target pavok_tests
# Mesa unloads its driver before the leak check at exit, which leaves the
# driver's own leaks without a name; preloaded, it stays mapped and lsan.supp
# can name it. Where Mesa's GLX library links the driver (libgallium-<version>.so,
# Mesa 25), that library keeps it; before, GLX loaded dri/swrast_dri.so itself. The ASan runtime has to come first.
lib=/usr/lib/$(gcc -print-multiarch)
driver=$lib/dri/swrast_dri.so
if readelf -d "$lib/libGLX_mesa.so.0" 2>/dev/null | grep 'NEEDED.*\[libgallium-' >/dev/null; then
  driver=$lib/libGLX_mesa.so.0
fi
# LeakSanitizer stops the program's threads with ptrace, which qemu-user (the
# release test's other architectures) does not emulate: there every sanitized
# program would end in LeakSanitizer's fatal error, so the leak check is left out.
asan=$(gcc -print-file-name=libasan.so) leaks=() quote="'"
if ! env LD_PRELOAD="$asan" true 2>"$ASAN/leak-probe.txt" &&
  grep 'LeakSanitizer has encountered a fatal error' "$ASAN/leak-probe.txt" >/dev/null; then
  echo "pavok: LeakSanitizer cannot stop threads here (no ptrace; under qemu-user?), so no leak check"
  leaks=(ASAN_OPTIONS=detect_leaks=0)
fi
# The sanitizers split an unquoted value at spaces; the path is quoted with a
# quote it does not hold.
[[ $top != *"'"* ]] || quote='"'
# Only the unit tests: the others run tools that are not sanitized.
suite "$ASAN" env \
  LD_PRELOAD="$asan $driver" \
  "${leaks[@]}" \
  LSAN_OPTIONS="suppressions=$quote$top/tools/testing/lsan.supp$quote" \
  UBSAN_OPTIONS="print_stacktrace=1" \
  "${ctest[@]}" -L unit
