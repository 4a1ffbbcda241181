# What the scripts that work in chroots of Debian releases share
# (tools/release/deb.sh, tools/platforms/debian_release.sh); sourced.

job=  # the step running, which the caller's trap stops

# LIMIT COMMAND...: in the background, so that a TERM or Ctrl-C reaches the
# caller's trap at once, and no longer than LIMIT.
run() {
  local rc=0
  timeout -k 30 "$@" &
  job=$!
  wait "$job" || rc=$?
  job=
  return "$rc"
}
# The archive this machine's apt takes Debian from: labelled Debian alone, not
# Debian Backports, whose label a plain prefix would take in.
mirror() {
  local uri
  uri=$(apt-get indextargets --format '$(LABEL) $(REPO_URI)' |
    sed -n 's/^Debian \([a-z]*:\)/\1/p' | head -n 1)
  echo "${uri:-http://deb.debian.org/debian}"
}
