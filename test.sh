#!/usr/bin/env bash
# Installs what is missing, then builds Tarvelo three times in fresh build directories and tests
# each build:
#   build-test   the normal build: every test (ctest)
#   build-asan   AddressSanitizer + UndefinedBehaviorSanitizer (+ LeakSanitizer): every test again
#   build-fuzz   clang with libFuzzer: each fuzz target for a short, bounded time from its seeds
# and ends with the summary of each.
set -uo pipefail
cd "$(dirname "$(readlink -f "$0")")"
source scripts/ensure-deps.sh
tarvelo_ensure_packages || exit 1

jobs=$(nproc)
fuzz_seconds=${TARVELO_FUZZ_SECONDS:-30}
summary=()
failed=0

note() {  # phase, outcome
  summary+=("$1: $2")
}

run_ctest() {  # phase, build dir
  local log="$2/ctest.log"
  ctest --test-dir "$2" -j "$jobs" --output-on-failure 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  note "$1" "$(grep -E '^[0-9]+% tests passed' "$log" || echo 'ctest did not run')"
  [ "$status" -eq 0 ] || failed=1
}

build() {  # build dir, cmake arguments...
  local dir=$1
  shift
  rm -rf "$dir"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" && cmake --build "$dir" -j "$jobs"
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
  for target in fuzz_history fuzz_enet_frame fuzz_discovery fuzz_request_hex fuzz_exchange; do
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

echo
echo "Summary"
for line in "${summary[@]}"; do echo "  $line"; done
exit $failed
