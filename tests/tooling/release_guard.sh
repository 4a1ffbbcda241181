#!/usr/bin/env bash
# The release test touches only chroots it made: tried from a stand-in
# checkout at a path with a space, with stand-ins for sudo, mmdebstrap and a
# chroot; as root for the half that bootstraps, locks and mounts.
#   release_guard.sh SCRIPT   SCRIPT: tools/platforms/debian_release.sh
set -euo pipefail

readonly APT_OPTION='Acquire::Check-Valid-Until "false"'
readonly NOBODY=(setpriv --reuid=65534 --regid=65534 --clear-groups
  env HOME=/nonexistent)
pid=  # the run the TERM is sent to
status=0  # 1 once a check failed
via=()  # what runs the release test: NOBODY, or a lock held

# A check that failed, and the others go on; the end, skipped unless one did.
fail() { echo "FAIL: $*" >&2; status=1; }
skip() { echo "SKIPPED: $*"; exit $((status ? 1 : 77)); }
# Every process whose root is the stand-in chroot.
inside() {
  find /proc -mindepth 2 -maxdepth 2 -name root -printf '%h %l\n' 2>/dev/null |
    r=$ROOT awk '{p = $1; sub(/^[^ ]* /, "")}
      $0 == ENVIRON["r"] {sub("/proc/", "", p); print p}'
}
# Every mount under the stand-in chroots, deepest first.
mounted() {
  local m
  findmnt -rn -o TARGET | while IFS= read -r m; do printf '%b\n' "$m"; done |
    r=$REAL awk 'index($0, ENVIRON["r"] "/") == 1' | sort -r
}
# Kills what is left running and undoes what is left mounted, then deletes
# the scratch folder, unless something is mounted in it still.
cleanup() {
  local m
  [ -z "$pid" ] || kill -9 "$pid" 2>/dev/null || true
  kill -9 $(inside) 2>/dev/null || true
  while IFS= read -r m; do umount -l "$m" || true; done < <(mounted)
  [ -z "$(mounted)" ] ||
    { echo "left in place, still mounted: $TMP" >&2; return; }
  rm -rf --one-file-system "$TMP"
}
# SCRIPT: in a scratch folder, a checkout of it with nothing to install, whose
# step leaves a program running, detached, and goes on; a sudo that says what
# it was given; an mmdebstrap that logs its arguments, and whether its folder
# was marked, and fails; a complete chroot; a victim beside it; a link.
stand_ins() {
  TMP=$(realpath "$(mktemp -d)")
  BASE="$TMP/with space"
  REAL=$BASE/real CHECKOUT=$BASE/checkout BIN=$BASE/bin ROOT=$BASE/real/trixie
  SCRIPT=$CHECKOUT/tools/platforms/debian_release.sh
  readonly TMP BASE REAL CHECKOUT BIN ROOT SCRIPT
  chmod 755 "$TMP"
  trap cleanup EXIT
  mkdir -p "$CHECKOUT/tools/platforms" "$BIN" "$BASE/victim" "$REAL"
  cp "$1" "$SCRIPT"
  cp "${1%/*}/../chroots.sh" "$CHECKOUT/tools/"
  echo 'exit 0' >"$CHECKOUT/tools/install_deps.sh"
  printf 'run:\n\t%s\n\t%s\n' 'test ! -e /fail' \
    'setsid sleep 600 & touch /started; sleep 600' >"$CHECKOUT/Makefile"
  git -C "$CHECKOUT" init -q && git -C "$CHECKOUT" add . &&
    git -C "$CHECKOUT" -c user.name=t -c user.email=t@t commit -qm stand-in
  printf '%s\n' '#!/bin/sh' 'printf "sudo: %s\n" "$@"' >"$BIN/sudo"
  printf '%s\n' '#!/bin/sh' 'for a; do t=$p p=$a; done' \
    '[ -e "$t/.pavok-release" ] && echo marked >"${0%/*}/log"' \
    'printf "%s\n" "$@" >>"${0%/*}/log"' 'touch "$t/half-made"; exit 1' \
    >"$BIN/mmdebstrap"
  chmod 755 "$BIN"/*
  mkdir -p "$ROOT"/{dev,proc,sys,etc,usr}
  touch "$ROOT/.pavok-release" "$ROOT/.complete"
  cp /etc/os-release /etc/debian_version "$ROOT/etc/"
  touch "$BASE/victim/keep"
  ln -s real "$BASE/link"
}
# ARGS...: what the release test says, run from the stand-in checkout by $via.
release() {
  (cd "$BASE" && PATH="$BIN:$PATH" timeout 120 "${via[@]}" bash "$SCRIPT" \
    "$@" 2>&1 </dev/null)
}
# WANT ARGS...: ARGS are refused as no Debian WANT before sudo is reached.
refused() {
  local want=$1 out rc args
  shift
  args=$(printf '%q ' "$@")
  out=$(PAVOK_CHROOTS=real/chroots release "$@") && rc=0 || rc=$?
  printf '%-24s -> %s\n' "$args" "$(head -n 1 <<<"$out")"
  [ "$rc" = 2 ] && grep -q "is not a Debian $want" <<<"$out" ||
    fail "${args}not refused ($rc): $out"
  ! grep -q '^sudo:' <<<"$out" || fail "${args}reached sudo"
}
# Names that are not plain are refused, leaving what is beside the chroots.
test_names() {
  local name arch
  for name in ../victim a/b Trixie -x trixie/.. '' . '*' 'trixie ' \
    $'trixie\nx' 1trixie ../real/chroots; do
    refused codename "$name"
  done
  for arch in ../victim amd64/.. ARM64 -x; do
    refused architecture trixie "$arch"
  done
  [ -e "$BASE/victim/keep" ] ||
    fail "the victim folder beside the chroots was deleted"
  [ ! -e "$REAL/chroots" ] || fail "a refused name made $REAL/chroots"
}
# Through sudo: the options, and the chroots' canonical path.
test_sudo() {
  local out want
  out=$(FRESH=1 APT_OPTIONS=$APT_OPTION PAVOK_CHROOTS=link/./chroots \
    release forky)
  for want in FRESH=1 "PAVOK_CHROOTS=$REAL/chroots" \
    "APT_OPTIONS=$APT_OPTION" forky; do
    grep -qxF "sudo: $want" <<<"$out" || fail "sudo was not given $want: $out"
  done
}
# A bootstrap that fails, in a folder marked before it starts, leaves nothing.
test_bootstrap() {
  local out
  out=$(APT_OPTIONS=$APT_OPTION PAVOK_CHROOTS=link release forky) &&
    fail "a failed bootstrap passed: $out"
  grep -qx marked "$BIN/log" ||
    fail "the chroot folder had no marker when the bootstrap started"
  grep -qxF -- "--aptopt=$APT_OPTION" "$BIN/log" ||
    fail "mmdebstrap was not given the apt options: $(cat "$BIN/log")"
  [ ! -e "$REAL/forky" ] ||
    fail "a failed bootstrap left $(ls -A "$REAL/forky")"
}
# A folder without the marker is never deleted, even anew.
test_foreign() {
  local out
  mkdir "$REAL/bullseye" && touch "$REAL/bullseye/keep"
  out=$(FRESH=1 PAVOK_CHROOTS=link release bullseye) &&
    fail "a folder not made by it was taken: $out"
  grep -q "was not made by this script" <<<"$out" &&
    [ -e "$REAL/bullseye/keep" ] || fail "a folder not made by it: $out"
}
# One run of a release at a time: not while another holds its lock.
test_lock() {
  local out via=(flock "$REAL/.forky.lock")  # as another run holds it
  out=$(PAVOK_CHROOTS=link release forky) && fail "a second run passed: $out"
  grep -q "another run of forky" <<<"$out" ||
    fail "a second run of forky was not refused: $out"
}
# The machine's programs bound into the stand-in chroot read-only, again: a
# run unmounts all in its chroot.
machine() {
  local d
  for d in bin lib lib64 sbin; do
    if [ -L "/$d" ]; then
      cp -P "/$d" "$ROOT/"
    elif [ -d "/$d" ]; then
      mkdir -p "$ROOT/$d" && mount --bind -o ro "/$d" "$ROOT/$d"
    fi
  done
  mount --bind -o ro /usr "$ROOT/usr" 2>/dev/null
}
# A step TERMed mid-way, in a chroot reached through a symlink, ends at once,
# leaving nothing mounted, nothing running, and the chroot.
test_term() {
  local start rc p _
  PAVOK_CHROOTS=$BASE/link bash "$SCRIPT" trixie >"$BASE/run.log" 2>&1 \
    </dev/null &
  pid=$!
  for _ in $(seq 600); do
    [ -e "$ROOT/started" ] || ! kill -0 $pid 2>/dev/null && break
    sleep 0.1
  done
  [ -e "$ROOT/started" ] ||
    fail "the step did not start: $(cat "$BASE/run.log")"
  echo "mounted in the step: $(mounted | wc -l)"
  kill -TERM $pid
  start=$SECONDS
  for _ in $(seq 200); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  ! kill -0 $pid 2>/dev/null || {
    fail "still running $((SECONDS - start)) s after the TERM"
    kill -9 $pid
  }
  wait $pid && rc=0 || rc=$?
  pid=
  echo "ended $((SECONDS - start)) s after the TERM, with $rc"
  [ "$rc" = 130 ] ||
    fail "the TERM ended it with $rc: $(cat "$BASE/run.log")"
  [ -z "$(mounted)" ] || fail "still mounted after the TERM: $(mounted)"
  for p in $(inside); do
    fail "still running inside: $(tr '\0' ' ' <"/proc/$p/cmdline")"
  done
  [ -e "$ROOT/.complete" ] || fail "the complete chroot was deleted"
}
# A run whose steps fail fails, and leaves a neighbour's mounts alone.
test_failing() {
  local out
  mkdir -p "$REAL/trixie2/proc"
  mount -t tmpfs pavok-neighbour "$REAL/trixie2/proc"
  touch "$ROOT/fail"
  machine
  out=$(PAVOK_CHROOTS=$BASE/link release trixie) &&
    fail "a run whose steps failed passed: $out"
  grep -c FAILED <<<"$out" | grep -qx 3 || fail "not every step failed: $out"
  findmnt "$REAL/trixie2/proc" >/dev/null ||
    fail "the run of trixie unmounted trixie2's"
}
# SCRIPT: the release test, tried on stand-ins.
main() {
  stand_ins "$1"
  # The first half as a user: as nobody, where this is root.
  [ "$(id -u)" -ne 0 ] || via=("${NOBODY[@]}")
  test_names
  test_sudo
  [ "$(id -u)" -eq 0 ] || skip "not root: the bootstrap, the lock and the" \
    "mounts are tried as root only"
  via=()
  test_bootstrap
  test_foreign
  test_lock
  machine || skip "cannot mount here"
  test_term
  test_failing
  exit $status
}

main "$@"
