#!/usr/bin/env bash
# Takes docs/window.png: the real window on a virtual X display (Xvfb) after
# a press that collected the sample system in examples/, with HOME in a
# temporary directory.
#   scripts/window-screenshot.sh [BUILD_DIR]
# SHOTS_DIR=DIR keeps every picture: at rest, during a long run, after it
# was cancelled, with a failed run's message box over it, after success,
# after success at the smallest size and after Open Folder found nothing to
# open the folder with, each as the desktop's default shows it
# (DIR/default), with a 12 pt font (DIR/12pt) and at twice the scale (DIR/2x,
# QT_SCALE_FACTOR=2).
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
mkdir -p "$shots/default" "$shots/12pt" "$shots/2x" docs
screenshot() {
  xvfb-run -a -s "-screen 0 1600x1200x24" "$build/bin/telvarin_window_screenshot" examples/sample-system "$@"
}
screenshot "$shots/default"
screenshot "$shots/12pt" 12
QT_SCALE_FACTOR=2 screenshot "$shots/2x"
cp "$shots/default/after-success.png" docs/window.png
echo "docs/window.png written"
