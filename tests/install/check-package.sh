#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Checks the Debian package.
#
#   check-package.sh build <build folder> <source folder> <work folder>
#       builds the package with cpack into <work folder>/package and checks its control
#       fields and contents, and that the desktop entry, the AppStream description and
#       the manual page it carries are valid and agree with the program.
#   check-package.sh start <build folder> <source folder> <work folder>
#       unpacks that package into a scratch root and starts the program there through
#       the start script for a fresh user, offscreen, with --list.
#   check-package.sh lintian <build folder> <source folder> <work folder>
#       runs lintian on that package: no error and no warning may remain.
#
# Exits with 77 (skipped) when the Debian tools are missing; ./tools/install-deps.sh
# installs them.
set -eu
mode=$1
build=$2
source=$3
work=$4
packages="$work/package"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

missing=""
for tool in cpack dpkg dpkg-deb dpkg-shlibdeps objdump desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -n "$missing" ]; then
    echo "SKIP: missing$missing (./tools/install-deps.sh installs dpkg-dev, desktop-file-utils and appstream)"
    exit 77
fi

# The one package of the build, named as Debian names packages.
version=$("$build/dilboscan" --version | sed -n 's/^dilboscan //p')
[ -n "$version" ] || fail "dilboscan --version names no version"
deb="$packages/dilboscan_${version}_$(dpkg --print-architecture).deb"

