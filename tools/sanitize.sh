#!/usr/bin/env bash
# Builds the core, the command line and the core suite with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs the suite there. Any report ends the
# program that made it, so the run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZERKAVI_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)" --target zerkavi-cli core_tests
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM="offscreen:configfile=$PWD/tests/support/screens.json"
cd build-asan/tests
./core_tests --gtest_brief=1
