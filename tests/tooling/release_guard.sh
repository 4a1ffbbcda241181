#!/usr/bin/env bash
# The release test touches only chroots it made. Run from a stand-in checkout
# at a path with a space, with a stand-in sudo that only says what it was
# given: a name that is not a plain codename is refused before anything runs,
# and a folder beside the chroots survives; the options reach sudo, with the
# chroots' path made canonical. As root, with a stand-in mmdebstrap and a
# stand-in chroot (the machine's /usr bound read-only): a failed bootstrap
# leaves nothing behind, a folder it did not make is never deleted, a second
# run of one release is refused, and a step TERMed mid-way in a chroot reached
# through a symlink ends at once, leaving nothing mounted and nothing running;
# a run whose steps fail fails, leaving the mounts of trixie2 beside it.
set -euo pipefail
script=$1
tmp=$(realpath "$(mktemp -d)")
chmod 755 "$tmp"
base="$tmp/with space"
real=$base/real pid=
cleanup() {
  [ -z "$pid" ] || kill -9 "$pid" 2>/dev/null || true
  kill -9 $(inside) 2>/dev/null || true
  left=$(mounted)
  while IFS= read -r m; do [ -z "$m" ] || umount -l "$m" || true; done <<<"$left"
  [ -n "$(mounted)" ] && echo "left in place, still mounted: $tmp" >&2 || rm -rf --one-file-system "$tmp"
}
inside() {  # every process whose root is the stand-in chroot
  find /proc -mindepth 2 -maxdepth 2 -name root -printf '%h %l\n' 2>/dev/null |
    r=$real/trixie awk '{p = $1; sub(/^[^ ]* /, "")} $0 == ENVIRON["r"] {sub("/proc/", "", p); print p}'
}
mounted() {  # every mount under the stand-in chroots, deepest first
  findmnt -rn -o TARGET | while IFS= read -r m; do printf '%b\n' "$m"; done |
    r=$real awk 'index($0, ENVIRON["r"] "/") == 1' | sort -r
}
trap cleanup EXIT

checkout=$base/checkout bin=$base/bin
mkdir -p "$checkout/tools/platforms" "$bin" "$base/victim" "$real"
cp "$script" "$checkout/tools/platforms/"
echo 'exit 0' >"$checkout/tools/install_deps.sh"  # nothing to install, no network
# A step that leaves a program of its own running, detached, and goes on.
printf 'run:\n\ttest ! -e /fail\n\tsetsid sleep 600 & touch /started; sleep 600\n' >"$checkout/Makefile"
git -C "$checkout" init -q && git -C "$checkout" add . &&
  git -C "$checkout" -c user.name=t -c user.email=t@t commit -qm stand-in
ln -s real "$base/link"
touch "$base/victim/keep"
printf '#!/bin/sh\nprintf "sudo: %%s\\n" "$@"\n' >"$bin/sudo"
chmod 755 "$bin/sudo"
as_user=()
[ "$(id -u)" -ne 0 ] || as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=/nonexistent)
release() {  # ARGS...: the release test as a user, from the stand-in checkout
  (cd "$base" && PATH="$bin:$PATH" timeout 60 "${as_user[@]}" bash "$checkout/tools/platforms/debian_release.sh" "$@" 2>&1 </dev/null)
}

status=0
fail() { echo "FAIL: $*" >&2; status=1; }
# A refused name runs nothing: no sudo, no folder, and the victim is kept.
refused() {  # WANT ARGS...
  local want=$1 out rc
  shift
  out=$(PAVOK_CHROOTS=real/chroots release "$@") && rc=0 || rc=$?
  printf '%-24s -> %s\n' "$(printf '%q ' "$@")" "$(head -n 1 <<<"$out")"
  [ "$rc" = 2 ] && grep -q "is not a Debian $want" <<<"$out" || fail "$(printf '%q ' "$@")not refused ($rc): $out"
  ! grep -q '^sudo:' <<<"$out" || fail "$(printf '%q ' "$@")reached sudo"
}
for name in ../victim a/b Trixie -x trixie/.. '' . '*' 'trixie ' $'trixie\nx' 1trixie ../real/chroots; do
  refused codename "$name"
done
for arch in ../victim amd64/.. ARM64 -x; do refused architecture trixie "$arch"; done
[ -e "$base/victim/keep" ] || fail "the victim folder beside the chroots was deleted"
[ ! -e "$real/chroots" ] || fail "a refused name made $real/chroots"

# Through sudo: the options, and the chroots' canonical path.
out=$(FRESH=1 APT_OPTIONS='Acquire::Check-Valid-Until "false"' PAVOK_CHROOTS=link/./chroots release forky)
for want in FRESH=1 "PAVOK_CHROOTS=$real/chroots" 'APT_OPTIONS=Acquire::Check-Valid-Until "false"' forky; do
  grep -qxF "sudo: $want" <<<"$out" || fail "sudo was not given $want: $out"
