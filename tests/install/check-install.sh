#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the build into a scratch prefix and checks what a user gets: the program,
# the start script, the template base folder, the desktop entry and icons; then starts
# the program through the start script for a fresh user twice, to see that the first
# start makes the user's base folder from the template and the second leaves it alone.
#
#   check-install.sh <build folder> <source folder> <scratch folder>
set -eu
build=$1
source=$2
work=$3
prefix="$work/prefix"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install failed"

template="$prefix/share/dilboscan/template"
[ -x "$prefix/bin/dilboscan" ] || fail "bin/dilboscan is missing or not executable"
[ -x "$prefix/bin/dilboscan-start" ] || fail "bin/dilboscan-start is missing or not executable"

# The template is data/ without the .keep files, empty folders included.
(cd "$source/data" && find . -type f ! -name .keep | sort) >"$work/data.files"
(cd "$template" && find . -type f | sort) >"$work/template.files"
cmp -s "$work/data.files" "$work/template.files" || {
    diff "$work/data.files" "$work/template.files" >&2 || true
    fail "the template differs from data/"
}
for folder in prepared_recipes TEMP PRGDATA/drafts/normal PRGDATA/drafts/deluxe Graphic/ICO/24; do
    [ -d "$template/$folder" ] || fail "template folder $folder is missing"
done
while IFS= read -r file; do
    cmp -s "$source/data/$file" "$template/$file" || fail "template file $file differs"
done <"$work/data.files"

entry="$prefix/share/applications/org.dilboscan.Dilboscan.desktop"
[ -f "$entry" ] || fail "the desktop entry is missing"
grep -qx "Exec=$prefix/bin/dilboscan-start" "$entry" || fail "the desktop entry does not start $prefix/bin/dilboscan-start"
grep -qx "Icon=dilboscan" "$entry" || fail "the desktop entry names no icon"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
fi
png_signature=$(printf '\211PNG')
for size in 16 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/dilboscan.png"
    [ -f "$icon" ] || fail "icon ${size}x${size} is missing"
    [ "$(head -c 4 "$icon")" = "$png_signature" ] || fail "icon ${size}x${size} is not a PNG"
done

# First start of a fresh user: the base folder is made and the program runs in it
# (it converts the old sample files there, never in the template).
home="$work/home"
mkdir -p "$home"
recipes=$(find "$source/data/prepared_recipes" -name '*.vrez' | wc -l)
listed=$(cd / && env -u XDG_DATA_HOME HOME="$home" "$prefix/bin/dilboscan-start" --export-json |
    grep -c '"FileName"') || true
[ "$listed" -eq "$recipes" ] || fail "the first start lists $listed recipes, expected $recipes"
base="$home/.local/share/dilboscan"
[ -f "$base/prepared_recipes/Marzipan-Erdbeer-Torte.vrez" ] || fail "no base folder at $base"
head -n 1 "$base/prepared_recipes/Marzipan-Erdbeer-Torte.vrez" | grep -q '2.00' ||
    fail "old recipe files were not converted in the user's folder"
head -n 1 "$template/prepared_recipes/Marzipan-Erdbeer-Torte.vrez" | grep -q '1.5' ||
    fail "the template was changed"
[ -d "$base/PRGDATA/drafts/normal" ] || fail "the draft folders were not copied"
ls -d "$home/.local/share/dilboscan.new."* >/dev/null 2>&1 && fail "a scratch folder was left behind"

# Second start: what the user changed stays as it is.
rm "$base/prepared_recipes/Lemon Tart.vrez"
echo mine >"$base/PRGDATA/mine.txt"
listed=$(cd / && env -u XDG_DATA_HOME HOME="$home" "$prefix/bin/dilboscan-start" --export-json |
    grep -c '"FileName"') || true
[ "$listed" -eq $((recipes - 1)) ] || fail "the second start lists $listed recipes, expected $((recipes - 1))"
[ ! -e "$base/prepared_recipes/Lemon Tart.vrez" ] || fail "the second start restored a deleted recipe"
[ -f "$base/PRGDATA/mine.txt" ] || fail "the second start lost a user file"

# XDG_DATA_HOME chooses where the base folder goes.
(cd / && XDG_DATA_HOME="$work/xdg" HOME="$home" "$prefix/bin/dilboscan-start" --help >/dev/null) ||
    fail "dilboscan-start --help failed"
[ -d "$work/xdg/dilboscan/prepared_recipes" ] || fail "XDG_DATA_HOME was not followed"

rm -rf "$work"
echo "installation checked"
