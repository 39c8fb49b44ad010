#!/usr/bin/env bash
# Sets up, builds the programs and runs the main job on the bundled sample data, as the host
# would start it and a user would answer it:
#   scripts/run.sh [Ivy|Oak|Elm]        (default Ivy)
# The run plays scripts/sample_run.scn: the host (the robot's host window) starts the edition's
# program in a program folder prepared as installed (the stand-in host with its sample book, the
# data files, a filing-application definition file), the condition sheet is executed with the
# output file 事業概況書.xml in that folder, the closing message is confirmed, and the host window
# receives the result. It prints the run's transcript and where the report is, then runs the
# report checker (ovwcheck.exe) on the report and prints its tables and findings.
# Without a display (no DISPLAY, or OVW_RUN_ROBOT=1) all of it runs on a private Xvfb. With a
# display the host window and the condition sheet open there and the user answers the sheet; the
# checker then checks the report the user wrote, if any.
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
source scripts/lib.sh
work="$(ovw_build_root)/run"

ovw_setup_windows
windows="$OVW_WINDOWS_BUILD"
bin="$(ovw_build_root)/$windows/bin"
echo "run: building the $windows programs"
if ! ovw_build "$windows"; then
    echo "run: the $windows build failed (see above)"
    exit 1
fi

# check_report FOLDER REPORT: the report checker delivered beside the program (in FOLDER) reads
# the report (its path as the program wrote it) back, shows it as tables, checks it and writes
# the same as a page beside it. Fails when the report cannot be read.
check_report() {
    local page="${2%.*}.html" checked=0
    echo "--- ovwcheck ${2##*\\} (the report checked before filing)"
    ovw_check_report "$1" "$2" 2>/dev/null || checked=$?
    case $checked in
    0) echo "check: no findings; page: $page" ;;
    1) echo "check: findings listed above; page: $page" ;;
    *) echo "check: the report could not be read (exit status $checked)" ;;
    esac
    [ $checked -le 1 ]
}

# With a display the user answers the real sheet there (OVW_RUN_ROBOT=1 lets the robot play
# it all the same); the settings file in the program folder tells where the report went.
if [ -n "${DISPLAY:-}" ] && [ -z "${OVW_RUN_ROBOT:-}" ]; then
    folder="$work/interactive/prog"
    scripts/program-folder.sh "$bin" "$folder"
    source scripts/wine-env.sh
    ovw_wine_prefix_ready || ovw_create_wine_prefix
    echo "run: ${edition}Ovw21ToRv16_G.exe started by the host on display $DISPLAY; answer the sheet there"
    set +e
    wine "$bin/hostsim.exe" --timeout 3600 \
        "$(winpath "$folder")\\${edition}Ovw21ToRv16_G.exe" </dev/null | tee "$work/interactive/hostsim.txt"
    status=${PIPESTATUS[0]}
    set -e
    saved="$(ls "$folder"/RV*_G_*.env 2>/dev/null | head -1)"
    if ! grep -q 'lparam=0$' "$work/interactive/hostsim.txt" || [ -z "$saved" ]; then
        echo "outcome: no report (see the host's lines above)"
        exit "$status"
    fi
    report="$(sed -n '2s|^[^/]*/[^/]*/[^/]*/||p' "$saved" | iconv -f CP932 -t UTF-8 | tr -d '\r')"
    echo "outcome: result 0, report written: $report"
    check_report "$folder" "$report"
    exit
fi

mkdir -p "$work"
scenario="$work/sample_run.scn"
sed "s/IvyOvw21ToRv16_G\.exe/${edition}Ovw21ToRv16_G.exe/" scripts/sample_run.scn >"$scenario"

echo "run: ${edition}Ovw21ToRv16_G.exe ($windows build) started by the host on the sample data"
set +e
scripts/run-scenario.sh "$scenario" "$bin" "$work"
status=$?
set -e
if [ -f "$work/sample_run/transcript.txt" ]; then
    echo "--- transcript"
    cat "$work/sample_run/transcript.txt"
fi
report="$work/sample_run/prog/事業概況書.xml"
if [ $status -eq 0 ] && [ -f "$report" ]; then
    echo "outcome: result 0, report written: $report ($(wc -c <"$report") bytes, Shift_JIS)"
else
    echo "outcome: the run did not end as expected (see the lines above)"
    exit $status
fi

check_report "$work/sample_run/prog" "$(winpath "$report")"
