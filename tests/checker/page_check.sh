#!/usr/bin/env bash
# The checker's page in a real browser (headless Chromium): for a clean report, for one with
# findings and for one compared with last year's, the page renders without a console message
# (its content security policy allows no outside source, so anything it tried to load would be
# one), shows the tables and the chart and paints the chart's bars; printed to PDF by the browser
# it is one A4 portrait sheet (two with last year's). A summary page of several reports renders
# too, with a link to each report's page:
#   page_check.sh WORK_DIR OVWCHECK [PRINTS]
# The folder PRINTS, when given, receives the printed sheets as PNG, rendered from the PDF by
# pdftoppm: ovwcheck_print.png (the clean report) and ovwcheck_compare-1.png,
# ovwcheck_compare-2.png (docs/images takes them). The picture of the page on screen is made
# from the sample run's report by scripts/screenshots.sh.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/lib.sh"
ovw_arguments 2 3 "WORK_DIR OVWCHECK [PRINTS]" "$@"
source "$here/fixtures.sh"
reports="$here/../e2e/reports"
work="$1"
checker="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
prints="${3:-}"

rm -rf "$work"
mkdir -p "$work"
cd "$work"
cp "$reports/sheet_full_run_rv30.xml" clean.xml
one_finding clean.xml >findings.xml
cp clean.xml compared.xml
last_year clean.xml >last_year.xml

failed=0
fail() {
    echo "FAIL $*"
    failed=$((failed + 1))
}

# browser NAME ARGS...: one headless run with a fresh profile; its log in NAME.log.
browser() {
    local name="$1"
    shift
    ovw_browser "$work/$name.log" "$@"
}

# sheets PDF: the number of pages of a PDF that the browser printed.
sheets() {
    pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ {print $2}'
}

for page in clean findings compared; do
    status=0
    if [ "$page" = compared ]; then
        "$checker" --previous last_year.xml --html "$page.html" "$page.xml" >"$page.out" || status=$?
    else
        "$checker" --html "$page.html" "$page.xml" >"$page.out" || status=$?
    fi
    expected=0
    [ "$page" != clean ] && expected=1
    [ "$status" -eq "$expected" ] || fail "$page: ovwcheck exit status $status, expected $expected"
    url="file://$work/$page.html"

    browser "$page-dom" --dump-dom "$url" >"$page.dom" || fail "$page: the browser failed (see $work/$page-dom.log)"
    browser "$page-shot" --hide-scrollbars --window-size=820,2000 --screenshot="$work/$page.png" "$url" >/dev/null ||
        fail "$page: no screenshot (see $work/$page-shot.log)"
    if [ "$page" != findings ]; then
        browser "$page-pdf" --no-pdf-header-footer --print-to-pdf="$work/$page.pdf" "$url" >/dev/null ||
            fail "$page: no print (see $work/$page-pdf.log)"
        if ! grep -aqE 'MediaBox \[0 0 59[45][.0-9]* 84[12][.0-9]*\]' "$page.pdf"; then
            fail "$page: the printed page is not A4 portrait ($(grep -aoE 'MediaBox \[[^]]*\]' "$page.pdf" | head -1))"
        fi
        want=1
        [ "$page" = compared ] && want=2
        [ "$(sheets "$page.pdf")" = "$want" ] ||
            fail "$page: printed on $(sheets "$page.pdf") A4 sheets, expected $want"
        pdftoppm -r 80 -png "$page.pdf" "$page-sheet" || fail "$page: pdftoppm cannot render the print"
    fi

    if grep -h 'CONSOLE' "$work/$page"-*.log; then
        fail "$page: the page wrote to the browser's console (above)"
    fi
    rows="$(grep -o '<tr' "$page.dom" | wc -l)"
    bars="$(grep -o 'class="bar"' "$page.dom" | wc -l)"
    last="$( (grep -o 'class="bar-last"' "$page.dom" || true) | wc -l)"
    want=0
    [ "$page" = compared ] && want=48
    [ "$last" -eq "$want" ] || fail "$page: $last bars of last year in the chart, expected $want"
    # Header 4, main items 2 + 36 (two tables), months 1 + 12 + 1, and the terms of the findings.
    [ "$rows" -ge 56 ] || fail "$page: $rows table rows in the rendered page, expected at least 56"
    [ "$bars" -eq 48 ] || fail "$page: $bars bars in the chart, expected 48 (4 lines x 12 months)"
    grep -q '<svg id="monthly-chart"' "$page.dom" || fail "$page: no chart in the rendered page"
    # The first two series' colours are painted (the chart shows, not only its markup).
    histogram="$(convert "$page.png" -format %c histogram:info:- 2>/dev/null || true)"
    # Bars of the first two series (half as wide beside last year's).
    least=500
    [ "$page" = compared ] && least=250
    for colour in 3B6FB6 E07B39; do
        pixels="$(grep -i "#$colour" <<<"$histogram" | awk -F: '{print $1+0}' | head -1)"
        [ "${pixels:-0}" -gt "$least" ] || fail "$page: colour #$colour of the bars painted on ${pixels:-0} pixels"
    done
    echo "checked $page.html: $rows rows, $bars bars, no console messages"
done
grep -q 'class="summary clean"' clean.dom || fail "clean: the page does not say it is clean"
grep -q 'data-rule="balance"' findings.dom || fail "findings: the balance finding is not on the page"
for rule in vanished sign-changed changed; do
    grep -q "data-rule=\"$rule\"" compared.dom || fail "compared: no finding $rule on the page"
done

# A summary of the three: one page linking the pages written beside it.
mkdir -p clients summary
cp clean.xml findings.xml clients/
status=0
"$checker" --summary --html summary/index.html clients >summary.out || status=$?
[ "$status" -eq 1 ] || fail "summary: ovwcheck exit status $status, expected 1"
browser summary-dom --dump-dom "file://$work/summary/index.html" >summary.dom ||
    fail "summary: the browser failed (see $work/summary-dom.log)"
grep -h 'CONSOLE' "$work"/summary-*.log && fail "summary: the page wrote to the browser's console (above)"
for report in clean findings; do
    grep -q "<a href=\"$report.html\">" summary.dom || fail "summary: no link to $report.html"
    [ -s "summary/$report.html" ] || fail "summary: no page summary/$report.html"
done

if [ -n "$prints" ] && [ "$failed" -eq 0 ]; then
    cp clean-sheet-1.png "$prints/ovwcheck_print.png"
    cp compared-sheet-1.png "$prints/ovwcheck_compare-1.png"
    cp compared-sheet-2.png "$prints/ovwcheck_compare-2.png"
    echo "prints: $prints/ovwcheck_print.png, ovwcheck_compare-1.png, ovwcheck_compare-2.png"
fi
[ "$failed" -eq 0 ] && echo "PASS the checker's page in Chromium"
[ "$failed" -eq 0 ]
