#!/usr/bin/env bash
# The user guide's page as the installers deliver it (the build makes it from docs/使い方.md):
# every link of its table of contents and text reaches a heading of the page, and every picture
# is inside the page, so that the one file shows the whole guide wherever it is copied.
#   check_guide_page.sh 使い方.html
set -euo pipefail
page="$1"
failed=0
fail() {
    echo "FAIL $*"
    failed=$((failed + 1))
}
[ -s "$page" ] || fail "$page is missing or empty"
links=0
while IFS= read -r anchor; do
    links=$((links + 1))
    grep -qF "id=\"$anchor\"" "$page" || fail "the link #$anchor reaches no heading"
done < <(grep -o 'href="#[^"]*"' "$page" | sed 's/^href="#//; s/"$//' | sort -u)
[ "$links" -ge 10 ] || fail "only $links links in the page (the table of contents has more)"
pictures="$(grep -o '<img[^>]*>' "$page" | wc -l)"
inline="$(grep -o '<img[^>]* src="data:image/png;base64,' "$page" | wc -l)"
[ "$pictures" -ge 5 ] || fail "only $pictures pictures in the page"
[ "$pictures" -eq "$inline" ] || fail "$((pictures - inline)) of $pictures pictures are not inside the page"
[ "$failed" -eq 0 ] && echo "ok   $page: $links links reach their headings, $pictures pictures inside the page"
[ "$failed" -eq 0 ]
