#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang into build-fuzz/ and runs each for a few
# seconds (FUZZ_SECONDS, 15 by default) from its seed corpus in fuzz/corpus/. New inputs
# go to build-fuzz/corpus/, never into the committed seeds; a crash leaves its input in
# build-fuzz/ and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-15}"
cmake -S . -B build-fuzz -DZERKAVI_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)"
for target in wav record plan codec; do
    work="build-fuzz/corpus/$target"
    mkdir -p "$work"
    echo "fuzz_$target: ${seconds}s"
    status=0
    (cd build-fuzz && "./fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="crash-$target-" \
        "corpus/$target" "../fuzz/corpus/$target") >"build-fuzz/fuzz_$target.log" 2>&1 || status=$?
    grep -E "^stat::(number_of_executed_units|peak_rss_mb)|^#[0-9]+ +DONE|ERROR|SUMMARY" \
        "build-fuzz/fuzz_$target.log" || true
    if [ "$status" -ne 0 ]; then
        tail -40 "build-fuzz/fuzz_$target.log"
        exit "$status"
    fi
done
