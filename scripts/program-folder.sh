#!/usr/bin/env bash
# Prepares a program folder as installed, for one run under Wine:
#   scripts/program-folder.sh BIN_DIR FOLDER [SCENARIO]
# FOLDER is emptied, then receives a copy of BIN_DIR (the programs, StandinHost.dll, the
# delivered data files with the filing application's QuorinDef.ini, the tools), then the folder
# lines of SCENARIO in order (remove, file, file-sjis; tests/e2e/README.md).
set -euo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "usage: $0 BIN_DIR FOLDER [SCENARIO]" >&2
    exit 2
fi
bin="$1"
program="$2"
scenario="${3:-}"

to_sjis() { sed 's/\r$//; s/$/\r/' | iconv -f UTF-8 -t CP932; }

rm -rf "$program"
mkdir -p "$program"
cp -a "$bin/." "$program/"
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
