#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time from its seed corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-20}
CC=clang CXX=clang++ "$root/scripts/build.sh" build/fuzz -DORVANEX_FUZZ=ON
shopt -s nullglob
for target in "$root"/build/fuzz/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target")
    work="$root/build/fuzz/corpus/$name"
    mkdir -p "$work"
    seeds="$root/fuzz/corpus/${name#fuzz_}"
    [ -d "$seeds" ] || seeds=""
    echo "-- $name (${seconds}s)"
    "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
        "$work" ${seeds:+"$seeds"} > "$root/build/fuzz/$name.log" 2>&1 \
        || { tail -n 60 "$root/build/fuzz/$name.log"; echo "fuzz target $name failed"; exit 1; }
done
