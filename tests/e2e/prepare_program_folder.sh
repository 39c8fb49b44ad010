#!/usr/bin/env bash
# Prepares a program folder as installed, for one run under Wine:
#   prepare_program_folder.sh BIN_DIR FOLDER [SCENARIO]
# FOLDER is emptied, then receives a copy of BIN_DIR (programs, StandinHost.dll, delivered data
# files), then tests/e2e/defaults/ (NAME.utf8 converted to Shift_JIS with CR LF, other files as
# they are), then the folder lines of SCENARIO in order (remove, file, file-sjis; README.md).
set -euo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "usage: $0 BIN_DIR FOLDER [SCENARIO]" >&2
    exit 2
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin="$1"
program="$2"
scenario="${3:-}"

to_sjis() { sed 's/\r$//; s/$/\r/' | iconv -f UTF-8 -t CP932; }

rm -rf "$program"
mkdir -p "$program"
cp -a "$bin/." "$program/"
for default in "$here"/defaults/*; do
    [ -f "$default" ] || continue
    base="$(basename "$default")"
    if [[ "$base" == *.utf8 ]]; then
        to_sjis <"$default" >"$program/${base%.utf8}"
    else
        cp "$default" "$program/$base"
    fi
done
[ -n "$scenario" ] || exit 0

block=""
target=""
kind=""
while IFS= read -r line || [ -n "$line" ]; do
    line="${line%$'\r'}"
    if [ -n "$kind" ]; then
        if [ "$line" != ">>" ]; then
            block+="$line"$'\n'
            continue
        fi
        mkdir -p "$(dirname "$program/$target")"
        if [ "$kind" = file-sjis ]; then
            printf '%s' "$block" | to_sjis >"$program/$target"
        else
            printf '%s' "$block" >"$program/$target"
        fi
        kind=""
        block=""
        continue
    fi
    read -r -a words <<<"$line"
    case "${words[0]:-}" in
    remove) rm -rf "${program:?}/${words[1]}" ;;
    file | file-sjis)
        if [ ${#words[@]} -ne 3 ] || [ "${words[2]}" != "<<" ]; then
            echo "$scenario: write '${words[0]} NAME <<', the lines, then '>>'" >&2
            exit 2
        fi
        kind="${words[0]}"
        target="${words[1]}"
        ;;
    esac
done <"$scenario"
if [ -n "$kind" ]; then
    echo "$scenario: '$kind $target <<' has no closing '>>'" >&2
    exit 2
fi
