#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 and starts what its menu entry starts.
#
# Builds the .deb from the build tree, makes a minimal bookworm with debootstrap (from
# deb.debian.org, or TARVELO_DEBIAN_MIRROR) in a temporary folder, gives it what a desktop has for
# file types (shared-mime-info, desktop-file-utils, xdg-utils), installs the package there with
# apt-get (no recommended packages: Depends alone must be enough), then, in a chroot without
# network: checks that the system's MIME database knows *.kelta as application/x-tarvelo-history
# and that xdg-mime opens that type with Tarvelo's desktop entry; runs the command named by Exec=
# of the installed desktop entry from the folder named by Path= with the offscreen Qt platform,
# once as the menu starts it and once as a file manager does for the installed sample (still
# running after a few seconds = it started), checks that the user guide is in that folder, and
# runs tarvelo --version, tarvelo-cli --version and tarvelo-cli check on the installed sample.
# Nothing is kept: the system lives in memory (tmpfs) and the folder goes at the end.
#
# Exits 77 (shown as skipped by CTest) with "skipped: <reason>" when it cannot make the chroot:
# not root, no debootstrap, no private mount namespace, or debootstrap failing (no network).
set -euo pipefail

skip() {
  echo "skipped: $*"
  exit 77
}
# shellcheck source=../scripts/lib.sh
source "$(dirname "$(readlink -f "$0")")/../scripts/lib.sh"
TARVELO_LOG_NAME=package-install-test

