#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tarvelo needs, only when one is missing.
# Sourced by run.sh and test.sh.

tarvelo_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev
  qt6-l10n-tools qt6-translations-l10n   # lupdate and lrelease for the German translation; Qt's own German
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  help2man                      # the manual pages, made from the programs' --help
  dpkg-dev file                 # dpkg-shlibdeps, which computes the Debian package's Depends
  lintian desktop-file-utils appstream man-db   # the package test's checks
  shared-mime-info              # update-mime-database: the *.kelta file type, checked by the package test
  debootstrap                   # the fresh Debian 12 that the package install test installs into
  clang libclang-rt-14-dev      # libFuzzer and the sanitizer runtimes
  iproute2 util-linux           # ip and unshare for the private network namespaces of the discovery tests
  tshark                        # reads the write's pcap trace back in the trace test (never captures)
  poppler-utils                 # pdftotext and pdftoppm: the service book read back, its page in docs/
)

tarvelo_ensure_packages() {
  local missing=()
  local p
  for p in "${tarvelo_packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" ||
    { "${sudo[@]}" apt-get update && "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"; }
}
