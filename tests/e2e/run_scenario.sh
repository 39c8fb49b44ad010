#!/usr/bin/env bash
# Runs one end-to-end scenario under Wine:
#   run_scenario.sh SCENARIO BIN_DIR WORK_ROOT
# 1. prepares a fresh program folder WORK_ROOT/<scenario>/<folder> as installed: a copy of
#    BIN_DIR (programs, StandinHost.dll, delivered data files), then tests/e2e/defaults/
#    (NAME.utf8 converted to Shift_JIS with CR LF, other files as they are), then the scenario's
#    own folder lines (folder, remove, file, file-sjis; see README.md);
# 2. runs robot.exe on the scenario; on failure prints where the transcript and the screenshot
#    are (WORK_ROOT/<scenario>/transcript.txt, failure.png).
# Outside a Wine session it starts one of its own (scripts/with-wine-session.sh).
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 SCENARIO BIN_DIR WORK_ROOT" >&2
    exit 2
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
if [ -z "${OVW_XVFB_DISPLAY:-}" ]; then
    exec "$repo/scripts/with-wine-session.sh" "$0" "$@"
fi

scenario="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
bin="$(cd "$2" && pwd)"
name="$(basename "$scenario" .scn)"
work="$(mkdir -p "$3" && cd "$3" && pwd)/$name"

# Z: is the Unix root under Wine.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
to_sjis() { sed 's/\r$//; s/$/\r/' "$1" | iconv -f UTF-8 -t CP932; }

rm -rf "$work"
mkdir -p "$work"

folder=prog
while IFS= read -r -a words; do
    if [ "${words[0]:-}" = folder ] && [ ${#words[@]} -ge 2 ]; then
        folder="${words[1]}"
    fi
done <"$scenario"
program="$work/$folder"
mkdir -p "$program"
cp -a "$bin/." "$program/"
for default in "$here"/defaults/*; do
    [ -f "$default" ] || continue
    base="$(basename "$default")"
    if [[ "$base" == *.utf8 ]]; then
        to_sjis "$default" >"$program/${base%.utf8}"
    else
        cp "$default" "$program/$base"
    fi
done

# Folder lines of the scenario, in order: remove NAME, file NAME << ... >>, file-sjis NAME << ... >>.
block=""
target=""
kind=""
while IFS= read -r line || [ -n "$line" ]; do
    line="${line%$'\r'}"
    if [ -n "$kind" ]; then
        if [ "$line" = ">>" ]; then
            if [ "$kind" = file-sjis ]; then
                printf '%s' "$block" >"$work/block.utf8"
                to_sjis "$work/block.utf8" >"$program/$target"
                rm -f "$work/block.utf8"
            else
                printf '%s' "$block" >"$program/$target"
            fi
            kind=""
            block=""
        else
            block+="$line"$'\n'
        fi
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

# Output through a file: a Wine process that outlives the robot must not hold ctest's pipe.
set +e
wine "$bin/robot.exe" --scenario "$(winpath "$scenario")" --folder "$(winpath "$program")" \
    --out "$(winpath "$work")" --timeout "${OVW_E2E_TIMEOUT:-15}" </dev/null >"$work/robot.log" 2>&1
status=$?
set -e
cat "$work/robot.log"
if [ $status -ne 0 ]; then
    for shot in "$work"/*.bmp; do
        [ -f "$shot" ] || continue
        convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
    done
    echo "transcript: $work/transcript.txt"
    [ -f "$work/failure.png" ] && echo "screenshot: $work/failure.png"
fi
exit $status
