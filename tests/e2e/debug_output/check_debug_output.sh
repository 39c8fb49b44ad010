#!/usr/bin/env bash
# A run whose end line in the debugger output is checked: the line with which the program tells a
# support call its result and the cause of its failure.
#   check_debug_output.sh SCENARIO BIN_DIR WORK_ROOT
# runs SCENARIO with Wine's debug-string channel on (WINEDEBUG=+debugstr, which prints every
# OutputDebugStringA), then checks that robot.log holds exactly one line of the program's run end
# and that it carries the text kept beside the scenario (SCENARIO's name + .debug, one line).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../../scripts/lib.sh"
ovw_arguments 3 3 "SCENARIO BIN_DIR WORK_ROOT" "$@"
scenario="$1"
expected="$(cat "${scenario%.scn}.debug")"
name="$(basename "$scenario" .scn)"

WINEDEBUG=+debugstr "$OVW_REPO/scripts/run-scenario.sh" "$scenario" "$2" "$3"
log="$3/$name/robot.log"

if ! end="$(ovw_run_end_line "$log")"; then
    echo "$end"
    exit 1
fi
if [[ "$end" != *"$expected"* ]]; then
    echo "the end-of-run line differs (log: $log)"
    echo "  expected: $expected"
    echo "  actual:   $end"
    exit 1
fi
echo "debugger output: $end"
