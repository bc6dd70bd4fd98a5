#!/usr/bin/env bash
# Installs a built telvarin-generator package into a fresh, minimal Debian 12
# (bookworm) tree that never saw the build dependencies, and runs
# telvarin-report there, as root and as an ordinary user.
#
#   packaging/verify-in-chroot.sh PACKAGE.deb [TREE]
#
# TREE defaults to a new directory under /var/tmp, removed at the end unless
# KEEP_TREE=1; a TREE made by an earlier run of this script is reused, which
# saves the download. Needs root. The base system comes from the Debian mirror
# that apt on this machine already uses (or VERIFY_MIRROR, when set). Not part
# of the test suite: making the tree downloads a base system and takes minutes.
set -euo pipefail

die() { echo "verify-in-chroot: $*" >&2; exit 1; }
step() { echo; echo "==> $*"; }

[ "$#" -ge 1 ] && [ "$#" -le 2 ] || die "usage: $0 PACKAGE.deb [TREE]"
[ "$(id -u)" -eq 0 ] || die "needs root (debootstrap and chroot)"
package=$(realpath "$1")
[ -f "$package" ] || die "no package at $1"
dpkg-deb --info "$package" >/dev/null || die "$1 is not a Debian package"

# The first bookworm "main" mirror among apt's sources: one-line .list
# entries and deb822 .sources files alike.
find_mirror() {
    local file
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        awk '$1 == "deb" {
                 n = 2; if ($2 ~ /^\[/) { while (n <= NF && $n !~ /\]$/) n++; n++ }
                 if ($(n + 1) == "bookworm") { print $n; exit }
             }' "$file"
    done
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk 'BEGIN { RS = ""; FS = "\n" }
             {
                 types = ""; uris = ""; suites = ""; enabled = "yes"
                 for (i = 1; i <= NF; i++) {
                     if ($i ~ /^Types:/) types = $i
                     if ($i ~ /^URIs:/) uris = $i
                     if ($i ~ /^Suites:/) suites = $i
                     if ($i ~ /^Enabled:/) enabled = $i
                 }
                 if (types ~ /[ \t]deb([ \t]|$)/ && suites ~ /[ \t]bookworm([ \t]|$)/ && enabled !~ /no/) {
                     split(uris, u, /[ \t]+/); print u[2]; exit
                 }
             }' "$file"
    done
}

mirror=${VERIFY_MIRROR:-$(find_mirror | head -n 1)}
[ -n "$mirror" ] || die "found no bookworm mirror in /etc/apt/sources.list*; set VERIFY_MIRROR"

if ! command -v debootstrap >/dev/null 2>&1; then
    step "Installing debootstrap"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

made_tree=0
if [ "$#" -eq 2 ]; then
    tree=$(realpath -m "$2")
else
    tree=$(mktemp -d /var/tmp/telvarin-chroot.XXXXXX)
    made_tree=1
    # The root directory of the tree must be open to its ordinary users.
    chmod 0755 "$tree"
fi
marker="$tree/.telvarin-verify-tree"

unmount_all() {
    local point
    for point in "$tree/dev/bus/usb" "$tree/dev/pts" "$tree/sys" "$tree/proc"; do
        if mountpoint -q "$point"; then umount "$point" || umount -l "$point"; fi
    done
}

cleanup() {
    unmount_all
    if [ "$made_tree" -eq 1 ] && [ "${KEEP_TREE:-0}" != 1 ]; then
        # Never delete through a mount that is still there.
        if grep -qF " $tree/" /proc/self/mounts; then
            echo "verify-in-chroot: $tree still has mounts; left in place" >&2
        else
            rm -rf --one-file-system "$tree"
        fi
    else
        echo "The tree stays at $tree"
    fi
}
trap cleanup EXIT

if [ -f "$marker" ]; then
    step "Reusing the Debian 12 tree at $tree"
else
    [ -z "$(ls -A "$tree" 2>/dev/null)" ] || die "$tree is not empty and was not made by this script"
    step "Making a minimal Debian 12 tree at $tree from $mirror"
    debootstrap --variant=minbase bookworm "$tree" "$mirror"
    touch "$marker"
