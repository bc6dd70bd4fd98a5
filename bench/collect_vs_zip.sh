#!/usr/bin/env bash
# shellcheck disable=SC2317  # the run_ functions are called by name
# Collects one large log and many small ones through a data.xml with the real
# telvarin-report, and compresses the same files in the same run with
# Info-ZIP's `zip -r -6` and with `pigz -6` (a single-file `pigz -K` zip of
# the large file, beside `zip -6` of that file alone), on one core and on all
# cores (taskset). Each measurement is the median of BENCH_ROUNDS rounds whose
# order alternates; peak memory is the highest of the rounds. Checks the
# targets: ours / zip -6 at most 0.5 on all cores (two or more), peak memory
# at most 64 MiB, every entry extracting byte for byte (SHA-256, Python's
# zipfile) and passing `unzip -t`, deflated size within 2 % of one zlib
# stream per file.
#
#   bench/collect_vs_zip.sh [TELVARIN_REPORT]      (default build/bin/telvarin-report)
# Environment: BENCH_LARGE_MIB (300), BENCH_SMALL_COUNT (3000), BENCH_ROUNDS (3),
# BENCH_TARGET (0.5). With BENCH_LARGE_MIB=0 the load is the small files
# alone (bench/small_files_vs_zip.sh), where the cost per file shows.
# Everything is written under one temporary directory, removed at the end.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
report="$(realpath "${1:-$here/../build/bin/telvarin-report}")"
large_mib="${BENCH_LARGE_MIB:-300}"
small_count="${BENCH_SMALL_COUNT:-3000}"
rounds="${BENCH_ROUNDS:-3}"
target="${BENCH_TARGET:-0.5}"

for tool in /usr/bin/time zip unzip pigz taskset python3; do
  command -v "$tool" >/dev/null || { echo "collect_vs_zip: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done
[ -x "$report" ] || { echo "collect_vs_zip: no telvarin-report at $report" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/tmp}/telvarin-bench-XXXXXX")"
trap 'rm -rf "$work"' EXIT
# The source files, three archives of them and some slack.
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
cat >"$install/share/telvarin-generator/data.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<configuration>
  <Absolute_Path_Files/>
  <Home_Path_Files>
$([ "$large_mib" -gt 0 ] && echo "    <file>bench/large/printer.log,Logs</file>")
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

# Each takes the processors to run on and the number of them.
run_ours() {
  rm -f "$output"/Telvarin_*.zip
  HOME="$home_in_root" measure taskset -c "$1" "$install/bin/telvarin-report" --sysroot "$root" --output "$output"
}
run_zip() {
  rm -f "$work/zip.zip"
  # shellcheck disable=SC2086  # the folders, one or two
  (cd "$files" && measure taskset -c "$1" zip -r -6 -q "$work/zip.zip" $folders)
}
run_zip_large() {
  rm -f "$work/zip-large.zip"
  (cd "$files" && measure taskset -c "$1" zip -6 -q "$work/zip-large.zip" large/printer.log)
}
run_pigz() {
  rm -f "$files/large/printer.log.zip"
  (cd "$files" && measure taskset -c "$1" pigz -6 -K -k -p "$2" large/printer.log)
  mv "$files/large/printer.log.zip" "$work/pigz.zip"
}

# Warm the page cache, so that every tool reads from memory.
[ "$large_mib" -gt 0 ] && cat "$files/large/printer.log" >/dev/null
find "$files/small" -type f -exec cat {} + >/dev/null

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
maximum() { printf '%s\n' "$@" | sort -g | tail -n 1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

cores=$(nproc)
configurations=("1:0")
[ "$cores" -gt 1 ] && configurations+=("$cores:0-$((cores - 1))")
tools=(ours zip zip_large pigz)
folders="large small"
if [ "$large_mib" -eq 0 ]; then tools=(ours zip) folders=small; fi
declare -A wall cpu kib result_ours_zip
for configuration in "${configurations[@]}"; do
  count="${configuration%%:*}"
  cpus="${configuration#*:}"
  for tool in "${tools[@]}"; do wall[$tool]="" cpu[$tool]="" kib[$tool]=""; done
  for round in $(seq "$rounds"); do
    # Alternate the order, so that neither side always runs first.
    order=("${tools[@]}")
    if [ $((round % 2)) -eq 0 ]; then
      order=()
      for tool in "${tools[@]}"; do order=("$tool" "${order[@]}"); done
    fi
    line="$count core(s), round $round:"
    for tool in "${order[@]}"; do
      "run_$tool" "$cpus" "$count" >"$work/measured.txt"
      read -r s c k <"$work/measured.txt"
      wall[$tool]+=" $s" cpu[$tool]+=" $c" kib[$tool]+=" $k"
      line+=" $tool ${s} s;"
    done
    echo "$line"
  done
  echo
  echo "on $count core(s) ($cpus): median of $rounds rounds, peak memory the highest"
  printf '%-26s %8s %8s %14s %12s\n' "" "wall s" "cpu s" "peak RSS KiB" "archive KiB"
  for tool in "${tools[@]}"; do
    case $tool in
      ours) label="telvarin-report (all)" archive="$(ls "$output"/Telvarin_*.zip)" ;;
      zip) label="zip -r -6 (all)" archive="$work/zip.zip" ;;
      zip_large) label="zip -6 (large file)" archive="$work/zip-large.zip" ;;
      pigz) label="pigz -6 -K (large file)" archive="$work/pigz.zip" ;;
    esac
    # shellcheck disable=SC2086
    printf '%-26s %8s %8s %14s %12s\n' "$label" "$(median ${wall[$tool]})" "$(median ${cpu[$tool]})" \
      "$(maximum ${kib[$tool]})" "$(( $(stat -c %s "$archive") >> 10 ))"
  done
  # shellcheck disable=SC2086
  ours_zip=$(ratio "$(median ${wall[ours]})" "$(median ${wall[zip]})")
  # shellcheck disable=SC2086
  line="ratios: ours / zip -6 $ours_zip (wall), $(ratio "$(median ${cpu[ours]})" "$(median ${cpu[zip]})") (cpu)"
  # shellcheck disable=SC2086
  [ "$large_mib" -gt 0 ] &&
    line+="; pigz / zip -6 on the large file $(ratio "$(median ${wall[pigz]})" "$(median ${wall[zip_large]})") (wall)"
  echo "$line"
  result_ours_zip[$count]=$ours_zip
  # shellcheck disable=SC2086
  peak_kib=$(maximum ${kib[ours]} ${peak_kib:-0})
  echo
