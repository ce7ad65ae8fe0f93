#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Regenerates the generated files of the demo base folder data/: every interface
# picture (make_graphics), the demo recipes of tools/demo/ (make_demo_recipes), the
# manual (make_manual, from docs/manual.html) and the standard print drafts
# (make_standard_drafts). The hand-made sample recipes in data/prepared_recipes are left
# as they are. Review and commit the changes afterwards.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build="${DILBO_BUILD_DIR:-$top/build}"
"$top/tools/install-deps.sh"
cmake -S "$top" -B "$build" -G Ninja
cmake --build "$build" --target make_graphics make_demo_recipes make_manual make_standard_drafts

runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen
"$build/tools/make_graphics" "$top/data"
"$build/tools/make_demo_recipes" "$top/data"
"$build/tools/make_standard_drafts" "$top/data"
"$build/tools/make_manual" "$top/docs/manual.html" "$top/data" "$top/data/manual.pdf"
