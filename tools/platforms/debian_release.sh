#!/usr/bin/env bash
# The README's two commands on another Debian release, as a new user there
# would run them, in a minimal chroot of it kept in PAVOK_CHROOTS
# (CONTRIBUTING.md, "The release test", says how). Needs root (it mounts).
#   tools/platforms/debian_release.sh RELEASE [ARCH]  (trixie, bookworm arm64)
set -euo pipefail
source "$(dirname "$0")/../chroots.sh"

readonly BINFMT=/proc/sys/fs/binfmt_misc
readonly MARKER=.pavok-release  # made first: only a folder with it is deleted
# AddressSanitizer sizes the address space from the stack's address, which
# qemu puts below 2^39, while qemu's mmap gives anything up to 2^47: llvmpipe's
# JIT code then lands where ASan has no shadow, and the sanitized run faults in
# ASan's own memcpy check. Holding each guest to 2^39 bytes keeps them agreed.
readonly QEMU_LIMIT=QEMU_RESERVED_VA=0x8000000000
status=0  # 1 once a step failed

# An error, and the end with status $1; how the run of $1 goes.
die() { echo "pavok: ${*:2}" >&2; exit "$1"; }
say() { echo "== $1: ${*:2}"; }
# RELEASE ARCH: exits unless both are plain names. The name becomes a folder
# that is deleted as root: nothing runs before it is known to be a codename.
check_names() {
  [[ $1 =~ ^[a-z][a-z0-9]*$ ]] || die 2 "$(printf %q "$1") is not a Debian" \
    "codename (lower-case letters and digits: trixie, bullseye, forky)"
  [[ $2 =~ ^([a-z][a-z0-9]*)?$ ]] ||
    die 2 "$(printf %q "$2") is not a Debian architecture (amd64, arm64...)"
}
# RELEASE ARCH: the names and canonical paths used (findmnt and /proc/PID/root
# name the chroot so), and the command that runs a script inside.
locate() {
  local native emulated=()
  SELF=$(realpath -m -- "$0")
  TOP=$(realpath -m -- "$SELF/../../..")
  CHROOTS=$(realpath -m -- "${PAVOK_CHROOTS:-/var/tmp/pavok-release}")
  native=$(dpkg --print-architecture)
  RELEASE=$1 ARCH=${2:-$native} NAME=$1
  [ "$ARCH" = "$native" ] || NAME=$RELEASE-$ARCH emulated=("$QEMU_LIMIT")
  ROOT=$(realpath -m -- "$CHROOTS/$NAME")
  readonly SELF TOP CHROOTS RELEASE ARCH NAME ROOT
  readonly INSIDE=(chroot "$ROOT" env -i
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
    HOME=/root LANG=C.UTF-8 "${emulated[@]}" bash -c)
}
# Unless root, this script again through sudo, with the settings it takes.
as_root() {
  [ "$(id -u)" -eq 0 ] || exec sudo -- env FRESH="${FRESH:-0}" \
    PAVOK_CHROOTS="$CHROOTS" APT_OPTIONS="${APT_OPTIONS-}" \
    bash "$SELF" "$RELEASE" "$ARCH"
}
# Another architecture's programs run under qemu, handed to it by binfmt_misc.
emulate() {
  bash "$TOP/tools/install_deps.sh" emulation
  if [ -e $BINFMT/status ]; then
    say "$NAME" "binfmt_misc is mounted"
  else
    mount -t binfmt_misc binfmt_misc $BINFMT &&
      say "$NAME" "binfmt_misc was not mounted: mounted it on $BINFMT"
  fi
  update-binfmts --enable
  say "$NAME" "$ARCH programs run under qemu-user-static" \
    "(binfmt_misc $(cat $BINFMT/status))"
  say "$NAME" "each program is held to 2^39 bytes of address space" \
    "($QEMU_LIMIT), as AddressSanitizer expects under qemu"
}
# The chroot for this run alone, or the end: one run of a release at a time,
# and only in a folder this script made.
claim() {
  mkdir -p "$CHROOTS"
  exec 9>>"$CHROOTS/.$NAME.lock"
  flock -n 9 || die 1 "another run of $NAME holds $CHROOTS/.$NAME.lock"
  [ ! -e "$ROOT" ] || [ -f "$ROOT/$MARKER" ] || die 1 "$ROOT was not made" \
    "by this script (it has no $MARKER); move it away or set PAVOK_CHROOTS"
}
# Every mount under the chroot, deepest first (findmnt writes a space as \x20).
mounts() {
  local m
  findmnt -rn -o TARGET | while IFS= read -r m; do printf '%b\n' "$m"; done |
    r=$ROOT awk 'index($0, ENVIRON["r"] "/") == 1 || $0 == ENVIRON["r"]' |
    sort -ru
}
# Every process whose root is the chroot.
inside_pids() {
  find /proc -mindepth 2 -maxdepth 2 -name root -printf '%h %l\n' 2>/dev/null |
    r=$ROOT awk '{p = $1; sub(/^[^ ]* /, "")}
      $0 == ENVIRON["r"] {sub("/proc/", "", p); print p}'
}
# Nothing left in the chroot: the step running stopped (its timeout sends
# KILL 30 s after the TERM at most), any process left inside killed (a test's
# stray program would hold its mounts), and every mount under it undone.
unmount() {
  local _ m
  [ -z "$job" ] || kill "$job" 2>/dev/null || true
  kill -9 $(inside_pids) 2>/dev/null || true
  [ -z "$job" ] || wait "$job" 2>/dev/null || true
  job=
  for _ in 1 2 3; do  # stacked mounts come off one at a time
    mounts | while IFS= read -r m; do
      umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true
    done
  done
  [ -z "$(mounts)" ] ||
    { echo "pavok: still mounted under $ROOT:" $(mounts) >&2; return 1; }
}
# The chroot deleted: only ours, with nothing mounted under it, and never
# across into another file system: a delete that followed a bound /dev would
# empty the machine's own.
remove() {
  [ -f "$ROOT/$MARKER" ] && unmount && rm -rf --one-file-system "$ROOT"
}
# The chroot bootstrapped, unless complete; anew with FRESH=1, or when an
# interrupted run left it half-made.
bootstrap() {
  [ "${FRESH:-0}" = 1 ] || [ ! -e "$ROOT/.complete" ] || return 0
  [ ! -e "$ROOT" ] || remove
  mkdir "$ROOT"
  touch "$ROOT/$MARKER"
  run 1h mmdebstrap --variant=apt --skip=check/empty --arch="$ARCH" \
    ${APT_OPTIONS:+"--aptopt=$APT_OPTIONS"} \
    --include=git,make,sudo,ca-certificates "$RELEASE" "$ROOT" "$(mirror)"
  touch "$ROOT/.complete"
}
# The machine's dev, proc and sys, its resolv.conf, and a fresh clone of this
# checkout in the chroot. Each bind slave in the call that makes it: a mount
# made or undone inside never reaches the machine's own tree.
prepare() {
  local d
  for d in dev proc sys; do mount --rbind --make-rslave "/$d" "$ROOT/$d"; done
  cp --remove-destination /etc/resolv.conf "$ROOT/etc/resolv.conf"
  rm -rf --one-file-system "$ROOT/pavok"
  git clone -q --no-hardlinks "$TOP" "$ROOT/pavok"
}
# NAME LIMIT COMMAND: runs it inside, says how it went and how long it took.
step() {
  local start=$SECONDS rc=0 result=passed
  say "$RELEASE" "$1"
  run "$2" "${INSIDE[@]}" "cd /pavok && $3" || rc=$?
  [ $rc -eq 0 ] || { result="FAILED ($rc)"; status=1; }
  say "$RELEASE" "$1: $result in $((SECONDS - start)) s"
}
# The release, and the README's commands in it: with no display the program
# can only say so, once it is built; on a display it opens its window. The
# chroot sees every process of the machine: only make's own pavok is stopped.
steps() {
  say "$RELEASE ($ARCH)" "$("${INSIDE[@]}" '. /etc/os-release &&
    echo "$PRETTY_NAME, Debian $(cat /etc/debian_version)"')"
  step "make run" 1h 'out=$(make run 2>&1); echo "$out" | tail -n 3
    [ -x build/pavok ] && grep -q "failed to open display" <<<"$out" &&
    echo "built; with no display, it can only say so"'
  step "make test" 3h 'make test'
  step "make run on a display" 10m 'bash tools/with_display.sh bash -c "
    make run >run.log 2>&1 & m=\$!
    timeout 120 xdotool search --sync --name \"^Pavok\$\" >/dev/null
    ok=\$?; pkill -x -P \$m pavok; wait; exit \$ok"'
}
# RELEASE [ARCH]: the release test.
main() {
  check_names "${1-}" "${2-}"
  locate "$1" "${2-}"
  as_root
  bash "$TOP/tools/install_deps.sh" release
  [ "$NAME" = "$RELEASE" ] || emulate
  claim
  # A bootstrap that failed or was stopped leaves nothing behind.
  trap 'unmount; [ -e "$ROOT/.complete" ] || remove' EXIT
  trap 'exit 130' INT TERM
  bootstrap
  prepare
  steps
  unmount || status=1
  exit $status
}

main "$@"
