#!/usr/bin/env bash
# Fails on a C++ file that clang-format (.clang-format at the root) would
# change, or on a line longer than its column limit.
#   scripts/check-format.sh          check every C++ file of the repository
#   scripts/check-format.sh --fix    format them in place
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
clang-format --dry-run --Werror "${files[@]}"
# clang-format cannot break every line (a long string literal may stay);
# the limit holds all the same. Columns are characters, not bytes.
limit=$(sed -n 's/^ColumnLimit: *//p' .clang-format)
python3 - "$limit" "${files[@]}" <<'PY'
import sys
limit, files = int(sys.argv[1]), sys.argv[2:]
long = [f"{name}:{number}: {len(line)} columns"
        for name in files
        for number, line in enumerate(open(name, encoding="utf-8").read().split("\n"), 1)
        if len(line) > limit]
print("\n".join(long), file=sys.stderr) if long else None
sys.exit(1 if long else 0)
PY
echo "every C++ file is formatted"
