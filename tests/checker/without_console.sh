#!/usr/bin/env bash
# The report checker as an accountant starts it, under Wine: with a console of its own that
# nobody reads (the robot starts it with console=new, as Explorer does on a double-click or a
# report dropped on it). Each case is a robot scenario written here, in a program folder prepared
# as installed (scripts/run-scenario.sh), with the default browser recording what it is given
# (scripts/wine-browser.sh):
#   dropped     a report with one finding dropped on it: the page beside the report, opened in
#               the browser, and a message box that names the finding; exit status 1
#   blocked     the page's place beside the report taken by a folder: the page goes to the
#               temporary folder and is opened from there
#   chosen      no report given: a file dialog asks for one; a clean report, exit status 0
#   unreadable  a file that is no report: the message says so, no page, no browser, exit 2
#   console     started with a report from a console: no window, the console's exit status
#   without_console.sh BIN_DIR WORK_ROOT
# Outside a Wine session it starts one of its own.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/lib.sh"
ovw_arguments 2 2 "BIN_DIR WORK_ROOT" "$@"
source "$here/fixtures.sh"
ovw_in_wine_session "$0" "$@"
bin="$(cd "$1" && pwd)"
work="$(mkdir -p "$2" && cd "$2" && pwd)/without_console"
rm -rf "$work"
mkdir -p "$work/scenarios"
report="$here/../e2e/reports/sheet_full_run_rv30.xml"

# report NAME [EDIT]: the lines that put the committed report, edited by the function EDIT
# (tests/checker/fixtures.sh), into the folder.
report() {
    echo "file-sjis $1 <<"
    "${2:-cat}" "$report" | iconv -f CP932 -t UTF-8 | tr -d '\r'
    echo ">>"
}

{
    report findings.xml one_finding
    cat <<'SCN'
start ovwcheck.exe "{folder}\\findings.xml" console=new
expect-message "findings.xml を確認しました。" match=part timeout=30
expect-message "\n\n指摘が 1 件あります。" match=part
expect-message "\n[指摘] " match=part
expect-message "貸借が合いません。" match=part
expect-message "表とグラフのページ: " match=part
expect-message "\\findings.html" match=part
expect-file findings.html
expect-file-contains findings.html "<svg"
expect-file-contains browser.log "findings.html"
press 1
expect-exit code=1
SCN
} >"$work/scenarios/dropped.scn"

{
    report findings.xml one_finding
    printf 'file findings.html/taken <<\n>>\n'
    cat <<'SCN'
start ovwcheck.exe "{folder}\\findings.xml" console=new
expect-message "指摘が 1 件あります。" match=part timeout=30
expect-message "\\Temp\\findings.html" match=part
expect-file-contains browser.log "findings.html"
press 1
expect-exit code=1
expect-file findings.html\\taken
SCN
} >"$work/scenarios/blocked.scn"

{
    report clean.xml
    cat <<'SCN'
start ovwcheck.exe console=new
wait-window "確認する事業概況書の XML ファイルを選んでください" timeout=30
set-text 0x47C "{folder}\\clean.xml"
key ENTER
expect-message "clean.xml を確認しました。\n\n指摘はありません。" match=part timeout=30
expect-message "\n\n表とグラフのページ: " match=part
expect-file clean.html
expect-file-contains browser.log "clean.html"
press 1
expect-exit code=0
SCN
} >"$work/scenarios/chosen.scn"

cat >"$work/scenarios/unreadable.scn" <<'SCN'
file broken.xml <<
this is no report
>>
start ovwcheck.exe "{folder}\\broken.xml" console=new
expect-message "broken.xml は、確認できませんでした。\n\n" match=part timeout=30
press 1
expect-exit code=2
expect-no-file broken.html
expect-no-file browser.log
SCN

{
    report clean.xml
    cat <<'SCN'
start ovwcheck.exe "{folder}\\clean.xml"
expect-exit code=0
expect-no-file clean.html
expect-no-file browser.log
SCN
} >"$work/scenarios/console.scn"

failed=0
for name in dropped blocked chosen unreadable console; do
    if OVW_BROWSER_LOG="$work/runs/$name/prog/browser.log" \
        "$OVW_REPO/scripts/run-scenario.sh" "$work/scenarios/$name.scn" "$bin" "$work/runs" \
        >"$work/$name.out" 2>&1; then
        echo "PASS $name"
    else
        cat "$work/$name.out"
        echo "FAIL $name"
        failed=$((failed + 1))
    fi
done
[ "$failed" -eq 0 ]
