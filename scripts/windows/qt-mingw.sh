#!/usr/bin/env bash
# Qt 6 and GoogleTest cross-built for 64-bit Windows (mingw-w64), cached outside the repo.
#
# Run:    scripts/windows/qt-mingw.sh [--env]
#           builds what is missing, then prints TARVELO_QT_MINGW_PREFIX and
#           TARVELO_GTEST_MINGW_PREFIX (with --env as export lines for eval).
# Source: source scripts/windows/qt-mingw.sh && tarvelo_mingw_prefixes
#           does the same and exports both variables into the calling shell.
#
# Everything comes from Debian: the mingw-w64 compilers, Wine, and Qt's own Debian source
# package (apt-get source qt6-base), built against Debian's host Qt tools of the same version.
# Builds land in ~/.cache/tarvelo/{qt6,gtest}-mingw-<key>/, where <key> hashes the source
# version, the build flags, the compiler and the toolchain file; a .complete stamp is written
# only after a successful install, so an interrupted build is started over.

TARVELO_MINGW_REPO=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../.." && pwd)
TARVELO_MINGW_TOOLCHAIN="$TARVELO_MINGW_REPO/cmake/mingw-w64-x86_64.cmake"
# shellcheck source=../lib.sh
source "$TARVELO_MINGW_REPO/scripts/lib.sh"
TARVELO_CACHE_DIR=$(tarvelo_cache_dir)
TARVELO_MINGW_LOGS="$TARVELO_CACHE_DIR/logs"

# Qt's configure flags.  Only what Tarvelo uses (Core, Gui with QPdfWriter, Widgets, Test) and
# the windows, offscreen and style plugins are wanted, so the rest is off to keep the build short.
# The system zlib, png, jpeg, freetype, harfbuzz, pcre2 and double-conversion are Linux
# libraries, so Qt's bundled copies are used.  Debian's trimmed tarball has no wintab.h, hence
# no tablet events, and with OpenGL on the Windows plugin misses QOpenGLStaticContext.
tarvelo_qt_mingw_flags=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=ON
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DFEATURE_network=OFF
  -DFEATURE_sql=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF
  -DFEATURE_vulkan=OFF
  -DFEATURE_zstd=OFF
  -DFEATURE_icu=OFF
  -DFEATURE_glib=OFF
  -DFEATURE_system_zlib=OFF
  -DFEATURE_system_png=OFF
  -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_testlib=ON
  -DFEATURE_pdf=ON
  -DFEATURE_tabletevent=OFF
  -DINPUT_opengl=no
)

# GoogleTest links statically so test programs need no extra DLLs next to them.
tarvelo_gtest_mingw_flags=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF
  -DBUILD_GMOCK=ON
  -DINSTALL_GTEST=ON
)

tarvelo_mingw_packages=(
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64
  dpkg-dev cmake ninja-build
  qt6-base-dev qt6-base-dev-tools  # moc, rcc and uic for the cross build, same Qt version
  googletest
  fonts-dejavu-core  # fonts for Qt's offscreen platform under Wine
)

tarvelo_mingw_log() { TARVELO_LOG_NAME=qt-mingw tarvelo_log "$@"; }

# Root runs apt-get itself; anyone else goes through sudo.
tarvelo_mingw_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

tarvelo_mingw_ensure_packages() { tarvelo_ensure_packages "${tarvelo_mingw_packages[@]}"; }

# apt-get source needs a deb-src line for the archive the machine already uses.
tarvelo_mingw_ensure_deb_src() {
  if grep -rqsE '^\s*(Types:.*deb-src|deb-src\s)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  local codename entry
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  tarvelo_mingw_log "adding a deb-src entry for Debian $codename"
  entry=$(mktemp)
  cat >"$entry" <<EOF
# Source packages, for building Qt for mingw-w64 (Tarvelo's scripts/windows/qt-mingw.sh).
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  tarvelo_mingw_as_root install -m 644 "$entry" /etc/apt/sources.list.d/tarvelo-deb-src.sources
  rm -f "$entry"
  tarvelo_mingw_as_root apt-get update -o DPkg::Lock::Timeout=600 >&2
}

