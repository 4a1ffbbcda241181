#!/usr/bin/env bash
# Pavok's Debian packages of the last commit, built as Debian builds packages,
# in a minimal chroot of the release they are for and never on this machine
# (CONTRIBUTING.md, "Releasing", says what each step does):
#   deb.sh build RELEASE OUT   the packages, checked by lintian, autopkgtest
#                              and blhc, into OUT
#   deb.sh check RELEASE OUT   piuparts, and the same bytes from builds varied
set -euo pipefail
shopt -s inherit_errexit

readonly TOP=$(realpath "$(dirname "$0")/../..")
source "$TOP/tools/chroots.sh"
scratch=()
as=()  # who runs dpkg-source: another user, for the second source package

# The step running stopped: sbuild and mmdebstrap then undo their chroots,
# whose mounts live and die in their own namespaces.
stop() {
  [ -z "$job" ] || { kill "$job" 2>/dev/null; wait "$job" 2>/dev/null; }
  rm -rf --one-file-system "${scratch[@]}"
}
# RELEASE WORDS...: a step, with the seconds since the start.
say() { echo "== $1: ${*:2} (at $SECONDS s)"; }
# Unshare maps the chroot's users onto a range of the caller's own; a fresh
# machine has none for root, and sbuild then cannot make a chroot.
subordinate_ids() {
  local user file
  user=$(id -un)
  for file in /etc/subuid /etc/subgid; do
    grep -q "^$user:" "$file" 2>/dev/null && continue
    [ "$(id -u)" -eq 0 ] || {
      echo "pavok: $user has no range in $file (see subuid(5))" >&2
      return 1
    }
    echo "root:100000:65536" >>"$file"
  done
}
# Which packages this machine has: a build is never to change them. (Given
# no testbed, autopkgtest tests on the machine itself, and sbuild gives it
# none unless told.)
packages() {
  dpkg-query -W -f '${Package}:${Architecture} ${Version} ${db:Status-Abbrev}\n'
}
unchanged() {
  local changes
  changes=$(diff <(echo "$1") <(packages)) || {
    echo "pavok: the build changed this machine's packages:" >&2
    echo "$changes" >&2
    return 1
  }
}
# RELEASE: the path of its chroot tarball, made if missing or FRESH=1.
chroot_tarball() {
  local release=$1 tarball
  tarball=${XDG_CACHE_HOME:-$HOME/.cache}/sbuild/$release-$ARCH.tar
  if [ "${FRESH:-0}" = 1 ] || [ ! -s "$tarball" ]; then
    mkdir -p "$(dirname "$tarball")"
    say "$release" "a build chroot, into $tarball" >&2
    run 30m mmdebstrap --quiet --variant=buildd --mode=unshare --format=tar \
      "$release" "$tarball.new" "$(mirror)" >&2
    mv "$tarball.new" "$tarball"
  fi
  echo "$tarball"
}
# OUT [VARY...]: the source package over the release tarball, made through
# VARY (a command prefix); prints the .dsc's path.
source_package() {
  local out=$1 tarball version
  shift
  tarball=$("$@" bash "$TOP/tools/release/dist.sh" "$out")
  version=${tarball##*/pavok-}
  version=${version%.tar.gz}
  cp "$tarball" "$out/pavok_$version.orig.tar.gz"
  rm -rf "$out/pavok-$version"
  # The modes as the archives give them, whatever the umask: dpkg-source
  # keeps them in the Debian tarball.
  tar -xpzf "$tarball" -C "$out"
  git -C "$TOP" -c tar.umask=0022 archive HEAD debian |
    tar -xp -C "$out/pavok-$version"
  (cd "$out" && "${as[@]}" "$@" dpkg-source --build "pavok-$version" >&2)
  rm -rf "$out/pavok-$version"
  echo "$out/pavok_$(dpkg-parsechangelog -l "$TOP/debian/changelog" \
    -S Version).dsc"
}
build() {
  local release=$1 out=$2 tarball dsc config log before
  tarball=$(chroot_tarball "$release")
  rm -rf "$out"
  mkdir -p "$out"
  out=$(realpath "$out")
  dsc=$(source_package "$out")
  # A failed lintian or autopkgtest fails the build.
  config=$out/sbuild.conf
  printf '$%s_require_success = 1;\n' lintian autopkgtest >"$config"
  before=$(packages)
  say "$release" "sbuild $(basename "$dsc")"
  SBUILD_CONFIG=$config run 2h sbuild --chroot-mode=unshare \
    --chroot="$tarball" --arch="$ARCH" --dist="$(dpkg-parsechangelog \
      -l "$TOP/debian/changelog" -S Distribution)" \
    --build-dir="$out" --no-run-piuparts \
    --run-lintian --lintian-opts='--pedantic -I' \
    --lintian-opts='--fail-on=error,warning,pedantic' \
    --run-autopkgtest --autopkgtest-root-arg= \
    --autopkgtest-opt=--apt-upgrade --autopkgtest-opt=-- \
    --autopkgtest-opt=unshare --autopkgtest-opt=--tarball="$tarball" \
    --autopkgtest-opt=--arch="$ARCH" "$dsc"
  rm "$config"
  unchanged "$before"
  log=$(realpath "$out"/pavok_*_"$ARCH".build)
  sed -n '/^Running lintian/,/^Lintian run/p' "$log" | grep '^[A-Z]: pavok' ||
    echo "lintian: no tag"
  grep -E '^(Lintian|Autopkgtest): ' "$log"
  say "$release" "blhc $(basename "$log")"
  blhc --all --debian "$log"
  say "$release" "built, and checked by lintian, autopkgtest and blhc:"
  (cd "$out" && ls -1 ./*.dsc ./*.tar.* ./*.deb ./*.changes ./*.buildinfo)
}
# What a second build takes other than the first: the time a year on, a
# time zone fourteen hours ahead, French, group-writable files, another user
# and another path.
readonly LATER='+397 days' ZONE=Pacific/Kiritimati LOCALE=fr_CH.UTF-8
readonly TWIN_PATH=/build/another/path/than/the/first
# Run as root in the second build's fresh chroot.
TWIN_BUILD=$(cat <<'EOF'
useradd --create-home twin
echo "$LOCALE UTF-8" >/etc/locale.gen
locale-gen
mkdir -p "$TWIN_PATH"
dpkg-source -x /srv/*.dsc "$TWIN_PATH/pavok"
apt-get -y build-dep "$TWIN_PATH/pavok"
chown -R twin "$TWIN_PATH"
cd "$TWIN_PATH/pavok"
runuser -u twin -- env TZ="$ZONE" LANG="$LOCALE" LC_ALL="$LOCALE" \
  faketime "$LATER" sh -c 'umask 0002
  echo "as $(id -un), umask $(umask), $(date), $LC_ALL, in $PWD"
  dpkg-buildpackage -b -us -uc'
EOF
)
readonly TWIN_BUILD

# OUT: the release tarball and the source package made again so (the source
# package as nobody, where this is root) must be the same bytes.
same_source() {
  local out=$1 twin file
  twin=$(mktemp -d "/tmp/pavok twin.XXXXXX")
  scratch+=("$twin")
  mkdir -p "$twin/other/path"
  chmod -R 777 "$twin"
  [ "$(id -u)" -ne 0 ] || as=(setpriv --reuid=nobody --regid=nogroup
    --clear-groups env HOME=/nonexistent)
  (umask 0002 && source_package "$twin/other/path" env TZ=$ZONE \
    LC_ALL=C.UTF-8 faketime "$LATER" >/dev/null)
  as=()
  for file in "$out"/*.tar.* "$out"/*.dsc; do
    cmp "$file" "$twin/other/path/${file##*/}" || {
      echo "pavok: made again, ${file##*/} differs (is $out of" \
        "this commit? make test-deb makes it anew)" >&2
      return 1
    }
  done
  echo "the same source: $(cd "$out" && echo *.tar.* *.dsc)"
}
# RELEASE OUT: the binary packages built again, in a fresh chroot, as
# another user, must be the same bytes.
same_binaries() {
  local release=$1 out=$2 deb
  export TWIN=$out/twin SOURCE=$out ZONE LOCALE LATER TWIN_PATH TWIN_BUILD
  rm -rf "$TWIN"
  mkdir -m 777 "$TWIN"
  say "$release" "the binary packages built again, varied, into $TWIN"
  run 1h mmdebstrap --quiet --variant=buildd --mode=unshare \
    --include=faketime,locales \
    --customize-hook='cp "$SOURCE"/*.dsc "$SOURCE"/*.tar.* "$1/srv"' \
    --customize-hook='chroot "$1" sh -ec "$TWIN_BUILD"' \
    --customize-hook='cp "$1/$TWIN_PATH"/*.deb "$TWIN"' \
    "$release" /dev/null "$(mirror)" >"$TWIN/build.log" 2>&1 || {
    tail -n 30 "$TWIN/build.log" >&2
    return 1
  }
  grep -a '^as twin, ' "$TWIN/build.log"
  for deb in "$out"/*.deb; do
    cmp "$deb" "$TWIN/${deb##*/}" || {
      diffoscope "$deb" "$TWIN/${deb##*/}" || true
      return 1
    }
  done
  echo "the same packages: $(cd "$out" && echo *.deb)"
}
# RELEASE OUT: piuparts, in a minimal chroot of RELEASE: the packages
# installed and purged, and installed over the second build. It needs root.
piuparts_check() {
  local release=$1 out=$2 base previous root=()
  [ "$(id -u)" -eq 0 ] || root=(sudo --)
  base=${XDG_CACHE_HOME:-$HOME/.cache}/sbuild/$release-$ARCH-minbase.tar.gz
  if [ "${FRESH:-0}" = 1 ] || [ ! -s "$base" ]; then
    run 30m mmdebstrap --quiet --variant=minbase --mode=unshare \
      "$release" "${base%.tar.gz}.new.tar.gz" "$(mirror)"
    mv "${base%.tar.gz}.new.tar.gz" "$base"
  fi
  # apt's source lines take no spaces. piuparts makes its chroot in TMPDIR,
  # and leaves it there when stopped.
  previous=$(mktemp -d /tmp/pavok-previous.XXXXXX)
  scratch+=("$previous" "$previous.tmp")
  mkdir "$previous.tmp"
  cp "$out"/twin/*.deb "$previous"
  (cd "$previous" && dpkg-scanpackages . >Packages 2>/dev/null)
  say "$release" piuparts
  # Its mounts in a namespace of their own, which ends with it. Debconf from
  # trixie on leaves tmp.ci in its cache, which bookworm's piuparts takes
  # for a file the packages left.
  run 1h "${root[@]}" env TMPDIR="$previous.tmp" \
    unshare --mount --propagation private piuparts \
    --basetgz="$base" --distribution="$release" --mirror="$(mirror)" \
    --bindmount="$previous" --ignore=/var/cache/debconf/tmp.ci/ \
    --extra-repo="deb [trusted=yes] file://$previous ./" \
    "$out"/pavok_*_"$ARCH".deb >"$out/piuparts.log" 2>&1 || {
    tail -n 30 "$out/piuparts.log" >&2
    return 1
  }
  sed -n 's/.* INFO: \(PASS: .*\)/piuparts: \1/p' "$out/piuparts.log"
}
check() {
  local release=$1 out before
  out=$(realpath "$2")
  before=$(packages)
  same_source "$out"
  same_binaries "$release" "$out"
  piuparts_check "$release" "$out"
  unchanged "$before"
  say "$release" "the same bytes again, and installed cleanly"
}
main() {
  local action=${1-} release=${2-} out=${3-}
  [[ $action =~ ^(build|check)$ && -n $out ]] || {
    echo "usage: $0 build|check RELEASE OUT" >&2
    exit 2
  }
  [[ $release =~ ^[a-z][a-z0-9]*$ ]] || {
    printf 'pavok: %q is not a Debian codename\n' "$release" >&2
    exit 2
  }
  ARCH=$(dpkg --print-architecture)
  trap stop EXIT
  trap 'exit 130' INT TERM
  subordinate_ids
  "$action" "$release" "$out"
}

main "$@"
