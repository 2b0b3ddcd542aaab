#!/usr/bin/env bash
# Builds the core, the command line and both suites with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs them headless: core_tests, and
# window_tests, which also holds the command-line tests (tests/app/) and so runs the sanitized
# zerkavi-cli. Every report, one from a zerkavi-cli started by a test included, ends the
# program that made it and is written to build-asan/reports/; any file there fails the run,
# so a test that expects the command line to fail cannot pass over a report.
# Left out: frame_tests (Xvfb and openbox) only look at where the window manager puts the
# frame; the code they drive is the start-up the window suite runs too.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZERKAVI_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)" --target zerkavi-cli core_tests window_tests device_tests
reports="$PWD/build-asan/reports"
rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:log_path=$reports/asan"
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"
export QT_QPA_PLATFORM="offscreen:configfile=$PWD/tests/support/screens.json"
cd build-asan/tests
# The two suites side by side, each into a log of its own that is shown when it fails.
status=0
./core_tests --gtest_brief=1 >core_tests.log 2>&1 &
core=$!
./window_tests --gtest_brief=1 >window_tests.log 2>&1 || status=$?
[ "$status" -eq 0 ] || grep -v "propagateSizeHints" window_tests.log | tail -60
wait "$core" || { status=$?; tail -60 core_tests.log; }
grep -h "PASSED\|FAILED" core_tests.log window_tests.log || true
# Real sound through a private PulseAudio server, one test a process and up to three tries,
# as ./test runs them; a report in any try stays in reports/ and fails the run all the same.
if [ "$status" -eq 0 ]; then
    (cd .. && ctest --output-on-failure -L device --repeat until-pass:3) || status=$?
fi
if [ -n "$(ls -A "$reports")" ]; then
    cat "$reports"/*
    echo "Sanitizer reports above (build-asan/reports/)." >&2
    exit 1
fi
exit "$status"
