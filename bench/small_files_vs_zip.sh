#!/usr/bin/env bash
# The small-file load: 30 000 small logs and no large file, where what each
# collected file costs beside its deflate work shows. Same checks and
# targets as collect_vs_zip.sh.
#
#   bench/small_files_vs_zip.sh [TELVARIN_REPORT]
# Environment: BENCH_SMALL_COUNT (30000), BENCH_ROUNDS (3), BENCH_TARGET (0.5).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
BENCH_LARGE_MIB=0 BENCH_SMALL_COUNT="${BENCH_SMALL_COUNT:-30000}" exec "$here/collect_vs_zip.sh" "$@"
