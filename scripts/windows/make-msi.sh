#!/usr/bin/env bash
# Makes the Windows installer of Tarvelo from the folder that the zip holds, with Debian's wixl:
#
#   scripts/windows/make-msi.sh FOLDER ICON VERSION OUT.msi
#
# FOLDER is the installed folder (Tarvelo/ with tarvelo.exe), ICON the program's tarvelo.ico,
# VERSION Tarvelo's version text (1.00.100). packaging/windows/Tarvelo.wxs says what the installer
# does; every file of FOLDER but tarvelo.exe (which the .wxs names itself) goes in through a
# fragment that wixl-heat writes. The MSI's version is major.minor.build of VERSION (1.0.100).
set -euo pipefail
repo=$(cd "$(dirname "$(readlink -f "$0")")/../.." && pwd)
[ $# -eq 4 ] || { echo "usage: $0 FOLDER ICON VERSION OUT.msi" >&2; exit 2; }
folder=$(readlink -f "$1")
icon=$(readlink -f "$2")
version=$3
out=$4
[ -f "$folder/tarvelo.exe" ] || { echo "make-msi: $folder holds no tarvelo.exe" >&2; exit 1; }
[ -f "$icon" ] || { echo "make-msi: no icon $icon" >&2; exit 1; }

# Tarvelo's upgrade code, the same for every version: never change it.
upgrade_code="{0800CA09-05DB-4B1D-A0F3-83351AA891AA}"

IFS=. read -r major minor build rest <<<"$version"
[[ "$major.$minor.$build" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ && -z "${rest:-}" ]] ||
  { echo "make-msi: version $version is not MAJOR.MINOR.BUILD" >&2; exit 1; }
msi_version="$((10#$major)).$((10#$minor)).$((10#$build))"
product_code=$(cmake -DUPGRADE_CODE="$upgrade_code" -DVERSION="$msi_version" -P "$repo/cmake/MsiProductCode.cmake")

# wixl finds files by paths relative to the folder it runs in: a scratch folder with links to both.
out=$(readlink -f "$out")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$folder" "$work/Tarvelo"
ln -s "$icon" "$work/tarvelo.ico"
(cd "$work" && find -L Tarvelo -type f ! -path Tarvelo/tarvelo.exe | LC_ALL=C sort |
  wixl-heat -p Tarvelo/ --directory-ref INSTALLDIR --component-group Files --var var.SourceDir --win64) >"$work/files.wxs"
(cd "$work" && wixl -a x64 -o "$out" \
  -D Version="$msi_version" -D VersionText="$version" -D ProductCode="$product_code" -D UpgradeCode="$upgrade_code" \
  -D SourceDir=Tarvelo -D IconFile=tarvelo.ico -D Win64=yes \
  "$repo/packaging/windows/Tarvelo.wxs" files.wxs)
echo "make-msi: $out: Tarvelo $version (MSI version $msi_version, product code $product_code)" >&2
