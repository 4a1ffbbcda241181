#!/usr/bin/env bash
# The README's two commands on another Debian release, as a new user there
# would run them: a minimal chroot of RELEASE from the Debian archive this
# machine's apt uses, with only git, make, sudo and ca-certificates added; a
# fresh clone of this checkout's HEAD; `make run` and `make test` with a clean
# environment and no display. Needs root (it mounts).
#   scripts/test-release.sh RELEASE     e.g. trixie, bullseye, forky
# The chroot is kept in $PAVOK_CHROOTS/RELEASE (default /var/tmp/pavok-release)
# with the packages the commands installed, so a second run takes minutes;
# FRESH=1 builds it anew.
set -euo pipefail
release=${1:?usage: $0 RELEASE (a Debian codename: trixie, bullseye, forky)}
top=$(cd "$(dirname "$0")/.." && pwd)
chroots=${PAVOK_CHROOTS:-/var/tmp/pavok-release}
root=$chroots/$release
[ "$(id -u)" -eq 0 ] || exec sudo -- "$0" "$@"
bash "$top/scripts/install-deps.sh" release

# Every mount under the chroot, deepest first.
mounts() { findmnt -rn -o TARGET | awk -v r="$root" 'index($0, r "/") == 1 || $0 == r' | sort -ru; }
unmount() {
  local m p _
  # A process left running inside (a test's stray program) would hold its mounts.
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && kill -9 "${p#/proc/}" 2>/dev/null
  done
  for _ in 1 2 3; do  # stacked mounts come off one at a time
    for m in $(mounts); do umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true; done
  done
  [ -z "$(mounts)" ] || { echo "pavok: still mounted under $root:" $(mounts) >&2; return 1; }
}
# Only with nothing mounted under it, and never across into another file system:
# a delete that followed a bound /dev would empty the machine's own.
remove() { unmount && rm -rf --one-file-system "$root"; }
trap unmount EXIT
trap 'exit 130' INT TERM

[ "${FRESH:-0}" = 1 ] && [ -e "$root" ] && remove
if [ ! -e "$root/.complete" ]; then
  [ -e "$root" ] && remove  # half-made by an interrupted run
  mirror=$(apt-get indextargets --format '$(LABEL) $(REPO_URI)' | sed -n 's/^Debian //p' | head -n 1)
  mkdir -p "$chroots"
  mmdebstrap --variant=apt --include=git,make,sudo,ca-certificates "$release" "$root" \
    "${mirror:-http://deb.debian.org/debian}"
  touch "$root/.complete"
fi

# Slave binds: a mount made inside never reaches the machine's own tree.
for d in dev proc sys; do
  mount --rbind "/$d" "$root/$d"
  mount --make-rslave "$root/$d"
done
cp /etc/resolv.conf "$root/etc/resolv.conf"

rm -rf --one-file-system "$root/pavok"
git clone -q --no-hardlinks "$top" "$root/pavok"
inside() {
  chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 bash -c "cd /pavok && $1"
}

echo "== $release: $(inside '. /etc/os-release && echo "$PRETTY_NAME, Debian $(cat /etc/debian_version)"')"
status=0
step() {  # NAME COMMAND: runs it inside, says how it went and how long it took
  local start=$SECONDS rc=0
  echo "== $release: $1"
  inside "$2" || rc=$?
  echo "== $release: $1: $([ $rc -eq 0 ] && echo passed || echo "FAILED ($rc)") in $((SECONDS - start)) s"
  [ $rc -eq 0 ] || status=1
}
# With no display the program can only say so, once it is built.
step "make run" 'out=$(make run 2>&1); echo "$out" | tail -n 3
  [ -x build/pavok ] && grep -q "failed to open display" <<<"$out" && echo "built; with no display, it can only say so"'
step "make test" 'make test'
# And on a display it opens its window.
# The chroot sees every process of the machine: only make's own pavok is stopped.
step "make run on a display" 'bash scripts/with-display.sh bash -c "make run >run.log 2>&1 & m=\$!
  timeout 120 xdotool search --sync --name \"^Pavok\$\" >/dev/null; ok=\$?; pkill -x -P \$m pavok; wait; exit \$ok"'
exit $status
