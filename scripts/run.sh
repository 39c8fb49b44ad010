#!/usr/bin/env bash
# Sets up, builds the programs and runs the main job on the bundled sample data, as the host
# would start it and a user would answer it:
#   scripts/run.sh [Ivy|Oak|Elm]        (default Ivy)
# The run plays scripts/sample_run.scn: the host (the robot's host window) starts the edition's
# program in a program folder prepared as installed (the stand-in host with its sample book, the
# data files, a filing-application definition file), the condition sheet is executed with the
# output file 事業概況書.xml in that folder, the closing message is confirmed, and the host window
# receives the result. It prints the run's transcript and where the report is.
# OVW_BUILD_ROOT (default build) holds the build folders.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
edition="${1:-Ivy}"
case "$edition" in
Ivy | Oak | Elm) ;;
*)
    echo "usage: $0 [Ivy|Oak|Elm]" >&2
    exit 2
    ;;
esac
build_root="${OVW_BUILD_ROOT:-build}"
work="$repo/$build_root/run"

scripts/setup.sh
echo "run: building the win32 programs"
cmake --preset win32 -B "$build_root/win32" >/dev/null
cmake --build "$build_root/win32" -j"$(nproc)" >/dev/null

mkdir -p "$work"
scenario="$work/sample_run.scn"
sed "s/IvyOvw21ToRv16_G\.exe/${edition}Ovw21ToRv16_G.exe/" scripts/sample_run.scn >"$scenario"

echo "run: ${edition}Ovw21ToRv16_G.exe started by the host on the sample data"
set +e
tests/e2e/run_scenario.sh "$scenario" "$build_root/win32/bin" "$work"
status=$?
set -e
echo "--- transcript"
cat "$work/sample_run/transcript.txt"
report="$work/sample_run/prog/事業概況書.xml"
if [ $status -eq 0 ] && [ -f "$report" ]; then
    echo "outcome: result 0, report written: $report ($(wc -c <"$report") bytes, Shift_JIS)"
else
    echo "outcome: the run did not end as expected (see the transcript above)"
fi
exit $status
