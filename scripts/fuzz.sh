#!/bin/sh
# Longer fuzz runs: every target for SECONDS (default 300) each, then the
# new inputs are merged into the corpus kept in tests/fuzz/corpus.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
./scripts/setup.sh
seconds=${1:-300}
build=${PELOMAR_BUILD:-build}/fuzz
cmake -S . -B "$build" -DPELOMAR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null
cmake --build "$build" -j 2
for exe in "$build"/*_fuzz; do
    name=$(basename "$exe")
    mkdir -p "$build/corpus/$name" "tests/fuzz/corpus/$name"
    "$exe" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
        "$build/corpus/$name" "tests/fuzz/corpus/$name"
    "$exe" -merge=1 "tests/fuzz/corpus/$name" "$build/corpus/$name"
done
