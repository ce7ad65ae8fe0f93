#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the libFuzzer targets and runs each for the given number of seconds (600 by
# default), with a scratch corpus seeded from tests/fuzz/corpus/. Prints each target's
# last status line: executions, coverage and corpus size.
#   ./tools/run-fuzz.sh [seconds] [target...]
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${1:-600}
[ $# -gt 0 ] && shift
targets=${*:-"fuzz_recipefile fuzz_rtf fuzz_filelayer fuzz_metafile fuzz_mealmaster fuzz_recipeml fuzz_schemaorg fuzz_draft"}
command -v clang++ >/dev/null || "$top/tools/install-deps.sh" clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build build-fuzz >/dev/null
work=$(mktemp -d)
export LSAN_OPTIONS="suppressions=$top/tools/lsan.supp"
trap 'rm -rf "$work"' EXIT
for target in $targets; do
    corpus=$(echo "$target" | sed 's/^fuzz_//')
    mkdir -p "$work/$corpus"
    extra=""
    case $target in
    fuzz_rtf) extra="-dict=tests/fuzz/rtf.dict -max_len=65536 -len_control=0" ;;
    fuzz_filelayer | fuzz_metafile) extra="-timeout=10" ;;
    esac
    # shellcheck disable=SC2086
    "build-fuzz/tests/fuzz/$target" $extra -max_total_time="$seconds" -print_final_stats=1 \
        "$work/$corpus" "tests/fuzz/corpus/$corpus" >"$work/$target.log" 2>&1 || {
        echo "$target: FAILED"; tail -40 "$work/$target.log"; exit 1; }
    echo "$target: $(grep -E '^#[0-9]+' "$work/$target.log" | tail -1)"
    grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$work/$target.log" | sed "s/^/  /"
done
