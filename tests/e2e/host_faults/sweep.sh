#!/usr/bin/env bash
# A host that fails at any of its calls never leaves its window frozen:
#   sweep.sh BIN_DIR WORK_ROOT
# runs the host-started sample run once without faults, with the stand-in listing every host call
# it answers, then once for the first and once for the last call of every host method in that
# list, the stand-in refusing that call (StandinHost.json "faults": {"failCall": ...}). The robot
# answers whatever the program shows and then checks the run's outcome (expect-run-outcome): the
# program ended, the host window is enabled, it was told at most once (once when the run got past
# the connection), a result 0 comes with the report of the run without faults and any other
# result with no report. With Wine's debug strings on, each run must also leave exactly one end
# line in the debugger output. Outside a Wine session it starts one of its own.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../../scripts/lib.sh"
ovw_arguments 2 2 "BIN_DIR WORK_ROOT" "$@"
ovw_in_wine_session "$0" "$@"
bin="$(cd "$1" && pwd)"
work="$(mkdir -p "$2" && cd "$2" && pwd)/host_faults"
rm -rf "$work"
mkdir -p "$work/scenarios"

# Writes the scenario NAME whose host configuration has the faults FAULTS (JSON); the run ends
# with CHECK.
scenario() {
    local name="$1" faults="$2" check="$3"
    cat >"$work/scenarios/$name.scn" <<SCN
file StandinHost.json <<
{"book": "trading.json", "outputFolder": ".", "settingsFolder": ".", "faults": $faults}
>>
start-hosted IvyOvw21ToRv16_G.exe text="{folder}\\\\report.xml"
answer-to-end timeout=60
$check
SCN
}

run() {
    WINEDEBUG=+debugstr "$OVW_REPO/scripts/run-scenario.sh" "$work/scenarios/$1.scn" "$bin" "$work/runs" \
        >"$work/$1.out" 2>&1
}

# The run without faults: the report to compare with and the list of host calls.
scenario clean '{"callLog": "calls.log"}' "expect-exit
expect-exit-notification wparam=2 lparam=0"
if ! run clean; then
    cat "$work/clean.out"
    echo "FAIL the run without faults"
    exit 1
fi
clean_folder="$work/runs/clean/prog"
cp "$clean_folder/report.xml" "$work/clean.xml"
declare -A last
while read -r method n; do
    last["$method"]="$n"
done < <(tr -d '\r' <"$clean_folder/calls.log")
echo "the run without faults: ${#last[@]} host methods, $(wc -l <"$clean_folder/calls.log") calls"

failed=0
runs=0
for method in $(printf '%s\n' "${!last[@]}" | sort); do
    for nth in $(printf '%s\n' 1 "${last[$method]}" | sort -un); do
        name="$(tr ':' '_' <<<"$method")_$nth"
        scenario "$name" "{\"failCall\": {\"name\": \"$method\", \"nth\": $nth, \"code\": 41}}" \
            "expect-run-outcome report.xml same-as=\"$(winpath "$work/clean.xml" | sed 's/\\/\\\\/g')\""
        runs=$((runs + 1))
        if ! run "$name"; then
            failed=$((failed + 1))
            echo "FAIL $method call $nth:"
            sed 's/^/    /' "$work/$name.out" | tail -15
            continue
        fi
        if ! end="$(ovw_run_end_line "$work/runs/$name/robot.log")"; then
            failed=$((failed + 1))
            echo "FAIL $method call $nth: $end"
            continue
        fi
        end="${end##*overview run: }"
        echo "ok   $method call $nth: ${end%\\n\"}"
    done
done
echo "$runs runs with a refused host call, $failed failed"
[ $failed -eq 0 ]
