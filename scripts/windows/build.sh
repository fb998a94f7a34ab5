#!/usr/bin/env bash
# Builds Tarvelo for 64-bit Windows on Debian 12 and tests it under Wine:
#
#   scripts/windows/build.sh
#
#  1. installs the Debian packages that are missing (mingw-w64, Wine, Xvfb, ...);
#  2. builds Qt 6 and GoogleTest for mingw, or takes them from ~/.cache/tarvelo (qt-mingw.sh);
#  3. builds Tarvelo for Windows in build-windows/ and runs the window tests (and the check of the
#     programs' version information and icon) under Wine, with Qt's offscreen platform;
#  4. makes build-windows/Tarvelo-<version>-win64.zip: the folder Tarvelo/ with the three programs,
#     the Qt and runtime DLLs, the user guide, the sample history, README.txt and the licences;
#  5. makes build-windows/Tarvelo-<version>-win64.msi of the same folder with wixl (make-msi.sh):
#     the installer for "Program Files\Tarvelo", with the Start-menu shortcut and the *.kelta type;
#  6. signs the programs and the installer when TARVELO_SIGN_PKCS12 names a certificate (sign.sh),
#     and tests the signing with a throw-away certificate on copies (sign-test.sh);
#  7. tests the installer under Wine (msi-test.sh): install, files and keys, a history file opened
#     through its file type, an upgrade by a newer version, and an uninstall that leaves nothing;
#  8. unzips the zip into a fresh folder and tries it from there: tarvelo-cli.exe writes the sample
#     into the Linux tarvelo-carsim, and tarvelo.exe opens its main window in an Xvfb display.
#
# Every Wine process runs inside a private network namespace with loopback alone
# (scripts/windows/private-network.sh). The Qt-free tests run under Wine from ./test.sh.
# Any failure ends the script with a non-zero status.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/../.."
repo=$PWD
start=$SECONDS

source scripts/lib.sh
TARVELO_LOG_NAME=windows-build

source scripts/windows/qt-mingw.sh
# Beyond what qt-mingw.sh installs: the host's tools for the simulated car (the smoke test's car)
# and for the header-only libraries, lrelease and Qt's German for the translation, zip, the X
# server with the tools the smoke test uses, and the installer's and the signing's tools.
windows_packages=(
  cmake ninja-build g++ pkg-config help2man
  libcli11-dev nlohmann-json3-dev
  qt6-l10n-tools qt6-translations-l10n
  iproute2 util-linux
  zip unzip
  xvfb xauth xdotool
  wixl msitools osslsigncode openssl imagemagick
)
tarvelo_ensure_packages "${windows_packages[@]}" || tarvelo_fail "installing packages"

# Qt and GoogleTest for mingw (a cold Qt build takes a quarter to half an hour).
step=$SECONDS
tarvelo_mingw_prefixes || tarvelo_fail "building Qt or GoogleTest for mingw"
tarvelo_log "Qt and GoogleTest for mingw ready in $((SECONDS - step)) s"

private=(scripts/windows/private-network.sh)
build=$repo/build-windows

# Tarvelo for Windows. The build runs tarvelo-assets under Wine (the user guide and the icon),
# so it too runs in the private network.
step=$SECONDS
nice cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
  "-DCMAKE_PREFIX_PATH=$TARVELO_QT_MINGW_PREFIX;$TARVELO_GTEST_MINGW_PREFIX" >/dev/null || tarvelo_fail "configuring"
# The programs and the tests this script runs: those labelled ui or windows, as ctest lists them
# (the others run in ./test.sh's Windows build). Listing them may run a test program under Wine
# (to discover its cases), so it too runs in the private network.
targets=(tarvelo tarvelo-cli tarvelo-carsim tarvelo_assets)
while read -r target; do targets+=("$target"); done < <(
  "${private[@]}" ctest --test-dir "$build" -N -V -L '^(ui|windows)$' |
    sed -n 's#^[0-9]*: Test command: .*/tests/\([A-Za-z0-9_]*_test\)\(\.exe\)\{0,1\}\([" ].*\)\{0,1\}$#\1#p' | sort -u)
[ "${#targets[@]}" -gt 4 ] || tarvelo_fail "ctest lists no window tests"
"${private[@]}" nice cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" || tarvelo_fail "building"
tarvelo_log "built in $((SECONDS - step)) s"

# The window tests under Wine (offscreen), and the version information and icon.
step=$SECONDS
tests_log=$build/ctest-windows.log
set +e
"${private[@]}" ctest --test-dir "$build" -j "$(nproc)" -L '^(ui|windows)$' --output-on-failure 2>&1 | tee "$tests_log"
tests_status=${PIPESTATUS[0]}
set -e
passed=$(tarvelo_ctest_summary "$tests_log")
[ "$passed" != "ctest did not run" ] || tarvelo_fail "ctest did not run"
[ "$tests_status" -eq 0 ] || tarvelo_fail "window tests under Wine ($passed)"
tarvelo_log "window tests under Wine in $((SECONDS - step)) s"