build_and_check() {
    rm -rf "$work"
    mkdir -p "$packages"
    cpack -G DEB -B "$packages" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 || {
        cat "$work/cpack.log" >&2
        fail "cpack -G DEB failed"
    }
    [ -f "$deb" ] || fail "no package $deb; made: $(ls "$packages")"

    # Control fields.
    field() { dpkg-deb -f "$deb" "$1"; }
    [ "$(field Package)" = dilboscan ] || fail "Package is '$(field Package)'"
    [ "$(field Version)" = "$version" ] || fail "Version '$(field Version)' is not the program's $version"
    [ "$(field Architecture)" = "$(dpkg --print-architecture)" ] ||
        fail "Architecture is '$(field Architecture)'"
    for name in Maintainer Section Description; do
        [ -n "$(field $name)" ] || fail "the $name field is empty"
    done
    # Every Qt library the program links is a dependency of the package.
    depends=$(field Depends)
    qt_libraries=$(objdump -p "$build/dilboscan" | sed -n 's/^ *NEEDED *\(libQt6[A-Za-z]*\)\.so\.6$/\1/p')
    [ -n "$qt_libraries" ] || fail "the program links no Qt 6 library?"
    for library in $qt_libraries; do
        debian_name=$(echo "${library}6" | tr '[:upper:]' '[:lower:]')
        echo "$depends" | grep -Eq "(^|, )$debian_name( |,|$)" ||
            fail "Depends ($depends) lacks $debian_name for $library"
    done

    # What the program reads at run time without linking it, which dpkg-shlibdeps cannot
    # see: the fonts libwmf draws metafile text with (the folder the library names) and
    # Qt's plugins for the screen, the picture formats and the printers. The package
    # that holds each on this machine is a dependency, or a user who installs the
    # package without recommended packages gets placeholders and no printers.
    wmf=$(ldd "$build/dilboscan" | awk '$1 ~ /^libwmf-/ { print $3 }')
    [ -f "$wmf" ] || fail "the program links no libwmf?"
    wmf_fonts=$(strings "$wmf" | grep -m 1 '^/usr/share/fonts/') || fail "no font folder named in $wmf"
    plugins=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/qt6/plugins
    for needed in "$wmf_fonts" "$plugins/platforms/libqxcb.so" "$plugins/platforms/libqoffscreen.so" \
        "$plugins/imageformats/libqjpeg.so" "$plugins/imageformats/libqgif.so" \
        "$plugins/imageformats/libqico.so" "$plugins/printsupport/libcupsprintersupport.so"; do
        holder=$(dpkg -S "$needed" 2>/dev/null | sed 's/[:,].*//')
        [ -n "$holder" ] ||
            fail "no package holds $needed on this machine (./tools/install-deps.sh installs it)"
        echo "$depends" | grep -Eq "(^|, )$holder( |,|$)" ||
            fail "Depends ($depends) lacks $holder, which holds $needed"
    done

    # Installing and removing run nothing: no maintainer scripts, so the users' base
    # folders in their homes are never touched by the package.
    scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -Ev '^(|control|md5sums)$') || true
    [ -z "$scripts" ] || fail "the package has maintainer files: $scripts"

    # Contents: all below /usr, owned by root, the program files present.
    dpkg-deb -c "$deb" >"$work/contents"
    awk '{ print $6 }' "$work/contents" | grep -v '^\./usr/' && fail "files outside /usr"
    awk '$2 != "root/root" { print $6 }' "$work/contents" | grep . && fail "files not owned by root"
    for mode_path in \
        -rwxr-xr-x:./usr/bin/dilboscan \
        -rwxr-xr-x:./usr/bin/dilboscan-start \
        -rw-r--r--:./usr/share/applications/org.dilboscan.Dilboscan.desktop \
        -rw-r--r--:./usr/share/metainfo/org.dilboscan.Dilboscan.metainfo.xml \
        -rw-r--r--:./usr/share/man/man1/dilboscan.1.gz \
        lrwxrwxrwx:./usr/share/man/man1/dilboscan-start.1.gz \
        -rw-r--r--:./usr/share/doc/dilboscan/copyright \
        -rw-r--r--:./usr/share/doc/dilboscan/changelog.gz \
        -rw-r--r--:./usr/share/icons/hicolor/16x16/apps/dilboscan.png \
        -rw-r--r--:./usr/share/icons/hicolor/24x24/apps/dilboscan.png \
        -rw-r--r--:./usr/share/icons/hicolor/32x32/apps/dilboscan.png \
        -rw-r--r--:./usr/share/icons/hicolor/48x48/apps/dilboscan.png \
        -rw-r--r--:./usr/share/icons/hicolor/64x64/apps/dilboscan.png \
        -rw-r--r--:./usr/share/icons/hicolor/128x128/apps/dilboscan.png \
        -rw-r--r--:./usr/share/icons/hicolor/256x256/apps/dilboscan.png; do
        awk -v m="${mode_path%%:*}" -v p="${mode_path#*:}" '$1 == m && $6 == p { found = 1 }
            END { exit !found }' "$work/contents" || fail "${mode_path#*:} is missing or not ${mode_path%%:*}"
    done
    # The template base folder is data/ without the .keep files, empty folders included.
    (cd "$source/data" && find . -type f ! -name .keep | sort) >"$work/data.files"
    sed -n 's|^-.* \./usr/share/dilboscan/template/|./|p' "$work/contents" | sort >"$work/template.files"
    cmp -s "$work/data.files" "$work/template.files" || {
        diff "$work/data.files" "$work/template.files" >&2 || true
        fail "the template in the package differs from data/"
    }
    for folder in prepared_recipes TEMP PRGDATA/drafts/normal PRGDATA/drafts/deluxe; do
        grep -q " \./usr/share/dilboscan/template/$folder/\$" "$work/contents" ||
            fail "template folder $folder is missing"
    done

    # What the package carries is valid and fits together.
    root="$work/root"
    dpkg -x "$deb" "$root"
    entry="$root/usr/share/applications/org.dilboscan.Dilboscan.desktop"
    grep -qx "Exec=/usr/bin/dilboscan-start" "$entry" || fail "the desktop entry does not start /usr/bin/dilboscan-start"
    desktop-file-validate "$entry" || fail "desktop-file-validate rejects the desktop entry"
    # validate-tree also checks that the description's desktop entry is there.
    appstreamcli validate-tree --no-net "$root" || fail "appstreamcli rejects the AppStream description"
    # The version and the licence agree everywhere: the newest release the AppStream
    # description and the changelog name is the package's, the licence is the project's.
    metainfo="$root/usr/share/metainfo/org.dilboscan.Dilboscan.metainfo.xml"
    first_release=$(grep -m 1 '<release ' "$metainfo")
    # The version of a build after a tag holds a "+", which must not act as a repetition.
    version_pattern=$(printf '%s' "$version" | sed 's/[.+]/\\&/g')
    echo "$first_release" | grep -Eq "<release version=\"$version_pattern\" date=\"[0-9]{4}-[0-9]{2}-[0-9]{2}\"" ||
        fail "the newest AppStream release is not $version with a date: $first_release"
    grep -q '<project_license>GPL-2.0-or-later</project_license>' "$metainfo" ||
        fail "the AppStream description names another licence"
    first_entry=$(gzip -dc "$root/usr/share/doc/dilboscan/changelog.gz" | head -n 1)
    [ "$first_entry" = "dilboscan ($version) unstable; urgency=medium" ] ||
        fail "the changelog starts with '$first_entry', not version $version"
    [ "$(readlink "$root/usr/share/man/man1/dilboscan-start.1.gz")" = dilboscan.1.gz ] ||
        fail "the start script's manual page does not lead to the program's"
    page="$work/dilboscan.1"
    gzip -dc "$root/usr/share/man/man1/dilboscan.1.gz" >"$page"
    grep -q '/usr/share/dilboscan/template' "$page" || fail "the manual page names another template folder"
    grep -q "^\.TH DILBOSCAN 1 \"[0-9-]*\" \"dilboscan $version\"" "$page" || fail "the manual page names another version"
    # Every option the program offers has its entry in the page's option list.
    options=$("$build/dilboscan" --help | sed -n 's/^ *\(-[a-z], \)\{0,1\}--\([a-z][a-z-]*\).*/\2/p')
    [ -n "$options" ] || fail "dilboscan --help lists no options"
    awk '/^\.SH/ { in_options = ($2 == "OPTIONS") } in_options && tag { print } { tag = ($1 == ".TP") }' \
        "$page" | sed 's/\\-/-/g' >"$work/option-tags"
    for option in $options; do
        grep -Eq -- "(^|[^a-z-])--$option([^a-z-]|\$)" "$work/option-tags" ||
            fail "the manual page does not describe --$option"
    done
    if command -v groff >/dev/null 2>&1; then
        warnings=$(groff -man -ww -z -Tutf8 "$page" 2>&1)
        [ -z "$warnings" ] || fail "groff warns about the manual page: $warnings"
    fi
    echo "package $deb checked"
}