fi

# /proc, /sys and the USB device nodes as on an installed system: the USB
# library enumerates devices through /sys and opens them in /dev/bus/usb.
# Apart from those nodes /dev is debootstrap's own, with a private /dev/pts
# for apt.
mount -t proc proc "$tree/proc"
mount -t sysfs -o ro sysfs "$tree/sys"
mkdir -p "$tree/dev/pts"
mount -t devpts -o newinstance,ptmxmode=0666 devpts "$tree/dev/pts"
if [ -d /dev/bus/usb ]; then
    mkdir -p "$tree/dev/bus/usb"
    mount --bind /dev/bus/usb "$tree/dev/bus/usb"
else
    echo "(this machine has no /dev/bus/usb: the tree has no USB devices either)"
fi

in_tree() { chroot "$tree" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

step "Build dependencies in the tree (none expected)"
in_tree dpkg-query -W -f='${Package}\n' 2>/dev/null \
    | grep -E '^(qt6-base-dev|libusb-1\.0-0-dev|libminizip-dev|libtinyxml2-dev|libplist-dev|cmake|g\+\+)$' \
    || echo "none"

step "Installing $(basename "$package") with apt (no recommended packages)"
cp "$package" "$tree/tmp/"
in_tree apt-get update -qq
in_tree sh -c "cd /tmp && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ./$(basename "$package")"
in_tree dpkg-query -W -f='${Package} ${Version} ${db:Status-Status}\n' telvarin-generator

step "Installed files"
in_tree dpkg -L telvarin-generator | sort

step "Libraries of the installed programs"
for program in /usr/bin/telvarin-report /usr/bin/telvarin-generator; do
    [ -e "$tree$program" ] || continue
    if in_tree ldd "$program" | grep -F "not found"; then
        die "$program misses libraries in the tree"
    fi
    echo "$program: every library found"
done

step "telvarin-report --help"
in_tree telvarin-report --help

step "telvarin-report --version"
in_tree telvarin-report --version

# A report may fail (status 1, its message on standard error); a program that
# does not run at all, or refuses its command line, fails the verification.
run_report() {
    local status=0
    "$@" || status=$?
    echo "(exit status $status)"
    [ "$status" -le 1 ] || die "telvarin-report did not run (status $status)"
}

# Archives of an earlier run in a reused tree would confuse the listing below.
rm -f "$tree"/root/Desktop/Telvarin_*.zip "$tree"/tmp/Telvarin_*.zip

step "telvarin-report as root, HOME=/root"
run_report in_tree HOME=/root telvarin-report

step "telvarin-report --list --json on the command line of the next run (writes nothing)"
in_tree id tester >/dev/null 2>&1 || in_tree useradd --create-home --shell /bin/sh tester
chroot --userspec=tester:tester "$tree" /usr/bin/env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
    HOME=/home/tester telvarin-report --list --json --checksum --output /tmp \
    || die "telvarin-report --list did not take the command line of a run"

step "telvarin-report as an ordinary user, HOME=/home/tester, --output /tmp"
run_report chroot --userspec=tester:tester "$tree" /usr/bin/env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
    HOME=/home/tester telvarin-report --output /tmp

step "Archives left in the tree"
find "$tree/root/Desktop" "$tree/tmp" -maxdepth 1 -name 'Telvarin_*.zip' -print 2>/dev/null | while read -r archive; do
    # A run that failed may have left an archive without entries.
    if command -v unzip >/dev/null 2>&1; then unzip -l "$archive" || true; else ls -l "$archive"; fi
done

if [ -e "$tree/usr/bin/telvarin-generator" ]; then
    step "telvarin-generator starts on the offscreen platform (stopped after 3 s)"
    status=0
    in_tree HOME=/home/tester QT_QPA_PLATFORM=offscreen timeout 3 telvarin-generator || status=$?
    if [ "$status" -eq 124 ]; then echo "still running after 3 s: started"; else die "telvarin-generator ended with status $status"; fi
fi

step "Removing the package"
in_tree sh -c "DEBIAN_FRONTEND=noninteractive apt-get purge -y --autoremove telvarin-generator"

step "Done"
