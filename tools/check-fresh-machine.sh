#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Runs the README's two commands on a new, minimal Debian 12 system, as a new user would:
# a machine that has only what `debootstrap --variant=minbase bookworm` installs, so a
# package the scripts forget to install shows up here, not on a user's machine.
#
#   tools/check-fresh-machine.sh [--keep]
#
# Makes the base system once (cached in $DILBO_FRESH_CACHE, /var/cache/dilboscan-fresh
# unless set; delete it to start over), unpacks it into a new root, copies a clean clone
# of the current commit into it, mounts /proc, /sys and /dev, and runs there as root:
#   1. the README's test command; the script exits with its status;
#   2. when that passed, the README's first command, offscreen, checking that the
#      program starts and is still running after $DILBO_FRESH_UP seconds (10 unless set).
# The mounts are undone whatever happens; the root is deleted unless --keep is given.
# Needs root, debootstrap (installed when missing) and the network to the machine's own
# Debian archive.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
keep=false
[ "${1:-}" = "--keep" ] && keep=true
cache=${DILBO_FRESH_CACHE:-/var/cache/dilboscan-fresh}
up_seconds=${DILBO_FRESH_UP:-10}
suite=bookworm

say() { echo "check-fresh-machine: $*" >&2; }
die() {
    say "$*"
    exit 2
}

[ "$(id -u)" -eq 0 ] || die "must run as root (it makes a chroot and mounts into it)"
command -v debootstrap >/dev/null 2>&1 || "$top/tools/install-deps.sh" debootstrap
command -v git >/dev/null 2>&1 || die "git is needed to clone the repository"

# The archive this machine installs from, read from its apt sources (one-line or deb822
# form): the first address that serves the suite itself.
mirror() {
    {
        [ -f /etc/apt/sources.list ] && sed -n "s|^[[:space:]]*deb[[:space:]]\{1,\}\(\[[^]]*\][[:space:]]\{1,\}\)\{0,1\}\([a-z]*://[^[:space:]]*\)[[:space:]]\{1,\}${suite}[[:space:]].*|\2|p" /etc/apt/sources.list
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -f "$f" ] || continue
            # Stanzas are separated by blank lines; take URIs of those whose Suites name the suite.
            awk -v suite="$suite" '
                /^[[:space:]]*$/ { if (uris != "" && has) print uris; uris = ""; has = 0; next }
                /^URIs:/ { uris = $2 }
                /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite) has = 1 }
                END { if (uris != "" && has) print uris }' "$f"
        done
    } | head -n 1
}
archive=$(mirror)
[ -n "$archive" ] || die "no Debian archive for $suite in /etc/apt/sources.list{,.d}"

# The base system, made once.
base="$cache/$suite-minbase-$(dpkg --print-architecture).tar"
if [ ! -f "$base" ]; then
    say "making the $suite base system from $archive (cached in $base)"
    mkdir -p "$cache"
    scratch=$(mktemp -d "$cache/debootstrap.XXXXXX")
    if ! debootstrap --variant=minbase "$suite" "$scratch/root" "$archive" >"$scratch/log" 2>&1; then
        tail -n 20 "$scratch/log" >&2
        rm -rf --one-file-system "$scratch"
        die "debootstrap failed"
    fi
    tar -C "$scratch/root" -cf "$base.part" .
    mv "$base.part" "$base"
    rm -rf --one-file-system "$scratch"
fi

work=$(mktemp -d "${TMPDIR:-/var/tmp}/dilboscan-fresh.XXXXXX")
root="$work/root"
mounted=""
# shellcheck disable=SC2317 # called by the EXIT trap
cleanup() {
    status=$?
    for m in $mounted; do
        umount -R "$m" 2>/dev/null || umount -R -l "$m" || say "could not unmount $m"
    done
    # Never delete through a mount that is still there.
    if grep -q " $root/" /proc/mounts; then
        say "mounts are left below $root; it is kept"
    elif $keep; then
        say "the root is kept in $root"
    else
        rm -rf --one-file-system "$work"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

mkdir "$root"
tar -C "$root" -xf "$base"
# The machine's own archive addresses and name service, as a new machine has them.
cp /etc/resolv.conf "$root/etc/resolv.conf"
if ls /etc/apt/sources.list.d/*.sources >/dev/null 2>&1; then
    rm -f "$root/etc/apt/sources.list"
    cp /etc/apt/sources.list.d/*.sources "$root/etc/apt/sources.list.d/"
fi
[ -f /etc/apt/sources.list ] && cp /etc/apt/sources.list "$root/etc/apt/sources.list"
# Packages start their services when installed (cups does); in this root they must not:
# a daemon would outlive the check and hold its mounts. The tests start their own.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

# A clean clone of the current commit: what the next user clones, nothing uncommitted.
commit=$(git -C "$top" rev-parse HEAD)
[ -z "$(git -C "$top" status --porcelain --untracked-files=no)" ] ||
    say "uncommitted changes are not checked; this checks commit $commit"
git clone -q --no-local "$top" "$root/root/dilboscan"
git -C "$root/root/dilboscan" checkout -q --detach "$commit"

for m in proc sys dev; do
    case $m in
    proc) mount -t proc proc "$root/proc" ;;
    *) mount --rbind "/$m" "$root/$m" && mount --make-rslave "$root/$m" ;;
    esac
    mounted="$root/$m $mounted"
done

# The README's two commands: the lines of its first sh block.
commands=$(awk '/^```sh$/ { inside = 1; next } inside && /^```$/ { exit } inside' \
    "$root/root/dilboscan/README.md" | sed 's/[[:space:]]*#.*//')
first=$(echo "$commands" | sed -n 1p)
tests=$(echo "$commands" | sed -n 2p)
if [ -z "$first" ] || [ -z "$tests" ]; then
    die "README.md has no two commands in its first sh block"
fi

in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        sh -c "cd /root/dilboscan && $1"
}

say "running '$tests' in a fresh $suite root ($root)"
started=$(date +%s)
status=0
in_root "$tests" || status=$?
say "'$tests' exited with $status after $(($(date +%s) - started)) s"
[ "$status" -eq 0 ] || exit "$status"

# The first command starts the program and does not return while it runs: it passes
# when the program is up, and still up a few seconds later.
say "running '$first' offscreen"
program="$root/root/dilboscan/build/dilboscan"
running() {
    for pid in $(pgrep -x dilboscan); do
        [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$program" ] && return 0
    done
    return 1
}
log="$work/demo.log"
in_root "QT_QPA_PLATFORM=offscreen exec $first" >"$log" 2>&1 &
demo=$!
up=0
while kill -0 "$demo" 2>/dev/null && [ "$up" -lt "$up_seconds" ]; do
    sleep 1
    if running; then up=$((up + 1)); else up=0; fi
done
if [ "$up" -ge "$up_seconds" ]; then
    for pid in $(pgrep -x dilboscan); do
        [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$program" ] && kill "$pid"
    done
    wait "$demo" || true
    say "the program started and was still running after $up_seconds s"
    exit 0
fi
wait "$demo" && status=0 || status=$?
tail -n 30 "$log" >&2
say "'$first' ended with $status before the program had run $up_seconds s"
exit 1
