#!/usr/bin/env bash
# The report checker as a user runs it, on the committed full-run reports, on copies edited by
# hand the way a wrong mapping changes a report, on files that are no report, against a last
# year's report, and over a folder of clients' reports:
#   run_checks.sh WORK_DIR OVWCHECK [RUNNER]
# OVWCHECK is the program (ovwcheck, or ovwcheck.exe with RUNNER wine); it finds the form-item
# files in its own folder. Each case checks the exit status (0 clean, 1 findings, 2 unreadable)
# and a line of what the checker says; a file that is no report is said to be so first, in plain
# words, before the technical place. Prints one line per case; exit status 0 when all pass.
set -euo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "usage: $0 WORK_DIR OVWCHECK [RUNNER]" >&2
    exit 2
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/fixtures.sh"
reports="$here/../e2e/reports"
work="$1"
checker="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
runner="${3:-}"

rm -rf "$work"
mkdir -p "$work"
cd "$work"
rv16="$reports/sheet_full_run_rv16.xml"
rv30="$reports/sheet_full_run_rv30.xml"
cp "$rv16" clean_rv16.xml
cp "$rv30" clean_rv30.xml

# Copies edited by hand; each trips exactly the finding it was edited for.
one_finding "$rv30" >account_dropped.xml
sed 's|<GAITYUUHI>4508493</GAITYUUHI>|<GAITYUUHI>9016986</GAITYUUHI>|' "$rv30" >amount_doubled.xml
sed 's|<TUKIBETUURIAGEKINGAKU05>24933765<|<TUKIBETUURIAGEKINGAKU05><|' "$rv30" >month_missing.xml
sed 's|<KENGYOUURIAGEDAKA>1653940<|<KENGYOUURIAGEDAKA>338797351<|' "$rv30" >part_larger.xml

# Files that are no report.
head -c 3000 "$rv30" >truncated.xml
iconv -f CP932 -t UTF-8 "$rv30" >saved_as_utf8.xml
sed 's|<KOMONSAKINAME>|<KOMONSAKINAME>\x85\x40|' "$rv30" >not_shift_jis.xml
sed 's|KENGYOUURIAGEDAKA>|KENGYOUURIAGE>|g' "$rv30" >unknown_tag.xml
sed 's|<SIHON>82143903</SIHON>|<SIHON>82143903.5</SIHON>|' "$rv30" >not_whole_yen.xml
sed 's|<SIHON>82143903</SIHON>|&&|' "$rv30" >duplicated_tag.xml
sed '/<BASIC>/,/<\/BASIC>/d' "$rv30" >missing_group.xml
sed 's|\r$||' "$rv30" >lf_only.xml

last_year "$rv30" >last_year.xml

# A folder of clients: a report of each edition (the product name tells it), one with a
# finding, a file cut short, and a file that is no report by its name.
mkdir clients
cp "$rv30" clients/a_ivy.xml
sed 's|Tessel</PROGRAMNAME>|Quill</PROGRAMNAME>|' account_dropped.xml >clients/b_oak.xml
sed 's| Tessel</PROGRAMNAME>|</PROGRAMNAME>|' "$rv16" >clients/c_elm.xml
cp truncated.xml clients/d_broken.xml
echo "not a report" >clients/notes.txt

passed=0
failed=0
# check FILE STATUS TEXT [FINDINGS]: the checker's exit status on FILE, a line it prints (stdout
# or stderr) and, when given, how many findings it lists.
check() {
    check_command "$1" "$2" "$3" "${4:-}" "$1"
}

