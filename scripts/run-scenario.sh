#!/usr/bin/env bash
# Runs one scenario of the UI robot (robot.exe, tools/robot) under Wine:
#   scripts/run-scenario.sh SCENARIO BIN_DIR WORK_ROOT
# prepares the program folder WORK_ROOT/<scenario>/<folder> (scripts/program-folder.sh; the
# folder's name comes from the scenario's "folder" line, default "prog"), then runs robot.exe on
# the scenario. On failure it prints where the transcript and the screenshot are
# (WORK_ROOT/<scenario>/transcript.txt and failure.png). Scenarios: tests/e2e/README.md.
# Outside a Wine session it starts one of its own (scripts/with-wine-session.sh).
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
ovw_arguments 3 3 "SCENARIO BIN_DIR WORK_ROOT" "$@"
ovw_in_wine_session "$0" "$@"

scenario="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
bin="$(cd "$2" && pwd)"
name="$(basename "$scenario" .scn)"
work="$(mkdir -p "$3" && cd "$3" && pwd)/$name"

folder=prog
while IFS= read -r -a words; do
    if [ "${words[0]:-}" = folder ] && [ ${#words[@]} -ge 2 ]; then
        folder="${words[1]}"
    fi
done <"$scenario"

rm -rf "$work"
mkdir -p "$work"
"$OVW_REPO/scripts/program-folder.sh" "$bin" "$work/$folder" "$scenario"

status=0
ovw_robot "$bin" "$scenario" "$work/$folder" "$work" || status=$?
cat "$work/robot.log"
if [ $status -ne 0 ]; then
    if [ ! -f "$work/transcript.txt" ]; then
        echo "run-scenario: robot.exe did not start under Wine ($WINEARCH, exit status $status)."
        echo "run-scenario: Wine's lines are above; check that $bin/robot.exe exists and that"
        echo "run-scenario: 'wine $bin/robot.exe --help' starts in this Wine session."
        exit $status
    fi
    echo "transcript: $work/transcript.txt"
    if [ -f "$work/failure.png" ]; then
        echo "screenshot: $work/failure.png"
    fi
fi
exit $status
