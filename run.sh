#!/usr/bin/env bash
# Installs what is missing, builds Tarvelo and shows the sample service history.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"
source scripts/ensure-deps.sh
tarvelo_ensure_packages

build=build
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"

"$build/tools/cli/tarvelo-cli" show examples/sample.kelta