# check_command NAME STATUS TEXT FINDINGS ARGUMENTS...: the same for a whole command line.
check_command() {
    local file="$1" expected="$2" text="$3" findings="$4"
    shift 4
    local status=0
    $runner "$checker" "$@" >"$file.out" 2>"$file.err" || status=$?
    local problem=""
    if [ "$status" -ne "$expected" ]; then
        problem="exit status $status, expected $expected"
    elif ! grep -qF -- "$text" "$file.out" "$file.err"; then
        problem="no line with: $text"
    elif [ "$expected" -eq 2 ] && [ -s "$file.err" ] &&
        ! head -1 "$file.err" | grep -qE '^[^:]+ (は、事業概況書の報告書として完全なものではありません。連動プログラムで報告書をもう一度書き出してから確認してください。|を開けません。.*|を前年の報告書と比べられません。)$'; then
        problem="the first line does not say plainly what to do: $(head -1 "$file.err")"
    elif [ -n "$findings" ] && [ "$(grep -c '^\[指摘\]' "$file.out")" -ne "$findings" ]; then
        problem="$(grep -c '^\[指摘\]' "$file.out") findings, expected $findings"
    fi
    if [ -z "$problem" ]; then
        echo "PASS $file (exit $status)"
        passed=$((passed + 1))
    else
        echo "FAIL $file: $problem"
        sed 's/^/    /' "$file.err" | head -5
        grep '^\[' "$file.out" | sed 's/^/    /' | head -10 || true
        failed=$((failed + 1))
    fi
}

check clean_rv16.xml 0 "指摘はありません。" 0
check clean_rv30.xml 0 "指摘はありません。" 0
check account_dropped.xml 1 "[指摘] 2ページ目「資産の部合計」: 貸借が合いません。" 1
check amount_doubled.xml 1 "[指摘] 2ページ目「売上原価」: 売上原価が、" 1
check month_missing.xml 1 "[指摘] 3ページ目「売上（収入）金額」 12 か月の計" 1
check part_larger.xml 1 "[指摘] 2ページ目「うち兼業売上高」:" 1
check truncated.xml 2 "  場所: truncated.xml:72:48: ファイルが途中で切れています。"
check saved_as_utf8.xml 2 "  場所: saved_as_utf8.xml:8:22: この文字は UTF-8 で"
check not_shift_jis.xml 2 "  場所: not_shift_jis.xml:12:18: Shift_JIS の文字ではないバイト 0x85"
check unknown_tag.xml 2 "  場所: unknown_tag.xml:19:5: 「SYUYOUKAMOKU」にない要素「KENGYOUURIAGE」"
check not_whole_yen.xml 2 "  場所: not_whole_yen.xml:53:12: 「SIHON」の金額は円単位の整数"
check duplicated_tag.xml 2 "  場所: duplicated_tag.xml:53:28: 「SIHON」が二度書かれています"
check missing_group.xml 2 "  場所: missing_group.xml:11:2: 「BASIC」（グループ）がありません。"
check lf_only.xml 2 "  場所: lf_only.xml:1:43: 行が LF だけで終わっています。"
check no_such_file.xml 2 "no_such_file.xml を開けません。ファイルの名前と場所を確認してください。"

check_command compared 1 "[指摘] 2ページ目「原材料仕入高」: 前年は金額がありましたが、今年は空欄です。" 3 \
    --previous last_year.xml --html compared.html clean_rv30.xml
cp last_year.xml swapped.xml
check_command swapped 2 "swapped.xml を前年の報告書と比べられません。" "" \
    --previous clean_rv30.xml swapped.xml
check_command summary 2 "d_broken.xml  読めません" "" --summary --html clients.html clients
for edition in Ivy Oak Elm; do
    grep -q " $edition " summary.out || { echo "FAIL summary: no report of $edition"; failed=$((failed + 1)); }
done
if [ "$(grep -o '<a href="[a-z_]*\.html">' clients.html | sort -u | wc -l)" -ne 3 ] ||
    [ ! -s a_ivy.html ] || [ ! -s b_oak.html ] || [ ! -s c_elm.html ] || [ -e d_broken.html ]; then
    echo "FAIL summary: the page does not link the three reports' own pages"
    failed=$((failed + 1))
fi
if grep -q notes.txt summary.out; then
    echo "FAIL summary: a file that is no report by its name is listed"
    failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
