#!/bin/sh
# Installs the Debian packages the build and the tests need; only missing ones are
# fetched. Works as root and as a user with sudo. Extra package names may be given.
set -eu

packages="cmake ninja-build g++ qt6-base-dev qt6-svg-dev fonts-liberation fonts-dejavu-core \
xvfb xauth poppler-utils time pkg-config libwmf-dev libemf2svg-dev dpkg-dev desktop-file-utils \
appstream $*"

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
