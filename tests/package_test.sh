#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks it: what it holds and depends on,
# lintian (no error, no warning), the desktop entry (desktop-file-validate, and the program and
# folder it names are in the package, opening the *.kelta file type), the file type itself
# (update-mime-database takes it: *.kelta, with the icon), the AppStream metadata (appstreamcli
# validate, providing the file type), the manual pages and the package's documentation. Then
# installs the build tree into a prefix with a space in it and checks that the desktop entry
# names that prefix and that the prefix's MIME database opens *.kelta with it.
set -euo pipefail
build=$1
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# shellcheck source=../scripts/lib.sh
source "$(dirname "$(readlink -f "$0")")/../scripts/lib.sh"
TARVELO_LOG_NAME=package-test

for tool in lintian desktop-file-validate appstreamcli man update-mime-database update-desktop-database; do
  command -v "$tool" >/dev/null ||
    tarvelo_fail "$tool is missing (source scripts/ensure-deps.sh; tarvelo_ensure_packages "${tarvelo_packages[@]}" installs it)"
done

cpack --config "$build/CPackConfig.cmake" -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
deb=$(ls tarvelo_*.deb)
version=$(dpkg-deb --field "$deb" Version)
dpkg-deb --field "$deb" Package | grep -qx tarvelo || tarvelo_fail "package name"
depends=$(dpkg-deb --field "$deb" Depends)
for qt in libqt6widgets6 libqt6gui6 libqt6core6; do
  echo "$depends" | grep -q "$qt" || tarvelo_fail "missing dependency $qt: $depends"
done
contents=$(dpkg-deb --contents "$deb")
desktop=usr/share/applications/io.github.tarvelo.Tarvelo.desktop
metainfo=usr/share/metainfo/io.github.tarvelo.Tarvelo.metainfo.xml
mime_xml=usr/share/mime/packages/io.github.tarvelo.Tarvelo.xml
mime_type=application/x-tarvelo-history
for file in ./usr/bin/tarvelo ./usr/bin/tarvelo-cli ./usr/bin/tarvelo-carsim \
            ./usr/share/tarvelo/tarvelo_help.pdf ./usr/share/tarvelo/tarvelo_help_de.pdf ./usr/share/tarvelo/sample.kelta \
            "./$desktop" "./$metainfo" "./$mime_xml" ./usr/share/icons/hicolor/256x256/apps/tarvelo.png \
            ./usr/share/doc/tarvelo/copyright ./usr/share/doc/tarvelo/changelog.gz \
            ./usr/share/man/man1/tarvelo.1.gz ./usr/share/man/man1/tarvelo-cli.1.gz \
            ./usr/share/man/man1/tarvelo-carsim.1.gz; do
  echo "$contents" | grep -q " $file\$" || { echo "$contents"; tarvelo_fail "missing $file"; }
done
echo "$contents" | grep -q '/usr/local' && { echo "$contents"; tarvelo_fail "the package holds /usr/local"; }

# lintian: no error and no warning (the informational tags are shown, not counted).
echo "== lintian $deb"
status=0
lintian --display-info --fail-on error,warning "$deb" >lintian.log 2>&1 || status=$?
grep -v 'running with root privileges' lintian.log || true
[ "$status" -eq 0 ] || tarvelo_fail "lintian exits with $status"
grep -q '^[EW]: ' lintian.log && tarvelo_fail "lintian reports errors or warnings"

root=$work/root
dpkg-deb -x "$deb" "$root"

# The desktop entry: valid without a single remark, and what it starts is in the package.
echo "== desktop-file-validate $desktop"
desktop-file-validate "$root/$desktop" >validate.log 2>&1 || true
cat validate.log
[ -s validate.log ] && tarvelo_fail "desktop-file-validate has remarks on $desktop"
exec_line=$(grep '^Exec=' "$root/$desktop")
path_line=$(grep '^Path=' "$root/$desktop")
[ "$exec_line" = "Exec=/usr/bin/tarvelo %f" ] || tarvelo_fail "$desktop: $exec_line"
[ "$path_line" = "Path=/usr/share/tarvelo" ] || tarvelo_fail "$desktop: $path_line"
grep -qx "MimeType=$mime_type;" "$root/$desktop" || tarvelo_fail "$desktop does not open $mime_type"
[ -x "$root/usr/bin/tarvelo" ] || tarvelo_fail "the program of the desktop entry is not in the package"
[ -f "$root/usr/share/tarvelo/tarvelo_help.pdf" ] || tarvelo_fail "the user guide is not in the desktop entry's Path"

