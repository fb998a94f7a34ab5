#!/usr/bin/env bash
# Installs what is missing, builds Tarvelo and runs it: the desktop program where there is a
# display, else the sample service history on the command line.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"
source scripts/ensure-deps.sh
tarvelo_ensure_packages

build="$PWD/build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  # The open dialog starts in the current directory: start where the sample history is.
  cd examples
  echo "Tarvelo is starting. \"Open\" shows sample.kelta at once."
  exec "$build/ui/tarvelo"
fi
"$build/tools/cli/tarvelo-cli" show examples/sample.kelta
