#!/bin/sh
# Runs a command inside a private network namespace whose only interface is loopback (up), with a
# wineserver of its own: whatever the command sends, broadcasts included, stays on this machine.
#
#   scripts/windows/private-network.sh COMMAND [ARGUMENTS...]
#
# Wine creates a Windows program's sockets in its wineserver, and Wine programs join a running
# wineserver of the same prefix through /tmp/.wine-<uid>. So the namespace also gets a private,
# empty /tmp/.wine-<uid>: the wineserver started inside is the namespace's own, and no Wine
# program inside can reach one outside (nor one outside ours). Non-root users get the namespaces
# through a user namespace (unshare -r). Inside, TARVELO_PRIVATE_NETWORK=1 tells wine-run so.
set -eu

if [ "${TARVELO_PRIVATE_NETWORK:-}" = 1 ]; then
  exec "$@"
fi
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGUMENTS...]" >&2; exit 2; }

user=""
[ "$(id -u)" -eq 0 ] || user="-r"
# shellcheck disable=SC2016
exec unshare $user -n -m --propagation private sh -c '
  set -e
  PATH=$PATH:/usr/sbin:/sbin
  ip link set lo up
  wine_dir=/tmp/.wine-$(id -u)
  mkdir -p "$wine_dir"
  mount -t tmpfs -o mode=0700 tarvelo-wine "$wine_dir"
  export TARVELO_PRIVATE_NETWORK=1
  # A Wine program joins the wineserver of its prefix, which ends a few seconds after its last
  # program; one that connects just as it ends is turned away ("recvmsg: Connection reset by
  # peer") and fails at once. So, where the prefix exists, one wineserver stays up for the whole
  # command (and at most a minute after its last program, should this script be killed), and is
  # ended after it. Its service processes are started here too, by a first program with no output:
  # started by a test, they would keep the output pipe of that test open as long as the server lives.
  prefix=${WINEPREFIX:-${TARVELO_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/tarvelo}/wineprefix}
  persistent=""
  if [ -f "$prefix/system.reg" ] && command -v wineserver >/dev/null 2>&1; then
    WINEPREFIX=$prefix wineserver -p60 </dev/null >/dev/null 2>&1 && persistent=1
    WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
      wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  fi
  set +e
  "$@"
  status=$?
  [ -z "$persistent" ] || WINEPREFIX=$prefix wineserver -k
  # A wineserver lingers a few seconds after its last program: wait for those of this namespace.
  own=$(readlink /proc/self/ns/net)
  for _ in $(seq 150); do
    lingering=""
    for p in /proc/[0-9]*; do
      # Debian runs it as wineserver64.
      case "$(cat "$p/comm" 2>/dev/null)" in
        wineserver*) [ "$(readlink "$p/ns/net" 2>/dev/null)" = "$own" ] && lingering=1 ;;
      esac
    done
    [ -n "$lingering" ] || break
    sleep 0.2
  done
  exit $status
' private-network "$@"
