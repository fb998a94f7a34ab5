# What Tarvelo's scripts share, sourced by them (POSIX sh, so that the generated wine-run can use
# it as well as the bash scripts):
#
#   tarvelo_ensure_packages PKG...  installs the Debian packages of the list that are missing
#   tarvelo_cache_dir               the folder of the builds kept between runs (Qt for mingw, ...)
#   tarvelo_ctest_summary LOG       ctest's "N% tests passed, ..." line of LOG, or why there is none
#   tarvelo_log TEXT... / tarvelo_fail TEXT...
#                                   a line on stderr, named by TARVELO_LOG_NAME; fail also ends with 1

tarvelo_log() { echo "${TARVELO_LOG_NAME:-tarvelo}: $*" >&2; }
tarvelo_fail() {
  tarvelo_log "FAILED: $*"
  exit 1
}

tarvelo_cache_dir() { echo "${TARVELO_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/tarvelo}"; }

tarvelo_ctest_summary() {
  grep -E '^[0-9]+% tests passed' "$1" 2>/dev/null || echo "ctest did not run"
}

# Root runs apt-get itself; anyone else goes through sudo. apt waits for another apt run (the lock
# timeout) instead of failing, and its chatter goes to stderr. A failed install is tried once more
# after apt-get update (a machine whose package lists are old).
tarvelo_ensure_packages() {
  tarvelo_missing=""
  for tarvelo_package in "$@"; do
    dpkg-query -W -f='${Status}\n' "$tarvelo_package" 2>/dev/null | grep -q '^install ok installed$' ||
      tarvelo_missing="$tarvelo_missing $tarvelo_package"
  done
  [ -z "$tarvelo_missing" ] && return 0
  tarvelo_log "installing missing packages:$tarvelo_missing"
  tarvelo_sudo=""
  [ "$(id -u)" -eq 0 ] || tarvelo_sudo=sudo
  # shellcheck disable=SC2086 # the list is words
  {
    $tarvelo_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
      -o DPkg::Lock::Timeout=600 $tarvelo_missing ||
      { $tarvelo_sudo apt-get update -o DPkg::Lock::Timeout=600 &&
        $tarvelo_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
          -o DPkg::Lock::Timeout=600 $tarvelo_missing; }
  } >&2
}
