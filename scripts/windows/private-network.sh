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
  set +e
  "$@"
  status=$?
  # A wineserver lingers a few seconds after its last program: wait for those of this namespace.
  own=$(readlink /proc/self/ns/net)
  for _ in $(seq 150); do
    lingering=""
    for p in /proc/[0-9]*; do
      [ "$(cat "$p/comm" 2>/dev/null)" = wineserver ] && [ "$(readlink "$p/ns/net" 2>/dev/null)" = "$own" ] && lingering=1
    done
    [ -n "$lingering" ] || break
    sleep 0.2
  done
  exit $status
' private-network "$@"
