#!/usr/bin/env bash
# Installs what is missing, then builds Tarvelo four times in fresh build directories and tests
# each build:
#   build-test          the normal build: every test (ctest)
#   build-asan          AddressSanitizer + UndefinedBehaviorSanitizer (+ LeakSanitizer): every test again
#   build-fuzz          clang with libFuzzer: each fuzz target for a short, bounded time from its seeds
#   build-windows-core  mingw-w64 for Windows, without Qt: the history, ENET and tools tests under
#                       Wine, inside a private network namespace (scripts/windows/private-network.sh)
# and ends with the summary of each. (scripts/windows/build.sh builds and tests the Windows
# desktop program and makes the Windows zip.)
set -uo pipefail
cd "$(dirname "$(readlink -f "$0")")"
source scripts/ensure-deps.sh
tarvelo_ensure_packages "${tarvelo_packages[@]}" || exit 1

jobs=$(nproc)
fuzz_seconds=${TARVELO_FUZZ_SECONDS:-30}
summary=()
failed=0

note() {  # phase, outcome
  summary+=("$1: $2")
}

run_ctest() {  # phase, build dir, [command that runs ctest...]
  local phase=$1 dir=$2 log="$2/ctest.log"
  shift 2
  "$@" ctest --test-dir "$dir" -j "$jobs" --output-on-failure 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local skipped
  skipped=$(grep -c '\*\*\*Skipped' "$log" || true)
  note "$phase" "$(tarvelo_ctest_summary "$log"), $skipped skipped"
  [ "$status" -eq 0 ] || failed=1
}

build() {  # build dir, cmake arguments...
  local dir=$1
  shift
  rm -rf "$dir"
  nice cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" && nice cmake --build "$dir" -j "$jobs"
}

# The normal build.
if build build-test; then
  run_ctest "tests" build-test
else
  note "tests" "BUILD FAILED"
  failed=1
fi

# The same tests under the sanitizers: a memory error, undefined behaviour or a leak fails them.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if build build-asan -DTARVELO_SANITIZE=ON -DTARVELO_BENCH=OFF; then
  run_ctest "sanitizer tests" build-asan
else
  note "sanitizer tests" "BUILD FAILED"
  failed=1
fi

# The fuzz targets, each for a bounded time from its seeds (which come from the tests).
if CC=clang CXX=clang++ build build-fuzz -DTARVELO_FUZZ=ON; then
  # Every fuzz target the build made (fuzz/CMakeLists.txt lists them), each with its seeds.
  targets=$(cd build-fuzz/fuzz && find . -maxdepth 1 -type f -perm -u+x -name 'fuzz_*' | sed 's|^\./||' | sort)
  [ -n "$targets" ] || { note "fuzz" "NO FUZZ TARGET BUILT"; failed=1; }
  for target in $targets; do
    corpus="build-fuzz/corpus/$target"
    mkdir -p "$corpus"
    log="build-fuzz/$target.log"
    if "build-fuzz/fuzz/$target" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" "fuzz/seeds/$target" >"$log" 2>&1; then
      note "$target" "$(grep -E '^Done' "$log"), corpus $(ls "$corpus" | wc -l) files"
    else
      tail -40 "$log"
      note "$target" "FINDING (see $log)"
      failed=1
    fi
  done
else
  note "fuzz" "BUILD FAILED"
  failed=1
fi

# The Qt-free tests built for Windows and run under Wine. Every Wine process runs in a private
# network namespace with loopback alone: Wine makes its sockets on the machine's networks otherwise.
windows_start=$SECONDS
source scripts/windows/qt-mingw.sh
if tarvelo_mingw_ensure_packages && tarvelo_mingw_build_gtest &&
   build build-windows-core -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DTARVELO_GUI=OFF \
     -DCMAKE_PREFIX_PATH="$(tarvelo_mingw_gtest_prefix)"; then
  # The first Wine program makes the Wine prefix (half a minute or so), before the tests start.
  scripts/windows/private-network.sh build-windows-core/wine-run --prepare
  run_ctest "Windows tests under Wine" build-windows-core scripts/windows/private-network.sh
  summary[-1]+=", $((SECONDS - windows_start)) s"
else
  note "Windows tests under Wine" "BUILD FAILED"
  failed=1
fi

echo
echo "Summary"
for line in "${summary[@]}"; do echo "  $line"; done
exit $failed
