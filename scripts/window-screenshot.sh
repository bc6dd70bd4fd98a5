#!/usr/bin/env bash
# Takes docs/window.png: the real window on a virtual X display (Xvfb) after
# a press that collected the sample system in examples/, with HOME in a
# temporary directory.
#   scripts/window-screenshot.sh [BUILD_DIR]
# SHOTS_DIR=DIR keeps every picture: at rest, during a long run, asking
# whether to stop it when the window is closed, after it was cancelled,
# with a failed run's message box over it and after that box (the partial
# report it left), after success, after success at
# the smallest size and after Open Folder found nothing to open the folder
# with, each as the desktop's default shows it (DIR/default), with a 12 pt
# font (DIR/12pt) and at twice the scale (DIR/2x, QT_SCALE_FACTOR=2). They
# are in English; SHOTS_LOCALES="de_DE.UTF-8 ja_JP.UTF-8" takes the same
# pictures in those locales' languages as well (DIR/<locale>/...). Japanese
# and Chinese need a CJK font, such as Debian's fonts-noto-cjk, which only
# the pictures need.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
./scripts/install-deps.sh
cmake -S . -B "$build"
cmake --build "$build" --target telvarin_window_screenshot -j"$(nproc)"

shots="${SHOTS_DIR:-}"
if [ -z "$shots" ]; then
  shots=$(mktemp -d)
  trap 'rm -rf "$shots"' EXIT
fi
screenshot() {
  xvfb-run -a -s "-screen 0 1600x1200x24" "$build/bin/telvarin_window_screenshot" examples/sample-system "$@"
}
# Every picture of one locale into $1.
pictures() {
  local into="$1" locale="$2"
  mkdir -p "$into/default" "$into/12pt" "$into/2x"
  LC_ALL="$locale" LANGUAGE= screenshot "$into/default"
  LC_ALL="$locale" LANGUAGE= screenshot "$into/12pt" 12
  LC_ALL="$locale" LANGUAGE= QT_SCALE_FACTOR=2 screenshot "$into/2x"
}
pictures "$shots" C.UTF-8
for locale in ${SHOTS_LOCALES:-}; do
  pictures "$shots/$locale" "$locale"
done
mkdir -p docs
cp "$shots/default/after-success.png" docs/window.png
echo "docs/window.png written"
