#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for a
# bounded time from its seed corpus. Fails on any crash, hang, memory blow-up
# or sanitizer report.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]     (default 60, or $FUZZ_SECONDS)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-${FUZZ_SECONDS:-60}}"
build=build-fuzz
targets=(fuzz_data_xml fuzz_configured_paths fuzz_property_list)

cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTELVARIN_BUILD_FUZZERS=ON \
  -DTELVARIN_BUILD_APP=OFF -DTELVARIN_BUILD_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# New inputs go to a scratch corpus; the seeds under tests/fuzz stay as they are.
work="$(mktemp -d "${TMPDIR:-/tmp}/telvarin-fuzz-XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/fuzz-artifacts"

status=0
for target in "${targets[@]}"; do
  name="${target#fuzz_}"
  seeds="tests/fuzz/corpus/$name"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$build/fuzz-artifacts/$target-")
  if [ -f "tests/fuzz/$name.dict" ]; then options+=(-dict="tests/fuzz/$name.dict"); fi
  mkdir -p "$work/$name"
  echo "== $target for ${seconds}s =="
  if ! "$build/bin/$target" "${options[@]}" "$work/$name" "$seeds" >"$work/$name.log" 2>&1; then
    tail -n 60 "$work/$name.log"
    echo "$target FAILED; the input is in $build/fuzz-artifacts/" >&2
    status=1
  else
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$work/$name.log" || true
  fi
done
exit "$status"
