#!/usr/bin/env bash
# Installs what the build needs, builds, and starts the Telvarin Generator's window.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)"
exec ./build/bin/telvarin-generator "$@"
