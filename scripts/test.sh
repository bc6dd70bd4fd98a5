#!/usr/bin/env bash
# Installs what the build needs, builds everything and runs every test suite.
#   scripts/test.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
shift || true
./scripts/install-deps.sh
cmake -S . -B "$build" "$@"
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
