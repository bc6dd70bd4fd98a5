#!/usr/bin/env bash
# Collects one large file and many small files through a data.xml with the
# real telvarin-report, and zips the same files with Info-ZIP's `zip -r -6`,
# in the same run. Reports wall time and peak memory of both and checks the
# targets: peak memory under 64 MiB, time no worse than 1.2 times zip's.
#
#   bench/collect_vs_zip.sh [TELVARIN_REPORT]      (default build/bin/telvarin-report)
# Environment: BENCH_LARGE_MIB (1024), BENCH_SMALL_COUNT (10000), BENCH_ROUNDS (3).
# Everything is written under one temporary directory, removed at the end.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
report="$(realpath "${1:-$here/../build/bin/telvarin-report}")"
large_mib="${BENCH_LARGE_MIB:-1024}"
small_count="${BENCH_SMALL_COUNT:-10000}"
rounds="${BENCH_ROUNDS:-3}"

for tool in /usr/bin/time zip python3; do
  command -v "$tool" >/dev/null || { echo "collect_vs_zip: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done
[ -x "$report" ] || { echo "collect_vs_zip: no telvarin-report at $report" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/tmp}/telvarin-bench-XXXXXX")"
trap 'rm -rf "$work"' EXIT
# The source files, two archives of them and some slack.
needed_kib=$(( (large_mib * 2 + 512) * 1024 ))
free_kib=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if [ "$free_kib" -lt "$needed_kib" ]; then
  echo "collect_vs_zip: $((free_kib / 1024)) MiB free under $work, need $((needed_kib / 1024)) MiB" >&2
  exit 2
fi

# The files lie in a collected system of their own, with the maker's (empty)
# driver and application folders, which the general report needs.
root="$work/root"
home_in_root="/home/bench"
home="$root$home_in_root"
files="$home/bench"
output="$work/out"
mkdir -p "$root/Library/Printers/Quorvel" "$root/Applications" "$output"
echo "writing ${large_mib} MiB and ${small_count} small files under $work ..."
python3 "$here/make_log_files.py" "$files/large/printer.log" $((large_mib << 20)) "$files/small" "$small_count"

# telvarin-report finds data.xml beside itself: <bin>/../share/telvarin-generator/.
install="$work/install"
mkdir -p "$install/bin" "$install/share/telvarin-generator"
cp "$report" "$install/bin/telvarin-report"
cat >"$install/share/telvarin-generator/data.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<configuration>
  <Absolute_Path_Files/>
  <Home_Path_Files>
    <file>bench/large/printer.log,Logs</file>
    <file>bench/small/*.log,Logs/jobs</file>
  </Home_Path_Files>
</configuration>
XML

# "wall-seconds cpu-seconds kib" of one command, from GNU time.
measure() {
  local stats="$work/time.txt"
  /usr/bin/time -v -o "$stats" "$@" >"$work/stdout.txt" 2>"$work/stderr.txt" || {
    echo "collect_vs_zip: '$*' failed:" >&2; tail -n 20 "$work/stderr.txt" >&2; exit 1; }
  awk -F': ' '
    /Elapsed \(wall clock\) time/ { n = split($2, part, ":"); s = 0; for (i = 1; i <= n; ++i) s = s * 60 + part[i] }
    /User time \(seconds\)|System time \(seconds\)/ { cpu += $2 }
    /Maximum resident set size/ { kib = $2 }
    END { printf "%.2f %.2f %d\n", s, cpu, kib }' "$stats"
}

run_report() {
  rm -f "$output"/Telvarin_*.zip
  HOME="$home_in_root" measure "$install/bin/telvarin-report" --sysroot "$root" --output "$output"
}

run_zip() {
  rm -f "$work/zip.zip"
  (cd "$files" && measure zip -r -6 -q "$work/zip.zip" large small)
}

# Warm the page cache, so that both read from memory.
cat "$files/large/printer.log" >/dev/null
find "$files/small" -type f -exec cat {} + >/dev/null

# The machine may be shared: the best wall time of the rounds is the one
# least disturbed, and the processor time is shown beside it.
less() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
best_report_s="" best_report_cpu="" best_report_kib=0 best_zip_s="" best_zip_cpu="" best_zip_kib=0
for round in $(seq "$rounds"); do
  read -r report_s report_cpu report_kib < <(run_report)
  read -r zip_s zip_cpu zip_kib < <(run_zip)
  echo "round $round: telvarin-report ${report_s} s (cpu ${report_cpu} s), ${report_kib} KiB;" \
       "zip -r -6 ${zip_s} s (cpu ${zip_cpu} s), ${zip_kib} KiB"
  if [ -z "$best_report_s" ] || less "$report_s" "$best_report_s"; then best_report_s=$report_s; fi
  if [ -z "$best_report_cpu" ] || less "$report_cpu" "$best_report_cpu"; then best_report_cpu=$report_cpu; fi
  if [ -z "$best_zip_s" ] || less "$zip_s" "$best_zip_s"; then best_zip_s=$zip_s; fi
  if [ -z "$best_zip_cpu" ] || less "$zip_cpu" "$best_zip_cpu"; then best_zip_cpu=$zip_cpu; fi
  [ "$report_kib" -gt "$best_report_kib" ] && best_report_kib=$report_kib
  [ "$zip_kib" -gt "$best_zip_kib" ] && best_zip_kib=$zip_kib
done

# The report's archive must hold every file, whole.
archive="$(ls "$output"/Telvarin_*.zip)"
entries=$(python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); print(len(z.infolist()))' "$archive")
expected=$((small_count + 1 + 2))
[ "$entries" -eq "$expected" ] || { echo "collect_vs_zip: $entries entries in the report, expected $expected" >&2; exit 1; }
unzip -tqq "$archive" >/dev/null || { echo "collect_vs_zip: the report's archive does not test sound" >&2; exit 1; }

ratio=$(awk -v a="$best_report_s" -v b="$best_zip_s" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
echo
echo "files: 1 x ${large_mib} MiB + ${small_count} small; best of ${rounds} rounds, peak memory the highest"
printf '%-16s %10s %10s %14s %12s\n' "" "wall s" "cpu s" "peak RSS KiB" "archive MiB"
printf '%-16s %10s %10s %14s %12s\n' telvarin-report "$best_report_s" "$best_report_cpu" "$best_report_kib" \
  "$(( $(stat -c %s "$archive") >> 20 ))"
printf '%-16s %10s %10s %14s %12s\n' "zip -r -6" "$best_zip_s" "$best_zip_cpu" "$best_zip_kib" \
  "$(( $(stat -c %s "$work/zip.zip") >> 20 ))"
echo "time ratio telvarin-report / zip: $ratio (wall), $(awk -v a="$best_report_cpu" -v b="$best_zip_cpu" \
  'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }') (cpu)"

status=0
if [ "$best_report_kib" -ge $((64 * 1024)) ]; then
  echo "MISSED: peak memory ${best_report_kib} KiB is not under 64 MiB" >&2; status=1; fi
if awk -v r="$ratio" 'BEGIN { exit !(r > 1.2) }'; then
  echo "MISSED: time ratio $ratio is above 1.2" >&2; status=1; fi
[ "$status" -eq 0 ] && echo "targets met"
exit "$status"