# The Qt source must be the very version of the host tools it is built with.
tarvelo_mingw_qt_version() {
  dpkg-query -W -f='${source:Version}' qt6-base-dev
}

tarvelo_mingw_gtest_version() {
  dpkg-query -W -f='${Version}' googletest
}

# Fetches and unpacks (with Debian's patches) the qt6-base source package once; prints its folder.
tarvelo_mingw_fetch_qt_source() {
  local version src dir tmp
  version=$(tarvelo_mingw_qt_version) || return 1
  src="$TARVELO_CACHE_DIR/src"
  dir="$src/qt6-base-$version"
  if [ ! -f "$dir/.complete" ]; then
    tarvelo_mingw_ensure_deb_src || return 1
    tarvelo_mingw_log "fetching the qt6-base $version source package"
    mkdir -p "$src" "$TARVELO_MINGW_LOGS"
    rm -rf "$dir"
    tmp=$(mktemp -d "$src/.fetch.XXXXXX")
    if ! (cd "$tmp" && apt-get source -o DPkg::Lock::Timeout=600 "qt6-base=$version") \
        >"$TARVELO_MINGW_LOGS/qt6-base-source.log" 2>&1; then
      tarvelo_mingw_log "apt-get source failed; the end of $TARVELO_MINGW_LOGS/qt6-base-source.log:"
      tail -n 30 "$TARVELO_MINGW_LOGS/qt6-base-source.log" >&2
      rm -rf "$tmp"
      return 1
    fi
    local unpacked
    unpacked=$(find "$tmp" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
    if [ -z "$unpacked" ] || ! mv "$unpacked" "$dir"; then
      tarvelo_mingw_log "apt-get source left no qt6-base folder in $tmp"
      return 1
    fi
    rm -rf "$tmp"  # the downloaded tarballs; the unpacked tree is all the build needs
    touch "$dir/.complete"
  fi
  echo "$dir"
}

# A short hash of everything that changes the built files.  Comments in the toolchain file
# are left out so that editing its explanations does not rebuild Qt.
tarvelo_mingw_key() {
  {
    printf '%s\n' "$@"
    dpkg-query -W -f='${Package} ${Version}\n' g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    x86_64-w64-mingw32-g++-posix -dumpfullversion
    grep -v '^\s*#' "$TARVELO_MINGW_TOOLCHAIN"
  } | sha256sum | cut -c1-12
}

tarvelo_mingw_qt_prefix() {
  echo "$TARVELO_CACHE_DIR/qt6-mingw-$(tarvelo_mingw_key "qt6-base $(tarvelo_mingw_qt_version)" "${tarvelo_qt_mingw_flags[@]}")"
}

tarvelo_mingw_gtest_prefix() {
  echo "$TARVELO_CACHE_DIR/gtest-mingw-$(tarvelo_mingw_key "googletest $(tarvelo_mingw_gtest_version)" "${tarvelo_gtest_mingw_flags[@]}")"
}

# Runs one step with its output in a log; on failure shows the log's end.
tarvelo_mingw_step() {
  local log=$1
  shift
  if ! "$@" >>"$log" 2>&1; then
    tarvelo_mingw_log "failed: $*"
    tarvelo_mingw_log "the end of $log:"
    tail -n 40 "$log" >&2
    return 1
  fi
}

# Configures, builds and installs one CMake project into prefix, unless prefix is complete.
# The build folder sits beside the prefix and is removed after the install; the build runs
# at the lowest priority, as the machine's cores are shared.
tarvelo_mingw_cmake_build() {
  local name=$1 source=$2 prefix=$3
  shift 3
  [ -f "$prefix/.complete" ] && return 0
  local build="$prefix.build" log="$TARVELO_MINGW_LOGS/$(basename "$prefix").log"
  local start=$SECONDS
  mkdir -p "$TARVELO_MINGW_LOGS"
  rm -rf "$build" "$prefix"
  : >"$log"
  tarvelo_mingw_log "building $name into $prefix (log: $log)"
  tarvelo_mingw_step "$log" nice -n 19 cmake -S "$source" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TARVELO_MINGW_TOOLCHAIN" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "$@" || return 1
  tarvelo_mingw_step "$log" nice -n 19 cmake --build "$build" -j "$(nproc)" || return 1
  tarvelo_mingw_step "$log" nice -n 19 cmake --install "$build" || return 1
  rm -rf "$build"
  touch "$prefix/.complete"
  tarvelo_mingw_log "built $name in $((SECONDS - start)) s, $(du -sh "$prefix" | cut -f1) installed"
}

# What the licence of the Qt DLLs asks to go with them, kept in the prefix's licenses/ folder:
# Qt's licence texts and Debian's copyright file of the source package (which also names the
# third-party code inside Qt), and the source package's version, written to source-version.
tarvelo_mingw_qt_notices() {
  local prefix=$1 source=$2 dir="$1/licenses"
  [ -f "$dir/.complete" ] && return 0
  mkdir -p "$dir" || return 1
  cp "$source"/LICENSES/{LGPL-3.0-only,GPL-3.0-only,GPL-2.0-only}.txt "$dir/" &&
    cp "$source/debian/copyright" "$dir/copyright" &&
    tarvelo_mingw_qt_version >"$dir/source-version" &&
    touch "$dir/.complete"
}

# Runs a build step while holding a lock of the cache, so that two runs that want the same
# prefix (CI builds Qt beside ./test.sh, which builds GoogleTest) take turns: the second one
# waits and then finds the prefix complete.
tarvelo_mingw_locked() {
  local name=$1
  shift
  mkdir -p "$TARVELO_CACHE_DIR" || return 1
  (
    flock 9 || exit 1
    "$@"
  ) 9>"$TARVELO_CACHE_DIR/$name.lock"
}

tarvelo_mingw_build_qt() {
  tarvelo_mingw_locked qt6-mingw tarvelo_mingw_build_qt_unlocked
}

tarvelo_mingw_build_qt_unlocked() {
  local source prefix
  prefix=$(tarvelo_mingw_qt_prefix)
  # A built prefix with its notices needs no source.
  [ -f "$prefix/.complete" ] && [ -f "$prefix/licenses/.complete" ] && return 0
  source=$(tarvelo_mingw_fetch_qt_source) || return 1
  tarvelo_mingw_cmake_build "Qt $(tarvelo_mingw_qt_version)" "$source" "$prefix" \
    "${tarvelo_qt_mingw_flags[@]}" || return 1
  tarvelo_mingw_qt_notices "$prefix" "$source"
}

tarvelo_mingw_build_gtest() {
  tarvelo_mingw_locked gtest-mingw tarvelo_mingw_cmake_build "GoogleTest $(tarvelo_mingw_gtest_version)" /usr/src/googletest \
    "$(tarvelo_mingw_gtest_prefix)" "${tarvelo_gtest_mingw_flags[@]}"
}

# Makes sure both prefixes are built and exports their paths.
tarvelo_mingw_prefixes() {
  tarvelo_mingw_ensure_packages || return 1
  tarvelo_mingw_build_gtest || return 1
  tarvelo_mingw_build_qt || return 1
  TARVELO_QT_MINGW_PREFIX=$(tarvelo_mingw_qt_prefix)
  TARVELO_GTEST_MINGW_PREFIX=$(tarvelo_mingw_gtest_prefix)
  export TARVELO_QT_MINGW_PREFIX TARVELO_GTEST_MINGW_PREFIX
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  tarvelo_mingw_prefixes
  if [ "${1:-}" = "--env" ]; then
    printf 'export TARVELO_QT_MINGW_PREFIX=%q\n' "$TARVELO_QT_MINGW_PREFIX"
    printf 'export TARVELO_GTEST_MINGW_PREFIX=%q\n' "$TARVELO_GTEST_MINGW_PREFIX"
  else
    echo "TARVELO_QT_MINGW_PREFIX=$TARVELO_QT_MINGW_PREFIX"
    echo "TARVELO_GTEST_MINGW_PREFIX=$TARVELO_GTEST_MINGW_PREFIX"
  fi
fi
