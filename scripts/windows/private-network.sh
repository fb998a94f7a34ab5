#!/bin/sh
# Runs a command inside a private network namespace whose only interface is loopback (up), with a
# wineserver of its own: whatever the command sends, broadcasts included, stays on this machine.
#
#   scripts/windows/private-network.sh COMMAND [ARGUMENTS...]
#
# Wine creates a Windows program's sockets in its wineserver, and Wine programs join a running
# wineserver of the same prefix through its socket in a folder under $TMPDIR (Debian's Wine; the
# folder's name is kept in the prefix, so it is the same in every namespace). So the namespace
# gets a private, empty tmpfs, and the Wine programs inside take it as their TMPDIR
# (TARVELO_WINE_TMPDIR): the wineserver started inside is the namespace's own, and no Wine program
# inside can reach one outside (nor one outside ours). Non-root users get the namespaces through a
# user namespace (unshare -r). Inside, TARVELO_PRIVATE_NETWORK=1 tells wine-run so.
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
  export TARVELO_PRIVATE_NETWORK=1 TARVELO_WINE_TMPDIR="$wine_dir"
  set +e
  "$@"
  status=$?
  # The wineserver of this namespace stays up while the command runs (wine-run starts it
  # persistent): end it now, and wait until it has saved the prefix and gone.
  own=$(readlink /proc/self/ns/net)
  servers() {
    for p in /proc/[0-9]*; do
      case $(cat "$p/comm" 2>/dev/null) in
        wineserver*) [ "$(readlink "$p/ns/net" 2>/dev/null)" = "$own" ] && echo "${p#/proc/}" ;;
      esac
    done
  }
  for pid in $(servers); do kill -TERM "$pid" 2>/dev/null; done
  for _ in $(seq 150); do
    [ -n "$(servers)" ] || break
    sleep 0.2
  done
  exit $status
' private-network "$@"
