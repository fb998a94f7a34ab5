#!/usr/bin/env bash
# The Debian packages that building and testing Tarvelo needs, and the scripts' shared functions.
# Sourced by run.sh, test.sh and the screenshots: tarvelo_ensure_packages "${tarvelo_packages[@]}".

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

# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
