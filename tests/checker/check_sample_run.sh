#!/usr/bin/env bash
# The main job's report, checked: plays scripts/sample_run.scn as scripts/run.sh does (the host
# starts the Ivy program on the sample data and the report is written), then runs the checker
# delivered beside the program on that report. Passes when the run ends as expected and the
# report checks clean (exit status 0):
#   check_sample_run.sh BIN_DIR WORK_ROOT
# Run inside a Wine session (scripts/with-wine-session.sh).
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 BIN_DIR WORK_ROOT" >&2
    exit 2
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$here/../.."
work="$2/checked"
mkdir -p "$work"

"$repo/scripts/run-scenario.sh" "$repo/scripts/sample_run.scn" "$1" "$work"
cd "$work/sample_run/prog"
status=0
WINEDEBUG=-all wine ovwcheck.exe --html 事業概況書.html 事業概況書.xml || status=$?
if [ "$status" -ne 0 ]; then
    echo "FAIL the checker ended with $status on the report of the sample run: $PWD/事業概況書.xml"
    exit 1
fi
echo "PASS the sample run's report checks clean ($PWD/事業概況書.xml)"
