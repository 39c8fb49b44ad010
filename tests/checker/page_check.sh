#!/usr/bin/env bash
# The checker's page in a real browser (headless Chromium): for a clean report and for one with
# findings, the page renders without a console message (its content security policy allows no
# outside source, so anything it tried to load would be one), shows both tables and the chart
# and paints the chart's bars; the clean page prints on A4 portrait:
#   page_check.sh WORK_DIR OVWCHECK
# (scripts/screenshots.sh makes the README's picture of the page, from the sample run's report.)
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 WORK_DIR OVWCHECK" >&2
    exit 2
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/lib.sh"
reports="$here/../e2e/reports"
work="$1"
checker="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"

rm -rf "$work"
mkdir -p "$work"
cd "$work"
cp "$reports/sheet_full_run_rv30.xml" clean.xml
sed 's|<SIHON>82143903</SIHON>|<SIHON>80143903</SIHON>|' clean.xml >findings.xml

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

for page in clean findings; do
    status=0
    "$checker" --html "$page.html" "$page.xml" >"$page.out" || status=$?
    expected=0
    [ "$page" = findings ] && expected=1
    [ "$status" -eq "$expected" ] || fail "$page: ovwcheck exit status $status, expected $expected"
    url="file://$work/$page.html"

    browser "$page-dom" --dump-dom "$url" >"$page.dom" || fail "$page: the browser failed (see $work/$page-dom.log)"
    browser "$page-shot" --hide-scrollbars --window-size=820,2000 --screenshot="$work/$page.png" "$url" >/dev/null ||
        fail "$page: no screenshot (see $work/$page-shot.log)"
    if [ "$page" = clean ]; then
        browser "$page-pdf" --no-pdf-header-footer --print-to-pdf="$work/$page.pdf" "$url" >/dev/null ||
            fail "$page: no print (see $work/$page-pdf.log)"
        if ! grep -aqE 'MediaBox \[0 0 59[45][.0-9]* 84[12][.0-9]*\]' "$page.pdf"; then
            fail "$page: the printed page is not A4 portrait ($(grep -aoE 'MediaBox \[[^]]*\]' "$page.pdf" | head -1))"
        fi
    fi

    if grep -h 'CONSOLE' "$work/$page"-*.log; then
        fail "$page: the page wrote to the browser's console (above)"
    fi
    rows="$(grep -o '<tr' "$page.dom" | wc -l)"
    bars="$(grep -o 'class="bar"' "$page.dom" | wc -l)"
    # Header 6, main items 1 + 36, months 1 + 12 + 1, and the terms of the findings.
    [ "$rows" -ge 57 ] || fail "$page: $rows table rows in the rendered page, expected at least 57"
    [ "$bars" -eq 48 ] || fail "$page: $bars bars in the chart, expected 48 (4 lines x 12 months)"
    grep -q '<svg id="monthly-chart"' "$page.dom" || fail "$page: no chart in the rendered page"
    # The first two series' colours are painted (the chart shows, not only its markup).
    histogram="$(convert "$page.png" -format %c histogram:info:- 2>/dev/null || true)"
    for colour in 3B6FB6 E07B39; do
        pixels="$(grep -i "#$colour" <<<"$histogram" | awk -F: '{print $1+0}' | head -1)"
        [ "${pixels:-0}" -gt 500 ] || fail "$page: colour #$colour of the bars painted on ${pixels:-0} pixels"
    done
    echo "checked $page.html: $rows rows, $bars bars, no console messages"
done
grep -q 'class="summary clean"' clean.dom || fail "clean: the page does not say it is clean"
grep -q 'data-rule="balance"' findings.dom || fail "findings: the balance finding is not on the page"

[ "$failed" -eq 0 ] && echo "PASS the checker's page in Chromium"
[ "$failed" -eq 0 ]
