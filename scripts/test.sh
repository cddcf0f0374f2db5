#!/usr/bin/env bash
# Builds every preset and runs every test: native, native under ASan/UBSan, a bounded fuzzing
# run, the Windows-side tests under Wine, and the 32-bit compile of the shipping programs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

export CTEST_OUTPUT_ON_FAILURE=1
FUZZ_SECONDS=${KORVEL_FUZZ_SECONDS:-60}
status=0
step() { echo; echo "=== $*"; }

step "native: build and test"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native || status=1

step "native with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize || status=1

step "fuzzing for ${FUZZ_SECONDS}s (clang, libFuzzer, ASan, UBSan)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in build/fuzz/fuzz/*_fuzzer; do
  [ -x "$target" ] || continue
  corpus="build/fuzz/corpus/$(basename "$target")"
  mkdir -p "$corpus"
  "$target" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=4096 -print_final_stats=0 "$corpus" fuzz/seeds 2>&1 | tail -n 3 || status=1
done

step "win64: build and test under Wine"
cmake --preset win64 >/dev/null
cmake --build --preset win64
ctest --preset win64 || status=1

step "win32: compile the shipping programs"
cmake --preset win32 >/dev/null
cmake --build --preset win32

step "summary"
if [ "$status" -eq 0 ]; then echo "all test steps passed"; else echo "some test steps FAILED"; fi
exit "$status"
