#!/usr/bin/env bash
# Installs what is missing, then builds and runs every check: formatting, the test suite, the fuzz
# targets for a bounded time, and the test suite again under AddressSanitizer and UBSan.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
"$root/scripts/setup-deps.sh"

echo "== formatting"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run --Werror

jobs=$(nproc)
echo "== release build and tests"
scripts/build.sh build/release
ctest --test-dir build/release -j"$jobs" --output-on-failure --timeout 900 | tee build/release-ctest.log

echo "== fuzz targets"
scripts/fuzz.sh

echo "== sanitizer build and tests"
scripts/build.sh build/asan -DORVANEX_SANITIZE=ON -DORVANEX_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp" \
    ctest --test-dir build/asan -j"$jobs" --output-on-failure --timeout 1800 | tee build/asan-ctest.log
