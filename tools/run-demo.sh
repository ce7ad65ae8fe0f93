#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the program, lays out a fresh demo base folder from data/ and starts the
# program in it. Arguments are passed on to the program.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-deps.sh"
cmake -S "$top" -B "$top/build" -G Ninja
cmake --build "$top/build" --target dilboscan

demo="$top/build/demo-base"
rm -rf "$demo"
cp -R "$top/data" "$demo"
find "$demo" -name .keep -delete
cd "$demo"
exec "$top/build/dilboscan" "$@"
