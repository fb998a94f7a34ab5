#!/usr/bin/env bash
# Takes the README's screenshots of the four windows (and two in German): offscreen into docs/, and under a real X
# server (Xvfb) into docs/xvfb/, from the window tests' screenshot steps.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."
source scripts/ensure-deps.sh
tarvelo_ensure_packages "${tarvelo_packages[@]}" xvfb xauth

build="$PWD/build"
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j "$(nproc)"

shoot() {
  local folder=$1
  shift
  mkdir -p "$folder"
  for test in ui_main_test ui_editor_test ui_connect_test ui_info_test ui_language_test; do
    TARVELO_SCREENSHOT_DIR="$folder" "$@" "$build/tests/$test" screenshot >/dev/null
  done
  echo "Screenshots in $folder: $(cd "$folder" && echo *.png)"
}

QT_QPA_PLATFORM=offscreen shoot "$PWD/docs"
QT_QPA_PLATFORM=xcb shoot "$PWD/docs/xvfb" xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24"