# The part inside a private mount namespace: every mount (debootstrap's /proc and /sys, ours)
# disappears with it, also when the test is killed.
if [ "${1:-}" = "--inside" ]; then
  root=$2
  deb=$3
  work=$(dirname "$root")
  mirror=${TARVELO_DEBIAN_MIRROR:-http://deb.debian.org/debian}

  # The fresh system in memory (about 400 MB): faster to make than on disk and gone with the
  # namespace, instead of half a minute of removing it from the disk. On disk when that fails.
  mkdir "$root"
  mount -t tmpfs -o size=2g,mode=0755 tarvelo-chroot "$root" 2>/dev/null || echo "(the chroot is on disk)"

  # The packages this machine's apt has fetched already are taken from its cache (debootstrap checks
  # each against the mirror's checksums, and fetches what is missing or different).
  cache=()
  apt_cache=${TARVELO_DEBOOTSTRAP_CACHE:-/var/cache/apt/archives}
  [ -d "$apt_cache" ] && [ -w "$apt_cache" ] && cache=(--cache-dir="$apt_cache")

  start=$SECONDS
  if ! debootstrap --variant=minbase "${cache[@]}" bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1; then
    tail -5 "$work/debootstrap.log"
    skip "debootstrap of bookworm from $mirror failed (network?), see above"
  fi
  echo "debootstrap: $((SECONDS - start)) s"

  start=$SECONDS
  cp "$deb" "$root/tmp/"
  mount -t proc proc "$root/proc"
  in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
  # The desktop's file type tools first, so that the package's files reach their databases the way
  # they do on a desktop: through the triggers of shared-mime-info and desktop-file-utils.
  if ! { in_root apt-get update &&
         in_root DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
           shared-mime-info desktop-file-utils xdg-utils &&
         in_root DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "/tmp/$(basename "$deb")"; } \
       >"$work/apt.log" 2>&1; then
    tail -30 "$work/apt.log"
    tarvelo_fail "apt-get install of $(basename "$deb") in the fresh bookworm"
  fi
  echo "apt-get install: $((SECONDS - start)) s ($(grep -c '^Setting up' "$work/apt.log") packages set up)"

  # From here on the chroot has no network: nothing the programs do can leave the machine.
  unshare --net true || tarvelo_fail "unshare --net"
  offline() { unshare --net chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

  entry=$root/usr/share/applications/io.github.tarvelo.Tarvelo.desktop
  [ -f "$entry" ] || tarvelo_fail "no desktop entry $entry"
  exec_cmd=$(sed -n 's/^Exec=//p' "$entry")
  path=$(sed -n 's/^Path=//p' "$entry")
  echo "desktop entry: Exec=$exec_cmd Path=$path"
  [ -n "$exec_cmd" ] && [ -n "$path" ] || tarvelo_fail "the desktop entry lacks Exec= or Path="
  offline test -d "$path" || tarvelo_fail "Path=$path is not a folder of the installed system"
  offline test -f "$path/tarvelo_help.pdf" || tarvelo_fail "the user guide is not in Path=$path"

  # The file type: *.kelta is application/x-tarvelo-history, with Tarvelo's icon, and Tarvelo's
  # entry opens it.
  mime_type=application/x-tarvelo-history
  grep -q ":$mime_type:\*\.kelta\$" "$root/usr/share/mime/globs2" || tarvelo_fail "the MIME database does not know *.kelta"
  grep -qx "$mime_type:tarvelo" "$root/usr/share/mime/icons" || tarvelo_fail "the MIME database has no icon for $mime_type"
  default=$(offline xdg-mime query default "$mime_type") || tarvelo_fail "xdg-mime query default $mime_type"
  [ "$default" = "$(basename "$entry")" ] || tarvelo_fail "xdg-mime opens $mime_type with '$default'"
  echo "xdg-mime query default $mime_type: $default"

  # The menu entry's command, from its folder, offscreen: alive after 5 seconds = started. The
  # menu passes no file (the field code %f goes); a file manager passes the file for it.
  for file in "" /usr/share/tarvelo/sample.kelta; do
    command=${exec_cmd//%f/$file}
    status=0
    offline QT_QPA_PLATFORM=offscreen timeout -k 5 5 /bin/sh -c "cd \"\$1\" && exec $command" sh "$path" \
      >"$work/tarvelo.log" 2>&1 || status=$?
    [ "$status" -eq 124 ] || { cat "$work/tarvelo.log"; tarvelo_fail "'$command' in $path ended with status $status within 5 s"; }
    echo "'$command' in $path: still running after 5 s"
  done

  version=$(dpkg-deb --field "$deb" Version)
  [ "$(offline tarvelo --version)" = "tarvelo $version" ] || tarvelo_fail "tarvelo --version: $(offline tarvelo --version 2>&1)"
  [ "$(offline tarvelo-cli --version)" = "$version" ] || tarvelo_fail "tarvelo-cli --version: $(offline tarvelo-cli --version 2>&1)"
  offline tarvelo-cli check /usr/share/tarvelo/sample.kelta || tarvelo_fail "tarvelo-cli check of the installed sample"
  echo "tarvelo --version, tarvelo-cli --version: $version"
  exit 0
fi

build=$1
[ "$(id -u)" -eq 0 ] || skip "debootstrap and chroot need root"
command -v debootstrap >/dev/null || skip "debootstrap is not installed (scripts/ensure-deps.sh installs it)"
command -v unshare >/dev/null || skip "unshare is not installed (util-linux)"
unshare --mount true 2>/dev/null || skip "cannot make a private mount namespace here"

# Outside the repository and outside /tmp (which may be mounted noexec or nodev).
started=$SECONDS
work=$(mktemp -d /var/tmp/tarvelo-install-test.XXXXXX)
# --one-file-system: never into anything still mounted below the folder.
trap 'rm -rf --one-file-system "$work"' EXIT
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB >cpack.log 2>&1) || { cat "$work/cpack.log"; tarvelo_fail "cpack"; }
deb=$(ls "$work"/tarvelo_*.deb)
echo "cpack: $((SECONDS - started)) s"
status=0
unshare --mount --propagation private "$0" --inside "$work/root" "$deb" || status=$?
start=$SECONDS
rm -rf --one-file-system "$work"
echo "removing the chroot: $((SECONDS - start)) s; whole test: $((SECONDS - started)) s"
exit "$status"