# The file type: the MIME database made from it alone knows *.kelta as the type, with the icon
# the package installs (the file manager's icon for history files).
echo "== update-mime-database ($mime_xml)"
mkdir -p mime/packages
cp "$root/$mime_xml" mime/packages/
# (A database that the desktop does not read, so XDG_DATA_DIRS names it to keep the tool quiet.)
XDG_DATA_DIRS=$work update-mime-database "$work/mime" >mime.log 2>&1 || { cat mime.log; tarvelo_fail "update-mime-database refuses $mime_xml"; }
[ -s mime.log ] && { cat mime.log; tarvelo_fail "update-mime-database has remarks on $mime_xml"; }
grep -q "^[0-9]*:$mime_type:\*\.kelta\$" mime/globs2 || { cat mime/globs2; tarvelo_fail "*.kelta is not $mime_type"; }
grep -qx "$mime_type:tarvelo" mime/icons || { cat mime/icons; tarvelo_fail "$mime_type has not the icon tarvelo"; }
grep -q "<comment>" "mime/${mime_type}.xml" || tarvelo_fail "$mime_type has no comment"

# The AppStream metadata: no error, warning or info (only pedantic notes), launching the desktop
# entry, with the package's version as its newest release.
echo "== appstreamcli validate $metainfo"
appstreamcli validate --no-net "$root/$metainfo" >appstream.log 2>&1 || { cat appstream.log; tarvelo_fail "appstreamcli validate"; }
cat appstream.log
grep -q '^[EWI]: ' appstream.log && tarvelo_fail "appstreamcli validate has findings on $metainfo"
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$root/$metainfo" ||
  tarvelo_fail "$metainfo does not launch $(basename "$desktop")"
grep -q "<mediatype>$mime_type</mediatype>" "$root/$metainfo" || tarvelo_fail "$metainfo does not provide $mime_type"
release=$(grep -o '<release version="[^"]*"' "$root/$metainfo" | head -1 | cut -d'"' -f2)
[ "$release" = "$version" ] || tarvelo_fail "$metainfo: newest release $release, package $version"

# The manual pages: each renders without a warning and names its program and the version.
for page in tarvelo tarvelo-cli tarvelo-carsim; do
  file=$root/usr/share/man/man1/$page.1.gz
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null)
  [ -z "$warnings" ] || tarvelo_fail "$page.1: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$file" 2>/dev/null)
  echo "$text" | grep -Eq "^ +$page +- " || tarvelo_fail "$page.1 has no NAME line for $page"
  echo "$text" | grep -Eq "$page +$version" || tarvelo_fail "$page.1 does not name version $version"
done
zcat "$root/usr/share/man/man1/tarvelo.1.gz" | grep -q 'tarvelo\\-cli\|tarvelo-cli' ||
  tarvelo_fail "tarvelo.1 does not point to tarvelo-cli"

# The package's documentation: the changelog's newest entry is this version; the copyright file
# is machine-readable and names the project's licence.
zcat "$root/usr/share/doc/tarvelo/changelog.gz" | head -1 | grep -q "^tarvelo ($version) " ||
  tarvelo_fail "changelog.gz does not start with version $version"
head -1 "$root/usr/share/doc/tarvelo/copyright" |
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  tarvelo_fail "copyright is not in the machine-readable format"
words() { tr -s ' \n' '  '; }
[ "$(sed -n '/^Permission is hereby granted/,$p' "$source_dir/LICENSE" | words)" = \
  "$(awk -v RS= '/^License: Expat\n/' "$root/usr/share/doc/tarvelo/copyright" | sed '1d;/^ \.$/d;s/^ //' | words)" ] ||
  tarvelo_fail "the Expat text of copyright is not the text of LICENSE"

# cmake --install into another prefix: the desktop entry names that prefix, not the configured
# one and not /usr.
prefix="$work/a prefix"
cmake --install "$build" --prefix "$prefix" >install.log 2>&1 || { cat install.log; tarvelo_fail "cmake --install"; }
installed="$prefix/share/applications/$(basename "$desktop")"
grep -qxF "Exec=\"$prefix/bin/tarvelo\" %f" "$installed" || { cat "$installed"; tarvelo_fail "Exec= of $installed"; }
grep -qxF "Path=$prefix/share/tarvelo" "$installed" || { cat "$installed"; tarvelo_fail "Path= of $installed"; }
[ -f "$prefix/share/tarvelo/tarvelo_help.pdf" ] || tarvelo_fail "no user guide in $prefix/share/tarvelo"
desktop-file-validate "$installed" >validate.log 2>&1 || true
[ -s validate.log ] && { cat validate.log; tarvelo_fail "desktop-file-validate has remarks on $installed"; }
grep -qF "$installed" "$build/install_manifest.txt" || tarvelo_fail "the desktop entry is not in install_manifest.txt"
# The installation brought the prefix's databases up to date: *.kelta is the type, which the
# entry opens. They are caches of all programs, so not in the manifest, which removes files.
grep -q ":$mime_type:\*\.kelta\$" "$prefix/share/mime/globs2" || tarvelo_fail "$prefix/share/mime does not know *.kelta"
grep -qx "$mime_type=$(basename "$desktop");" "$prefix/share/applications/mimeinfo.cache" ||
  { cat "$prefix/share/applications/mimeinfo.cache"; tarvelo_fail "$prefix/share/applications/mimeinfo.cache does not open $mime_type"; }
grep -q "$prefix/share/mime/globs2\|mimeinfo.cache" "$build/install_manifest.txt" && tarvelo_fail "install_manifest.txt holds a cache"

echo "$deb: $depends"
