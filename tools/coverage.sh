#!/usr/bin/env bash
# Line coverage of the core's own .cpp files from a build made with --coverage after its
# tests ran: tools/coverage.sh BUILD_FOLDER. Headers are left out (their inline code is
# counted in every file that uses it).
set -euo pipefail
build="$(cd "$1" && pwd)"
objects="$build/CMakeFiles/zerkavi_core_nodata.dir"
cd "$(mktemp -d)"
find "$objects" -name '*.gcda' | while read -r gcda; do
    gcov -n -o "$(dirname "$gcda")" "$gcda" 2>/dev/null
done | awk '
    /^File / { file = $2; gsub(/\x27/, "", file); next }
    /^Lines executed:/ && file ~ /\/(common|usul|notation|sound|plans)\/[^\/]*\.cpp$/ {
        split($2, a, "%"); pct = substr(a[1], 10); n = $4
        if (!(file in seen)) { seen[file] = 1; hit += pct * n / 100; total += n
            printf "%6.1f%% of %4d  %s\n", pct, n, file }
    }
    END { printf "core: %.1f%% of %d lines\n", 100 * hit / total, total }'