done

# The report's archive must hold every file, whole, for both readers.
archive="$(ls "$output"/Telvarin_*.zip)"
status=0
python3 "$here/check_report_archive.py" "$archive" "$files" >"$work/checked.txt" || {
  echo "MISSED: entries of the report's archive differ from their files" >&2; status=1; }
read -r _ entries _ deflated _ single <"$work/checked.txt"
expected_entries=$((small_count + (large_mib > 0 ? 1 : 0)))
[ "${entries:-0}" -eq "$expected_entries" ] || {
  echo "MISSED: ${entries:-0} collected entries, expected $expected_entries" >&2; status=1; }
unzip -tqq "$archive" >/dev/null || { echo "MISSED: the report's archive fails unzip -t" >&2; status=1; }
size_ratio=$(awk -v a="${deflated:-0}" -v b="${single:-1}" 'BEGIN { printf "%.4f", a / b }')
echo "every entry checked (SHA-256 by zipfile, unzip -t); deflated size / one zlib stream per file: $size_ratio"

if awk -v r="$size_ratio" 'BEGIN { exit !(r > 1.02) }'; then
  echo "MISSED: deflated size $size_ratio times that of zlib" >&2; status=1; fi
if [ "$peak_kib" -gt $((64 * 1024)) ]; then
  echo "MISSED: peak memory ${peak_kib} KiB is over 64 MiB" >&2; status=1; fi
if [ "$cores" -gt 1 ] && awk -v r="${result_ours_zip[$cores]}" -v t="$target" 'BEGIN { exit !(r > t) }'; then
  echo "MISSED: ours / zip -6 is ${result_ours_zip[$cores]} on $cores cores, above $target" >&2; status=1; fi
[ "$status" -eq 0 ] && echo "targets met"
exit "$status"
