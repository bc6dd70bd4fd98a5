#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and packaging the
# Telvarin Generator need. Run as root, or with sudo available.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

PACKAGES=(
  # build
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev
  libusb-1.0-0-dev libminizip-dev zlib1g-dev libtinyxml2-dev libplist-dev libglib2.0-dev
  nlohmann-json3-dev
  # the window's SVG icon at run time
  libqt6svg6
  # the window's translations: lupdate and lrelease, CMake's qt_add_translations,
  # and Qt's own words for its buttons
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  python3 unzip zip pigz time locales tzdata
  # a third reader of the archives the tests leave (bsdtar -x)
  libarchive-tools
  umockdev libumockdev-dev
  # a private session bus for the window's file manager and notification tests
  dbus-daemon
  clang libclang-rt-14-dev
  # the window's screenshot on a virtual display
  xvfb xauth
  # the fleet example's playbook, run by CI on this machine
  ansible-core
  # the code's format, checked by CI
  clang-format
  # packaging checks
  desktop-file-utils appstream lintian dpkg-dev fakeroot file mandoc binutils
)

export DEBIAN_FRONTEND=noninteractive
missing=()
for package in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale other than the POSIX one, for the tests that check the report does
# not follow the user's locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  $SUDO sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  $SUDO locale-gen >/dev/null
fi
