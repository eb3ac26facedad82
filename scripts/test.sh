#!/bin/bash
# Sets up, builds and runs every test: unit, scenario (also under AddressSanitizer and
# UndefinedBehaviorSanitizer) and end-to-end. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1

(cd build && ctest --output-on-failure -j2 --timeout 300)

# The scenario tests once more, sanitized.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTIDEX_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)" --target tidex_scenario_tests tidex_unit_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build-asan/bin/tidex_scenario_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build-asan/bin/tidex_unit_tests
echo "All tests passed."
