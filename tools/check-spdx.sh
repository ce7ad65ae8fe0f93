#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Checks that every source file of the project names its licence in its first comment:
#
#   check-spdx.sh [SOURCE FOLDER]
#
# A source file is a C or C++ file, a CMake file, a shell or Python script, or any other
# file that starts with "#!". Its first comment (the comment lines at its top, after the
# "#!" line) must hold the line "SPDX-License-Identifier: GPL-2.0-or-later". In a git
# checkout the tracked files are checked, elsewhere (a tarball) every file outside the
# build folders. Prints each file that lacks the line and exits with 1 if there is one.
set -eu
source=${1:-$(dirname "$0")/..}
cd "$source"

# The candidates, NUL-separated; awk decides about the ones without a telling name.
list_files() {
    # The folder is a checkout's top, not just some folder inside another checkout.
    if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ]; then
        git ls-files -z
    else
        find . \( -name '.git' -o -path './build*' \) -prune -o -type f -print0
    fi
}

# xargs runs awk more than once on a long list; each run prints the files it finds
# lacking and exits with 1 then, which xargs turns into 123.
status=0
list_files | grep -z -E '(^|/)CMakeLists\.txt$|\.(c|cc|cpp|h|hpp|cmake|sh|py|in)$|(^|/)[^./]+$' |
    xargs -0 -r awk '
    function finish() {
        if (checked && !found) {
            print "no SPDX-License-Identifier: GPL-2.0-or-later in the first comment of " file
            lacking = 1
        }
    }
    FNR == 1 {
        if (file != "")
            finish()
        file = FILENAME
        sub(/^\.\//, "", file)
        cfamily = file ~ /\.(c|cc|cpp|h|hpp)$/
        checked = cfamily || file ~ /((^|\/)CMakeLists\.txt|\.(cmake|sh|py))$/ || /^#!/
        found = 0
        head = 1
        if (/^#!/)
            next
    }
    head {
        if (cfamily ? /^[ \t]*(\/\/|\/\*|\*)/ : /^[ \t]*#/) {
            if (index($0, "SPDX-License-Identifier: GPL-2.0-or-later"))
                found = 1
        } else {
            head = 0
        }
    }
    END {
        if (file != "")
            finish()
        exit lacking
    }' || status=1
exit "$status"