done

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIPPED: not root: the bootstrap, the lock and the mounts are tried as root only"
  exit $(( status ? 1 : 77 ))
fi
as_user=()
# A bootstrap that fails, in a folder marked before it starts.
printf '#!/bin/sh\nfor a; do t=$p p=$a; done\n[ -e "$t/.pavok-release" ] && echo marked >"%s/log"\nprintf "%%s\\n" "$@" >>"%s/log"\ntouch "$t/half-made"; exit 1\n' \
  "$base" "$base" >"$bin/mmdebstrap"
chmod 755 "$bin/mmdebstrap"
out=$(APT_OPTIONS='Acquire::Check-Valid-Until "false"' PAVOK_CHROOTS=link release forky) && fail "a failed bootstrap passed: $out"
grep -qx marked "$base/log" || fail "the chroot folder had no marker when the bootstrap started"
grep -qxF -- '--aptopt=Acquire::Check-Valid-Until "false"' "$base/log" || fail "mmdebstrap was not given the apt options: $(cat "$base/log")"
[ ! -e "$real/forky" ] || fail "a failed bootstrap left $(ls -A "$real/forky")"
# A folder without the marker is never deleted, even anew.
mkdir "$real/bullseye" && touch "$real/bullseye/keep"
out=$(FRESH=1 PAVOK_CHROOTS=link release bullseye) && fail "a folder not made by it was taken: $out"
grep -q "was not made by this script" <<<"$out" && [ -e "$real/bullseye/keep" ] || fail "a folder not made by it: $out"
# One run of a release at a time.
out=$(cd "$base" && PATH="$bin:$PATH" PAVOK_CHROOTS=link flock "$real/.forky.lock" \
  bash "$checkout/tools/platforms/debian_release.sh" forky 2>&1 </dev/null) && fail "a second run passed: $out"
grep -q "another run of forky" <<<"$out" || fail "a second run of forky was not refused: $out"

# A complete chroot: the machine's /usr, read-only.
root=$real/trixie
mkdir -p "$root"/{dev,proc,sys,etc,usr}
touch "$root/.pavok-release" "$root/.complete"
cp /etc/os-release /etc/debian_version "$root/etc/"
machine() {  # binds the machine's programs in again: a run unmounts all in its chroot
  for d in bin lib lib64 sbin; do
    if [ -L "/$d" ]; then cp -P "/$d" "$root/"; elif [ -d "/$d" ]; then mkdir -p "$root/$d" && mount --bind -o ro "/$d" "$root/$d"; fi
  done
  mount --bind -o ro /usr "$root/usr" 2>/dev/null
}
machine || { echo "SKIPPED: cannot mount here"; exit $(( status ? 1 : 77 )); }
PAVOK_CHROOTS=$base/link bash "$checkout/tools/platforms/debian_release.sh" trixie >"$base/run.log" 2>&1 </dev/null &
pid=$!
for _ in $(seq 600); do [ -e "$root/started" ] || ! kill -0 $pid 2>/dev/null && break; sleep 0.1; done
[ -e "$root/started" ] || fail "the step did not start: $(cat "$base/run.log")"
echo "mounted in the step: $(mounted | wc -l)"
kill -TERM $pid
start=$SECONDS
for _ in $(seq 200); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
! kill -0 $pid 2>/dev/null || { fail "still running $((SECONDS - start)) s after the TERM"; kill -9 $pid; }
wait $pid && rc=0 || rc=$?
pid=
echo "ended $((SECONDS - start)) s after the TERM, with $rc"
[ "$rc" = 130 ] || fail "the TERM ended it with $rc: $(cat "$base/run.log")"
left=$(mounted)
[ -z "$left" ] || fail "still mounted after the TERM: $left"
for p in $(inside); do fail "still running inside: $(tr '\0' ' ' <"/proc/$p/cmdline")"; done
[ -e "$root/.complete" ] || fail "the complete chroot was deleted"

# A run whose steps fail fails, and leaves a neighbour's mounts alone.
mkdir -p "$real/trixie2/proc" && mount -t tmpfs pavok-neighbour "$real/trixie2/proc"
touch "$root/fail"
machine
out=$(PAVOK_CHROOTS=$base/link timeout 120 bash "$checkout/tools/platforms/debian_release.sh" trixie 2>&1 </dev/null) &&
  fail "a run whose steps failed passed: $out"
grep -c FAILED <<<"$out" | grep -qx 3 || fail "not every step failed: $out"
findmnt "$real/trixie2/proc" >/dev/null || fail "the run of trixie unmounted trixie2's"
exit $status
