#!/bin/bash
# Sets up, checks the formatting, builds with warnings as errors (the program also without its
# optional libraries) and runs every test: unit, scenario (also under AddressSanitizer and
# UndefinedBehaviorSanitizer) and end-to-end. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

TIDEX_WERROR=ON bash scripts/setup.sh

# Every source file as .clang-format has it.
find src sites tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run --Werror

# The program alone, with Qt's development packages and dtl only: without the tests and without
# libcurl's header and QtKeychain, so that the code built without them compiles too. No build
# type: only whether it builds matters, and unoptimised code compiles quickest.
cmake -S . -B build-min -G Ninja -DBUILD_TESTING=OFF -DTIDEX_WERROR=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_CURL=ON -DCMAKE_DISABLE_FIND_PACKAGE_Qt6Keychain=ON >/dev/null
cmake --build build-min -j"$(nproc)" --target tidex

export QT_QPA_PLATFORM=offscreen
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1

(cd build && ctest --output-on-failure -j2 --timeout 300)

# The scenario tests once more, sanitized.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTIDEX_SANITIZE=ON -DTIDEX_WERROR=ON \
  >/dev/null
cmake --build build-asan -j"$(nproc)" --target tidex_scenario_tests tidex_unit_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build-asan/bin/tidex_scenario_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build-asan/bin/tidex_unit_tests
echo "All tests passed."
