#!/usr/bin/env bash
# Runs one end-to-end scenario under Wine:
#   run_scenario.sh SCENARIO BIN_DIR WORK_ROOT
# prepares the program folder WORK_ROOT/<scenario>/<folder> (prepare_program_folder.sh; the
# folder's name comes from the scenario's "folder" line, default "prog"), then runs robot.exe on
# the scenario. On failure it prints where the transcript and the screenshot are
# (WORK_ROOT/<scenario>/transcript.txt and failure.png).
# Outside a Wine session it starts one of its own (scripts/with-wine-session.sh).
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 SCENARIO BIN_DIR WORK_ROOT" >&2
    exit 2
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [ -z "${OVW_XVFB_DISPLAY:-}" ]; then
    exec "$here/../../scripts/with-wine-session.sh" "$0" "$@"
fi

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
"$here/prepare_program_folder.sh" "$bin" "$work/$folder" "$scenario"

# Z: is the Unix root under Wine.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Output through a file: a Wine process that outlives the robot must not hold ctest's pipe.
set +e
wine "$bin/robot.exe" --scenario "$(winpath "$scenario")" --folder "$(winpath "$work/$folder")" \
    --out "$(winpath "$work")" --timeout "${OVW_E2E_TIMEOUT:-15}" </dev/null >"$work/robot.log" 2>&1
status=$?
set -e
cat "$work/robot.log"
for shot in "$work"/*.bmp; do
    [ -f "$shot" ] || continue
    convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
done
if [ $status -ne 0 ]; then
    if [ ! -f "$work/transcript.txt" ]; then
        echo "run_scenario: robot.exe did not start under Wine ($WINEARCH, exit status $status)."
        echo "run_scenario: Wine's lines are above; check that $bin/robot.exe exists and that"
        echo "run_scenario: 'wine $bin/robot.exe --help' starts in this Wine session."
        exit $status
    fi
    echo "transcript: $work/transcript.txt"
    if [ -f "$work/failure.png" ]; then
        echo "screenshot: $work/failure.png"
    fi
fi
exit $status
