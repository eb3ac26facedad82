#!/bin/bash
# Sets up, checks the formatting, builds with warnings as errors and runs every test: unit,
# scenario (also under AddressSanitizer and UndefinedBehaviorSanitizer) and end-to-end. Exits
# non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

TIDEX_WERROR=ON bash scripts/setup.sh

# Every source file as .clang-format has it.
find src sites tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run --Werror

export QT_QPA_PLATFORM=offscreen
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1

(cd build && ctest --output-on-failure -j2 --timeout 300)

# The scenario tests once more, sanitized.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTIDEX_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)" --target tidex_scenario_tests tidex_unit_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build-asan/bin/tidex_scenario_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build-asan/bin/tidex_unit_tests
echo "All tests passed."
