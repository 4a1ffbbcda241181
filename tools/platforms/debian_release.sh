#!/usr/bin/env bash
# The README's two commands on another Debian release, as a new user there
# would run them: a minimal chroot of RELEASE from the Debian archive this
# machine's apt uses, with only git, make, sudo and ca-certificates added; a
# fresh clone of this checkout's HEAD; `make run` and `make test` with a clean
# environment and no display. Needs root (it mounts).
#   tools/platforms/debian_release.sh RELEASE [ARCH]   e.g. trixie, or bookworm arm64
# The chroot is kept in $PAVOK_CHROOTS/RELEASE (default /var/tmp/pavok-release;
# RELEASE-ARCH for another architecture) with the packages the commands
# installed, so a second run takes minutes; FRESH=1 builds it anew.
# APT_OPTIONS are given to apt in the chroot, e.g. 'Acquire::Check-Valid-Until "false"'.
set -euo pipefail
# The name becomes a folder that is deleted as root: nothing runs before it is
# known to be a plain codename.
release=${1-} arch=${2-}
[[ $release =~ ^[a-z][a-z0-9]*$ ]] || {
  printf 'pavok: %q is not a Debian codename (lower-case letters and digits: trixie, bullseye, forky)\n' "$release" >&2
  exit 2
}
[[ $arch =~ ^([a-z][a-z0-9]*)?$ ]] || { printf 'pavok: %q is not a Debian architecture (amd64, arm64...)\n' "$arch" >&2; exit 2; }
# Canonical paths: findmnt and /proc/PID/root name the chroot so.
self=$(realpath -m -- "$0")
top=$(realpath -m -- "$self/../../..")
chroots=$(realpath -m -- "${PAVOK_CHROOTS:-/var/tmp/pavok-release}")
native=$(dpkg --print-architecture)
arch=${arch:-$native} name=$release
[ "$arch" = "$native" ] || name=$release-$arch
root=$(realpath -m -- "$chroots/$name")
marker=$root/.pavok-release  # written before bootstrapping; only a folder with it is ever deleted
[ "$(id -u)" -eq 0 ] || exec sudo -- env FRESH="${FRESH:-0}" PAVOK_CHROOTS="$chroots" \
  APT_OPTIONS="${APT_OPTIONS-}" bash "$self" "$release" "$arch"
bash "$top/tools/install_deps.sh" release
# Another architecture's programs run under qemu, handed to it by binfmt_misc.
emulated=()
if [ "$arch" != "$native" ]; then
  bash "$top/tools/install_deps.sh" emulation
  binfmt=/proc/sys/fs/binfmt_misc
  if [ -e $binfmt/status ]; then echo "== $name: binfmt_misc is mounted"
  else mount -t binfmt_misc binfmt_misc $binfmt && echo "== $name: binfmt_misc was not mounted: mounted it on $binfmt"; fi
  update-binfmts --enable
  echo "== $name: $arch programs run under qemu-user-static (binfmt_misc $(cat $binfmt/status))"
  # AddressSanitizer sizes the address space from the stack's address, which
  # qemu puts below 2^39, while qemu's mmap gives anything up to 2^47: llvmpipe's
  # JIT code then lands where ASan has no shadow, and the sanitized run faults in
  # ASan's own memcpy check. Holding each guest to 2^39 bytes keeps them agreed.
  emulated=(QEMU_RESERVED_VA=0x8000000000)
  echo "== $name: each program is held to 2^39 bytes of address space (${emulated[*]}), as AddressSanitizer expects under qemu"
fi

mkdir -p "$chroots"
exec 9>>"$chroots/.$name.lock"
flock -n 9 || { echo "pavok: another run of $name holds $chroots/.$name.lock" >&2; exit 1; }
[ ! -e "$root" ] || [ -f "$marker" ] || {
  echo "pavok: $root was not made by this script (it has no $(basename "$marker")); move it away or set PAVOK_CHROOTS" >&2
  exit 1
}

