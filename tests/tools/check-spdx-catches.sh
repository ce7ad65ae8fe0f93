#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# tools/check-spdx.sh must name exactly the source files of a scratch tree that lack the
# licence line in their first comment, in a tarball-like tree and in a git checkout.
#
#   check-spdx-catches.sh <source folder> <work folder>
set -eu
source=$1
work=$2
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work/tree/sub dir"
cd "$work/tree"
spdx="SPDX-License-Identifier: GPL-2.0-or-later"
printf '// %s\n// What it does.\n#include <x>\n' "$spdx" >good.cpp
printf '#pragma once\n// %s\n' "$spdx" >"sub dir/late.h"
printf '/*\n * Old style.\n */\nint x;\n' >plain.c
printf '# %s\nproject(x)\n' "$spdx" >CMakeLists.txt
printf 'add_subdirectory(x)\n' >"sub dir/CMakeLists.txt"
printf '#!/bin/sh\n# %s\necho\n' "$spdx" >good.sh
printf '#!/bin/sh\n# Says hello.\necho hello # %s\n' "$spdx" >run
printf '#!/bin/sh\n' >start.in
printf 'Name=x\n' >desktop.in
printf 'plain data\n' >notes
: >empty.txt
expected="plain.c run start.in sub dir/CMakeLists.txt sub dir/late.h"

check() {
    status=0
    sh "$source/tools/check-spdx.sh" "$work/tree" >"$work/out" 2>&1 || status=$?
    [ "$status" -eq 1 ] || { cat "$work/out" >&2; fail "$1: exit status $status, not 1"; }
    named=$(sed -n 's/^no SPDX-License-Identifier: GPL-2.0-or-later in the first comment of //p' "$work/out" |
        sort | tr '\n' ' ')
    [ "$named" = "$expected " ] || fail "$1: named '$named', expected '$expected '"
}
check "a tree without git"
if command -v git >/dev/null 2>&1; then
    git init -q . && git add . && check "a git checkout"
    # An untracked file is not part of the project yet.
    printf 'int y;\n' >untracked.cpp
    check "a git checkout with an untracked file"
fi
echo "the licence check names exactly the files that lack the line"
