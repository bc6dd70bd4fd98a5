#!/usr/bin/env bash
# Takes docs/window.png: the real window on a virtual X display (Xvfb) after
# a press that collected the sample system in examples/, with HOME in a
# temporary directory.
#   scripts/window-screenshot.sh [BUILD_DIR]
# SHOTS_DIR=DIR keeps all three pictures (at rest, running, after success).
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
mkdir -p "$shots" docs
xvfb-run -a -s "-screen 0 1024x768x24" \
  "$build/bin/telvarin_window_screenshot" examples/sample-system "$shots"
cp "$shots/after-success.png" docs/window.png
echo "docs/window.png written"
