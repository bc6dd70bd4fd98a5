#!/usr/bin/env bash
# Runs collect-reports.yml against this machine (Ansible's local connection)
# on the sample system, as CI does, and checks on the controller's side what
# it fetched: the archive, its checksum, and that nothing stayed on the host.
# Then once more on a system without the maker's driver directory, which must
# fail that host with the report's own message and fetch nothing.
#   examples/fleet/check-playbook.sh [TELVARIN_REPORT]   (default: build/bin/telvarin-report)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
top="$(cd "$here/../.." && pwd)"
program="$(realpath "${1:-$top/build/bin/telvarin-report}")"
sample="$top/examples/sample-system"

work="$(mktemp -d "${TMPDIR:-/tmp}/telvarin-fleet-XXXXXX")"
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
mkdir -p "$work/controller-home" "$work/host-tmp" "$work/empty-system"
touch "$work/ansible.cfg"

fail() { echo "check-playbook: $*" >&2; exit 1; }

# Ansible's own state and temporary files stay in the work folder too.
run_playbook() { # REPORTS_DIR SYSROOT LOG
  local variables
  variables="$(python3 -c 'import json, sys; print(json.dumps({
      "telvarin_report": sys.argv[1], "reports_dir": sys.argv[2],
      "telvarin_args": ["--sysroot", sys.argv[3]], "telvarin_home": "/home/customer",
      "telvarin_tmpdir": sys.argv[4]}))' "$program" "$1" "$2" "$work/host-tmp")"
  HOME="$work/controller-home" ANSIBLE_CONFIG="$work/ansible.cfg" ANSIBLE_HOME="$work/controller-home/.ansible" \
  ANSIBLE_LOCAL_TEMP="$work/ansible-local" ANSIBLE_REMOTE_TEMP="$work/ansible-remote" \
  ANSIBLE_NOCOLOR=1 ANSIBLE_PYTHON_INTERPRETER=/usr/bin/python3 ANSIBLE_RETRY_FILES_ENABLED=0 \
    ansible-playbook -i localhost, -c local "$here/collect-reports.yml" -e "$variables" >"$3" 2>&1
}

echo "== the sample system's report, fetched and checked =="
reports="$work/reports"
run_playbook "$reports" "$sample" "$work/placed.log" || { cat "$work/placed.log"; fail "the playbook failed"; }
fetched="$reports/localhost"
mapfile -t archives < <(find "$fetched" -name 'Telvarin_*.zip' -printf '%f\n')
[ "${#archives[@]}" -eq 1 ] || fail "expected one archive in $fetched, found ${#archives[@]}"
archive="${archives[0]}"
[ "$(find "$fetched" -type f | wc -l)" -eq 2 ] || fail "expected the archive and its checksum only: $(ls -A "$fetched")"
grep -q "localhost: placed $fetched/$archive" "$work/placed.log" || { cat "$work/placed.log"; fail "no line for the host"; }
(cd "$fetched" && sha256sum --check --strict "$archive.sha256") || fail "the checksum does not match"
python3 - "$fetched/$archive" <<'PYTHON' || fail "the fetched archive is not the sample system's report"
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as archive:
    assert archive.testzip() is None, "a damaged entry"
    names = archive.namelist()
for name in ("/var/log/quorvel/quorvel-backend.log", "Settings/quorvel.conf",
             "/home/customer/.config/quorvel/printer-utility.conf",
             "reportData/generalInformation.dat", "reportData/reportGeneratorLog.log"):
    assert name in names, f"{name} missing from {names}"
assert names[-1] == "reportData/reportGeneratorLog.log", names
PYTHON
[ -z "$(ls -A "$work/host-tmp")" ] || fail "the report stayed on the host: $(ls -A "$work/host-tmp")"
[ -z "$(find "$sample" -name 'Telvarin_*')" ] || fail "an archive was written into the sample system"

echo "== a host whose report fails =="
reports="$work/reports-failed"
if run_playbook "$reports" "$work/empty-system" "$work/failed.log"; then
  cat "$work/failed.log"; fail "the playbook passed without a report"
fi
grep -q "localhost: Could not find driver directory" "$work/failed.log" || { cat "$work/failed.log"; fail "no error line for the host"; }
[ -z "$(find "$reports" -type f 2>/dev/null)" ] || fail "something was fetched for a failed report"
[ -z "$(ls -A "$work/host-tmp")" ] || fail "the failed run's folder stayed on the host"

echo "fleet playbook checks passed"
