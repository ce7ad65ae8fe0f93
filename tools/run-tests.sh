#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds and runs every test. With --sanitize, builds and runs them under
# AddressSanitizer and UndefinedBehaviorSanitizer instead (folder build-sanitize).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/tools/install-deps.sh"

if [ "${1:-}" = "--sanitize" ]; then
    cmake --preset sanitize
    cmake --build build-sanitize
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions="$top/tools/lsan.supp" \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-sanitize --output-on-failure -j2
else
    cmake -S . -B build -G Ninja -DDILBO_WERROR=ON
    cmake --build build
    ctest --test-dir build --output-on-failure -j2
fi
