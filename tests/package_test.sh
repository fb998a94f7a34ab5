#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks what it holds and depends on.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cpack --config "$build/CPackConfig.cmake" -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
deb=$(ls tarvelo_*.deb)
dpkg-deb --field "$deb" Package | grep -qx tarvelo
depends=$(dpkg-deb --field "$deb" Depends)
for qt in libqt6widgets6 libqt6gui6 libqt6core6; do
  echo "$depends" | grep -q "$qt" || { echo "missing dependency $qt: $depends"; exit 1; }
done
contents=$(dpkg-deb --contents "$deb")
for file in ./usr/bin/tarvelo ./usr/bin/tarvelo-cli ./usr/bin/tarvelo-carsim \
            ./usr/share/tarvelo/tarvelo_help.pdf ./usr/share/tarvelo/sample.kelta \
            ./usr/share/applications/io.github.tarvelo.Tarvelo.desktop ./usr/share/metainfo/io.github.tarvelo.Tarvelo.metainfo.xml ./usr/share/icons/hicolor/256x256/apps/tarvelo.png; do
  echo "$contents" | grep -q " $file\$" || { echo "missing $file"; echo "$contents"; exit 1; }
done
echo "$deb: $depends"