# The zip: the folder that cmake --install makes of the component "windows", stripped.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip_name=Tarvelo-$version-win64.zip
stage=$build/zip-stage
rm -rf "$stage" "$build/$zip_name"
cmake --install "$build" --component windows --prefix "$stage/Tarvelo" --strip >/dev/null || tarvelo_fail "installing into $stage"
programs=("$stage/Tarvelo/tarvelo.exe" "$stage/Tarvelo/tarvelo-cli.exe" "$stage/Tarvelo/tarvelo-carsim.exe")
if [ -n "${TARVELO_SIGN_PKCS12:-}" ]; then
  scripts/windows/sign.sh "${programs[@]}" || tarvelo_fail "signing the programs"
else
  scripts/windows/sign.sh "${programs[@]}"   # says, once, that nothing is signed
fi
(cd "$stage" && TZ=UTC zip -q -r -X "$build/$zip_name" Tarvelo) || tarvelo_fail "zipping"
tarvelo_log "$build/$zip_name: $(du -k "$build/$zip_name" | cut -f1) KB"

# The installer, of the very folder the zip holds.
msi_name=Tarvelo-$version-win64.msi
icon=$build/windows/tarvelo.ico
rm -f "$build/$msi_name"
scripts/windows/make-msi.sh "$stage/Tarvelo" "$icon" "$version" "$build/$msi_name" || tarvelo_fail "making the installer"
[ -z "${TARVELO_SIGN_PKCS12:-}" ] || scripts/windows/sign.sh "$build/$msi_name" || tarvelo_fail "signing the installer"
tarvelo_log "$build/$msi_name: $(du -k "$build/$msi_name" | cut -f1) KB"

# The signing, tried with a throw-away certificate on copies of a program and the installer.
scripts/windows/sign-test.sh "$stage/Tarvelo/tarvelo.exe" "$build/$msi_name" || tarvelo_fail "signing test"

# The installer under Wine, with a newer version of the same folder for the upgrade.
step=$SECONDS
IFS=. read -r major minor patch <<<"$version"
newer_version=$major.$minor.$(printf "%0${#patch}d" $((10#$patch + 1)))
msi_work=$(mktemp -d)
scripts/windows/make-msi.sh "$stage/Tarvelo" "$icon" "$newer_version" "$msi_work/newer.msi" 2>/dev/null ||
  tarvelo_fail "making the newer installer"
mkdir -p "$build/msi-test"
TARVELO_MSI=$build/$msi_name TARVELO_MSI_NEWER=$msi_work/newer.msi TARVELO_MSI_SOURCE=$stage/Tarvelo \
  TARVELO_MSI_ICON=$icon TARVELO_MSI_WORK=$msi_work TARVELO_MSI_SHOTS=$build/msi-test \
  "${private[@]}" scripts/windows/msi-test.sh || { rm -rf "$msi_work"; tarvelo_fail "installer test under Wine"; }
rm -rf "$msi_work"
tarvelo_log "installer test under Wine in $((SECONDS - step)) s"

# The smoke test, from a fresh folder: only what the zip holds, no DLL from the build.
step=$SECONDS
host=$repo/build-windows-host
nice cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVELO_GUI=OFF -DTARVELO_TESTS=OFF \
  -DTARVELO_BENCH=OFF >/dev/null || tarvelo_fail "configuring the Linux simulated car"
nice cmake --build "$host" --target tarvelo-carsim >/dev/null || tarvelo_fail "building the Linux simulated car"
smoke=$(mktemp -d)
trap 'rm -rf "$smoke"' EXIT
unzip -q "$build/$zip_name" -d "$smoke/unzipped" || tarvelo_fail "unzipping"
TARVELO_SMOKE_DIR=$smoke/unzipped/Tarvelo TARVELO_CARSIM=$host/tools/carsim/tarvelo-carsim \
  TARVELO_SMOKE_WORK=$smoke "${private[@]}" "$repo/scripts/windows/smoke-test.sh" || tarvelo_fail "smoke test"
tarvelo_log "smoke test in $((SECONDS - step)) s"

skipped=$(grep -c '\*\*\*Skipped' "$tests_log" || true)
echo
echo "Windows build: $build/$zip_name ($(du -k "$build/$zip_name" | cut -f1) KB)"
echo "  installer: $build/$msi_name ($(du -k "$build/$msi_name" | cut -f1) KB), tested under Wine: install, file type, upgrade, uninstall"
echo "  signing: ${TARVELO_SIGN_PKCS12:+signed with $TARVELO_SIGN_PKCS12}${TARVELO_SIGN_PKCS12:-nothing signed (no TARVELO_SIGN_PKCS12)}; tested with a throw-away certificate"
echo "  window tests under Wine: $passed, $skipped skipped"
echo "  smoke test from the unzipped folder: passed"
echo "  $((SECONDS - start)) s in all"
