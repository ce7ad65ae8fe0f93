#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the Debian packages the build, the tests and the running program need on a
# minimal Debian 12 (tools/check-fresh-machine.sh checks that on one); only missing ones
# are fetched. Works as root and as a user with sudo. Extra package names may be given.
# Recommended packages are not installed: the ones the program relies on are named.
set -eu

# libexpat1-dev and libjpeg-dev: libwmf's link line names -lexpat and -ljpeg, but
# libwmf-dev does not depend on them. fonts-urw-base35: the fonts libwmf draws metafile
# text with (only recommended by libwmf); without them no WMF picture can be drawn.
# file: cpack's Debian packager runs it. libcups2-dev: the program asks CUPS whether a
# queue took a job. cups and printer-driver-cups-pdf: the printing tests start a CUPS
# daemon of their own with a queue that prints to PDF files. lintian: the package test
# runs it on the Debian package the build makes. python3-recipe-scrapers: a recipe reader
# we did not write, which the export test lets read our website's pages.
packages="cmake ninja-build g++ qt6-base-dev qt6-svg-dev fonts-liberation fonts-dejavu-core \
xvfb xauth poppler-utils time pkg-config libwmf-dev libexpat1-dev libjpeg-dev fonts-urw-base35 \
libemf2svg-dev dpkg-dev file desktop-file-utils appstream libcups2-dev cups cups-client \
printer-driver-cups-pdf lintian python3-recipe-scrapers $*"

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installing:$missing"
# shellcheck disable=SC2086
if ! $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing; then
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
fi
