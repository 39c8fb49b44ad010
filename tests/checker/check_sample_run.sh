#!/usr/bin/env bash
# The main job's report, checked: plays scripts/sample_run.scn as scripts/run.sh does (the host
# starts the Ivy program on the sample data and the report is written), then runs the checker
# delivered beside the program on that report. Passes when the run ends as expected and the
# report checks clean (exit status 0):
#   check_sample_run.sh BIN_DIR WORK_ROOT
# Outside a Wine session it starts one of its own.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
ovw_arguments 2 2 "BIN_DIR WORK_ROOT" "$@"
ovw_in_wine_session "$0" "$@"
work="$2/checked"
mkdir -p "$work"

"$OVW_REPO/scripts/run-scenario.sh" "$OVW_REPO/scripts/sample_run.scn" "$1" "$work"
folder="$(cd "$work/sample_run/prog" && pwd)"
status=0
ovw_check_report "$folder" 事業概況書.xml || status=$?
if [ "$status" -ne 0 ]; then
    echo "FAIL the checker ended with $status on the report of the sample run: $folder/事業概況書.xml"
    exit 1
fi
echo "PASS the sample run's report checks clean ($folder/事業概況書.xml)"
