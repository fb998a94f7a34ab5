#!/usr/bin/env bash
# Installs what is missing, builds Tarvelo in a fresh build directory and runs every test.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"
source scripts/ensure-deps.sh
tarvelo_ensure_packages

jobs=$(nproc)
build=build-test

rm -rf "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" -j "$jobs" --output-on-failure