# Every mount under the chroot, deepest first (findmnt writes a space as \x20).
mounts() {
  findmnt -rn -o TARGET | while IFS= read -r m; do printf '%b\n' "$m"; done |
    r=$root awk 'index($0, ENVIRON["r"] "/") == 1 || $0 == ENVIRON["r"]' | sort -ru
}
# Every process whose root is the chroot.
inside_pids() {
  find /proc -mindepth 2 -maxdepth 2 -name root -printf '%h %l\n' 2>/dev/null |
    r=$root awk '{p = $1; sub(/^[^ ]* /, "")} $0 == ENVIRON["r"] {sub("/proc/", "", p); print p}'
}
job=
# The step running, and any process left inside (a test's stray program would
# hold its mounts). The step's timeout sends KILL 30 s after the TERM at most.
stop() {
  [ -z "$job" ] || kill "$job" 2>/dev/null || true
  kill -9 $(inside_pids) 2>/dev/null || true
  [ -z "$job" ] || wait "$job" 2>/dev/null || true
  job=
}
unmount() {
  local _ m
  stop
  for _ in 1 2 3; do  # stacked mounts come off one at a time
    mounts | while IFS= read -r m; do umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true; done
  done
  [ -z "$(mounts)" ] || { echo "pavok: still mounted under $root:" $(mounts) >&2; return 1; }
}
# Only ours, with nothing mounted under it, and never across into another file
# system: a delete that followed a bound /dev would empty the machine's own.
remove() { [ -f "$marker" ] && unmount && rm -rf --one-file-system "$root"; }
# A bootstrap that failed or was stopped leaves nothing behind.
trap 'unmount; [ -e "$root/.complete" ] || remove' EXIT
trap 'exit 130' INT TERM
# LIMIT COMMAND...: in the background, so that TERM and INT reach the trap at
# once, and no longer than LIMIT.
run() {
  local rc=0
  timeout -k 30 "$@" & job=$!
  wait "$job" || rc=$?
  job=
  return $rc
}

[ "${FRESH:-0}" = 1 ] && [ -e "$root" ] && remove
if [ ! -e "$root/.complete" ]; then
  [ ! -e "$root" ] || remove  # half-made by an interrupted run
  mirror=$(apt-get indextargets --format '$(LABEL) $(REPO_URI)' | sed -n 's/^Debian //p' | head -n 1)
  mkdir "$root"
  touch "$marker"
  run 1h mmdebstrap --variant=apt --skip=check/empty --arch="$arch" ${APT_OPTIONS:+"--aptopt=$APT_OPTIONS"} \
    --include=git,make,sudo,ca-certificates "$release" "$root" "${mirror:-http://deb.debian.org/debian}"
  touch "$root/.complete"
fi

# Each bind slave in the call that makes it: a mount made or undone inside
# never reaches the machine's own tree.
for d in dev proc sys; do
  mount --rbind --make-rslave "/$d" "$root/$d"
done
cp --remove-destination /etc/resolv.conf "$root/etc/resolv.conf"

rm -rf --one-file-system "$root/pavok"
git clone -q --no-hardlinks "$top" "$root/pavok"
inside=(chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
  HOME=/root LANG=C.UTF-8 "${emulated[@]}" bash -c)

echo "== $release ($arch): $("${inside[@]}" '. /etc/os-release && echo "$PRETTY_NAME, Debian $(cat /etc/debian_version)"')"
status=0
step() {  # NAME LIMIT COMMAND: runs it inside, says how it went and how long it took
  local start=$SECONDS rc=0
  echo "== $release: $1"
  run "$2" "${inside[@]}" "cd /pavok && $3" || rc=$?
  echo "== $release: $1: $([ $rc -eq 0 ] && echo passed || echo "FAILED ($rc)") in $((SECONDS - start)) s"
  [ $rc -eq 0 ] || status=1
}
# With no display the program can only say so, once it is built.
step "make run" 1h 'out=$(make run 2>&1); echo "$out" | tail -n 3
  [ -x build/pavok ] && grep -q "failed to open display" <<<"$out" && echo "built; with no display, it can only say so"'
step "make test" 3h 'make test'
# And on a display it opens its window.
# The chroot sees every process of the machine: only make's own pavok is stopped.
step "make run on a display" 10m 'bash tools/with_display.sh bash -c "make run >run.log 2>&1 & m=\$!
  timeout 120 xdotool search --sync --name \"^Pavok\$\" >/dev/null; ok=\$?; pkill -x -P \$m pavok; wait; exit \$ok"'
unmount || status=1
exit $status
