#!/usr/bin/env bash
# Random-input runs of monkey.exe under Wine, each in a fresh program folder:
#   run_monkey.sh BIN_DIR WORK_ROOT ACTIONS RUN...
# A RUN is PROGRAM:SEED or PROGRAM:SEED:hosted (PROGRAM Ivy, Oak or Elm). Each run prepares
# WORK_ROOT/<program>-<seed>/prog as installed (scripts/program-folder.sh), drives the
# program with ACTIONS random actions, and then checks every XML file the run wrote with xmllint.
# Prints one line per run; exit status 0 only when every run passed. Outside a Wine session it
# starts one of its own (scripts/with-wine-session.sh).
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
ovw_arguments 4 "" "BIN_DIR WORK_ROOT ACTIONS PROGRAM:SEED[:hosted]..." "$@"
ovw_in_wine_session "$0" "$@"
bin="$(cd "$1" && pwd)"
root="$(mkdir -p "$2" && cd "$2" && pwd)"
actions="$3"
shift 3

failed=0
for run in "$@"; do
    IFS=: read -r edition seed mode <<<"$run"
    work="$root/$edition-$seed${mode:+-$mode}"
    rm -rf "$work"
    mkdir -p "$work"
    "$OVW_REPO/scripts/program-folder.sh" "$bin" "$work/prog"
    touch "$work/start"
    sleep 1
    set +e
    wine "$bin/monkey.exe" --folder "$(winpath "$work/prog")" \
        --program "${edition}Ovw21ToRv16_G.exe" --seed "$seed" --actions "$actions" \
        ${mode:+--$mode} --out "$(winpath "$work")" </dev/null >"$work/monkey.log" 2>&1
    status=$?
    set -e
    ovw_pictures_to_png "$work"
    # Every report the run wrote, wherever its random path put it, is well formed.
    reports=0
    while IFS= read -r -d '' file; do
        [ "$(head -c 5 "$file")" = "<?xml" ] || continue
        reports=$((reports + 1))
        if ! xmllint --noout "$file" >>"$work/monkey.log" 2>&1; then
            echo "not well formed: $file" >>"$work/monkey.log"
            status=1
        fi
    done < <(find "$work/prog" -type f -newer "$work/start" -print0)
    if [ $status -eq 0 ]; then
        echo "passed: $run ($(sed -n 's/^passed: //p' "$work/monkey.log"); $reports reports well formed)"
    else
        echo "FAILED: $run"
        sed 's/^/  /' "$work/monkey.log"
        failed=$((failed + 1))
    fi
done
[ $failed -eq 0 ]
