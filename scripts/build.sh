#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures (once) and builds one build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
launcher=()
if command -v ccache >/dev/null; then
    # Paths relative to the checkout, so that every clone of the tree shares one compiler cache.
    export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$root/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$root/$dir" -j"$(nproc)"
