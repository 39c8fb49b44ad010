#!/usr/bin/env bash
# A complete run whose report is compared byte for byte with the file kept beside its scenario:
#   check_report.sh SCENARIO BIN_DIR WORK_ROOT
# runs SCENARIO (which leaves out.xml in the program folder), then compares that file with
# SCENARIO's name + .xml and checks it with xmllint. On a difference it prints the first lines
# that differ (as UTF-8) and where both files are.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 SCENARIO BIN_DIR WORK_ROOT" >&2
    exit 2
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
scenario="$1"
expected="${scenario%.scn}.xml"
name="$(basename "$scenario" .scn)"

"$here/../../../scripts/run-scenario.sh" "$scenario" "$2" "$3"
report="$3/$name/prog/out.xml"

xmllint --noout "$report"
if ! cmp -s "$expected" "$report"; then
    echo "report differs from the expected file"
    echo "  expected: $expected"
    echo "  actual:   $report"
    diff <(iconv -f CP932 -t UTF-8 "$expected") <(iconv -f CP932 -t UTF-8 "$report") | head -20 || true
    exit 1
fi
echo "report equals $expected ($(wc -c <"$report") bytes) and passes xmllint"
