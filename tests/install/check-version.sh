#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# tools/version.cmake names the version git describes, or the fallback without a tag or
# outside a checkout, and a development build heads the changelog and the releases.
#
#   check-version.sh <source folder> <work folder>
set -eu
source=$1
work=$2
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
command -v git >/dev/null 2>&1 || {
    echo "SKIP: git is missing"
    exit 77
}

rm -rf "$work"
tree="$work/tree"
mkdir -p "$tree"
cp "$source/CHANGELOG.md" "$tree/"
fallback=$(sed -n 's/^## \[\([0-9.]*\)\] - .*/\1/p' "$source/CHANGELOG.md" | head -n 1)

version_of() {
    rm -rf "$work/out"
    cmake -DSOURCE_DIR="$1" -DOUTPUT_DIR="$work/out" -DFALLBACK_VERSION="$fallback" \
        "-DMAINTAINER=Test <test@example.org>" \
        -DMETAINFO_IN="$source/tools/install/org.dilboscan.Dilboscan.metainfo.xml.in" \
        -DMETAINFO_OUT="$work/out/metainfo.xml" -P "$source/tools/version.cmake" >"$work/log" 2>&1 ||
        { cat "$work/log" >&2; fail "version.cmake failed on $1"; }
    sed -n 's/^#define DILBOSCAN_VERSION "\(.*\)"$/\1/p' "$work/out/dilboscan_version.h"
}
expect() {
    [ "$2" = "$3" ] || fail "$1: version '$2', expected '$3'"
}

# Outside a checkout of its own (a tarball unpacked anywhere): the fallback.
expect "no checkout" "$(version_of "$tree")" "$fallback"
git -C "$tree" init -q
git -C "$tree" add .
commit() { git -C "$tree" -c user.name=Test -c user.email=test@example.org commit -q --allow-empty -m "$1"; }
commit first
expect "no tag" "$(version_of "$tree")" "$fallback"
git -C "$tree" tag -a v9.1.0 -m 9.1.0
git -C "$tree" tag -a other-2.0 -m other
expect "a release tag" "$(version_of "$tree")" 9.1.0
commit second
commit third
hash=$(git -C "$tree" rev-parse --short HEAD)
expect "two commits after" "$(version_of "$tree")" "9.1.0+2.g$hash"
# A version CHANGELOG.md does not list is a development build, the newest entry.
first=$(gzip -dc "$work/out/changelog.gz" | head -n 1)
[ "$first" = "dilboscan (9.1.0+2.g$hash) unstable; urgency=medium" ] || fail "the changelog starts '$first'"
grep -m 1 '<release ' "$work/out/metainfo.xml" | grep -q "version=\"9.1.0+2.g$hash\" date=\"[0-9-]*\" type=\"development\"" ||
    fail "the newest AppStream release is $(grep -m 1 '<release ' "$work/out/metainfo.xml")"
echo "versions from git checked"