start_unpacked() {
    [ -f "$deb" ] || fail "no package $deb (the package_build test makes it)"
    root="$work/start-root"
    home="$work/start-home"
    expected="$work/expected-base"
    rm -rf "$root" "$home" "$expected"
    mkdir -p "$home"
    dpkg -x "$deb" "$root"

    # A fresh user starts the unpacked program through its start script from elsewhere.
    (cd / && env -u XDG_DATA_HOME HOME="$home" "$root/usr/bin/dilboscan-start" --list) \
        >"$work/list.out" 2>"$work/list.err" || {
        cat "$work/list.err" >&2
        fail "the unpacked program failed"
    }
    base="$home/.local/share/dilboscan"
    [ -d "$base/prepared_recipes" ] || fail "no base folder made at $base"
    head -n 1 "$base/prepared_recipes/Marzipan-Erdbeer-Torte.vrez" | grep -q '2.00' ||
        fail "the program did not run in the user's base folder"

    # It lists what the built program lists on a copy of the shipped collection.
    cp -R "$source/data" "$expected"
    (cd "$expected" && "$build/dilboscan" --list) >"$work/list.expected" 2>/dev/null ||
        fail "the built program failed on a copy of data/"
    recipes=$(find "$source/data/prepared_recipes" -name '*.vrez' | wc -l)
    [ "$(wc -l <"$work/list.out")" -eq $((recipes + 1)) ] ||
        fail "the unpacked program lists $(wc -l <"$work/list.out") rows for $recipes recipes"
    cmp -s "$work/list.expected" "$work/list.out" || {
        diff "$work/list.expected" "$work/list.out" >&2 || true
        fail "the unpacked program lists other rows than the built one"
    }
    echo "unpacked program started"
}

# lintian as a distribution runs it on the package, with its informational notes shown.
# A tag that had to stay would be overridden, with the reason, in a lintian-overrides
# file that the package installs as /usr/share/lintian/overrides/dilboscan; none has to.
run_lintian() {
    [ -f "$deb" ] || fail "no package $deb (the package_build test makes it)"
    command -v lintian >/dev/null 2>&1 || {
        echo "SKIP: lintian is missing (./tools/install-deps.sh installs it)"
        exit 77
    }
    lintian --display-info --fail-on error,warning "$deb" >"$work/lintian.out" 2>&1 || {
        cat "$work/lintian.out" >&2
        fail "lintian finds errors or warnings in $deb"
    }
    cat "$work/lintian.out"
    echo "lintian passes $deb"
}

case "$mode" in
build) build_and_check ;;
start) start_unpacked ;;
lintian) run_lintian ;;
*) fail "unknown mode $mode" ;;
esac
