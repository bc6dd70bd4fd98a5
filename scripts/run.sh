#!/usr/bin/env bash
# Installs what the build needs, builds, and runs the report on the sample
# system in examples/, so that the whole report can be seen on any machine.
#   scripts/run.sh            the sample report, its place and its entries
#   scripts/run.sh --window   start the window instead (a real run needs the
#                             maker's driver directory, /Library/Printers/Quorvel)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)"

if [ "${1:-}" = "--window" ]; then
  exec ./build/bin/telvarin-generator
fi

mkdir -p out
set +e
HOME=/home/customer ./build/bin/telvarin-report --sysroot examples/sample-system --output out | tee out/last-run.txt
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
  echo "telvarin-report ended with status $status" >&2
  exit "$status"
fi
archive=$(tail -n 1 out/last-run.txt)
echo
echo "The archive went to: $archive"
unzip -l "$archive"
