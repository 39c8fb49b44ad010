#!/usr/bin/env bash
# The example book of docs/books.md (its one json block) reads and balances as the page says:
#   check_books_example.sh BOOKTOOL docs/books.md
set -euo pipefail
booktool="$1"
page="$2"
book="$(mktemp "${TMPDIR:-/tmp}/books-example.XXXXXX")"
trap 'rm -f "$book" "$book.out"' EXIT
awk '/^```json$/ { inside = 1; next } /^```$/ { inside = 0 } inside' "$page" >"$book"
if [ ! -s "$book" ]; then
    echo "FAIL $page has no json block"
    exit 1
fi
if ! "$booktool" "$book" >"$book.out" 2>&1; then
    cat "$book.out"
    echo "FAIL booktool refuses the example book of $page"
    exit 1
fi
said="$(grep -o 'assets .*: balanced' "$page" | head -1)"
if [ -z "$said" ] || ! grep -qF "$said" "$book.out"; then
    tail -3 "$book.out"
    echo "FAIL booktool's last line differs from the one the page quotes ($said)"
    exit 1
fi
echo "ok   the example book of $page reads and balances: $said"
