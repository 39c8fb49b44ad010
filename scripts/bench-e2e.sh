#!/usr/bin/env bash
# End-to-end timings of the link program under Wine, each against the floor of this machine
# measured in the same run:
#   scripts/bench-e2e.sh [--runs N] [--accounts N] [--bin BIN_DIR] [--work DIR]
# Two books: the sample book (trading.json) and a synthetic book of --accounts accounts (default
# 20000) that the stand-in's book tool makes. For each book, --runs times (default 5), in turn:
#   floors   Wine starts floordialog.exe, a program of one dialog (start -> dialog shown), and
#            the stand-in reads the book (booktool --load-time);
#   the run  benchrun.exe plays the host and the user of IvyOvw21ToRv16_G.exe: start -> the
#            condition sheet shown, opening the mapping dialog on the biggest line (the line
#            button of page 2 whose dialog lists the most accounts, found once per book),
#            F12 -> the closing message, and the program's peak working set at that message.
# It prints the machine (processor, cores, Wine, build) and, for each book, the median of each
# figure as a time and as a ratio to its floor: start -> sheet to the dialog floor plus the book
# load, the others to the dialog floor. The goals (start -> sheet at most 1.5 x the dialog floor
# plus the book load, F12 -> closing message at most 0.3 s on the synthetic book) are reported,
# never enforced. Exit status 0 when every run worked, 1 when one failed (its lines are shown),
# 2 for a usage error.
# Without --bin it sets up the machine and builds the Windows programs first (the win32 build
# where this machine runs 32-bit x86 code, else win64); --bin uses a build as it is. Outside a
# Wine session it runs in one of its own (scripts/with-wine-session.sh). The program folders and
# the books go to --work (default <build root>/bench-e2e).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs=5
accounts=20000
bin=""
work=""
usage() {
    echo "usage: $0 [--runs N] [--accounts N] [--bin BIN_DIR] [--work DIR]" >&2
    exit 2
}
while [ $# -gt 0 ]; do
    case "$1" in
    --runs) runs="${2:-}" ;;
    --accounts) accounts="${2:-}" ;;
    --bin) bin="${2:-}" ;;
    --work) work="${2:-}" ;;
    *) usage ;;
    esac
    [ $# -ge 2 ] || usage
    shift 2
done
[[ "$runs" =~ ^[1-9][0-9]*$ && "$accounts" =~ ^[1-9][0-9]*$ ]] || usage

cd "$repo"
source scripts/lib.sh
ovw_windows_build
build_root="$(ovw_build_root)"
work="${work:-$build_root/bench-e2e}"

if [ -z "$bin" ]; then
    ovw_setup_windows
    if ! ovw_build "$OVW_WINDOWS_BUILD"; then
        echo "bench-e2e: the $OVW_WINDOWS_BUILD build failed (see above)"
        exit 1
    fi
    bin="$build_root/$OVW_WINDOWS_BUILD/bin"
fi
bin="$(cd "$bin" 2>/dev/null && pwd)" || {
    echo "bench-e2e: no build folder $bin" >&2
    exit 1
}
for tool in benchrun.exe floordialog.exe booktool.exe IvyOvw21ToRv16_G.exe; do
    if [ ! -f "$bin/$tool" ]; then
        echo "bench-e2e: $bin has no $tool" >&2
        exit 1
    fi
done

ovw_in_wine_session "$0" --runs "$runs" --accounts "$accounts" --bin "$bin" --work "$work"

# Runs a Wine program whose output is "key=value" lines into the file $1 (appended); on failure
# shows what it said and ends the script.
measure() {
    local into="$1"
    shift
    local out
    # Console programs of Windows end their lines in CR LF.
    if ! out="$(wine "$@" </dev/null 2>&1 | tr -d '\r'; exit "${PIPESTATUS[0]}")"; then
        echo "$out"
        echo "bench-e2e: FAILED: $*"
        exit 1
    fi
    grep -E '^[a-z_]+=[0-9.]+$' <<<"$out" >>"$into" || true
}

# The median of the values of key in a file of "key=value" lines; none is an error.
median() {
    sed -n "s/^$2=//p" "$1" | sort -g |
        awk '{ v[NR] = $1 } END { if (NR == 0) exit 1; print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }' ||
        { echo "bench-e2e: FAILED: no $2 in $1" >&2; exit 1; }
}

# Prepares the program folder of one book: the delivered files, with the book served.
prepare() {
    local folder="$1" book="$2"
    scripts/program-folder.sh "$bin" "$folder"
    printf '{ "book": "%s", "outputFolder": ".", "settingsFolder": "." }\n' "$book" \
        >"$folder/StandinHost.json"
}

rm -rf "$work"
mkdir -p "$work"
work="$(cd "$work" && pwd)"
prepare "$work/sample" trading.json
prepare "$work/synthetic" synthetic.json
if ! (cd "$work/synthetic" && wine booktool.exe --synthetic "$accounts" >synthetic.json 2>booktool.err); then
    cat "$work/synthetic/booktool.err"
    echo "bench-e2e: FAILED: booktool.exe --synthetic $accounts"
    exit 1
fi

cpu="$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
echo "bench-e2e: $cpu, $(nproc) cores; $(wine --version 2>/dev/null || echo Wine); the $OVW_WINDOWS_BUILD build ($([ "$OVW_WINDOWS_BUILD" = win32 ] && echo 32-bit || echo 64-bit)); median of $runs runs"

for book in sample synthetic; do
    folder="$work/$book"
    bookFile="$([ "$book" = sample ] && echo trading.json || echo synthetic.json)"
    figures="$work/$book.txt"
    : >"$figures"
    program="$(winpath "$folder/IvyOvw21ToRv16_G.exe")"
    measure "$figures" "$bin/benchrun.exe" survey "$program"
    button="$(sed -n 's/^button=//p' "$figures")"
    rows="$(sed -n 's/^rows=//p' "$figures")"
    for _ in $(seq 1 "$runs"); do
        measure "$figures" "$bin/benchrun.exe" dialog "$(winpath "$folder/floordialog.exe")"
        (cd "$folder" && measure "$figures" booktool.exe --load-time "$bookFile")
        # A fresh start each time: no settings file from the run before.
        rm -f "$folder"/RV*_G_*.env
        measure "$figures" "$bin/benchrun.exe" run "$program" "$(winpath "$folder/bench.xml")" \
            --button "$button"
    done

    dialog="$(median "$figures" dialog_ms)"
    load="$(median "$figures" load_ms)"
    start="$(median "$figures" start_ms)"
    mapping="$(median "$figures" mapping_ms)"
    close="$(median "$figures" close_ms)"
    peak="$(median "$figures" peak_working_set_kb)"
    case "$book" in
    sample) echo "book: the sample book (trading.json)" ;;
    synthetic) echo "book: a synthetic book of $accounts accounts (booktool --synthetic $accounts)" ;;
    esac
    awk -v dialog="$dialog" -v load="$load" -v start="$start" -v mapping="$mapping" \
        -v closing="$close" -v peak="$peak" -v button="$button" -v rows="$rows" \
        -v book="$book" '
        function line(what, ms, ratio, base) {
            printf "  %-44s %8.1f ms  %5.2f x %s\n", what, ms, ratio, base
        }
        BEGIN {
            printf "  %-44s %8.1f ms\n", "floor: Wine starts a program of one dialog", dialog
            printf "  %-44s %8.1f ms\n", "floor: the stand-in reads the book", load
            line("start -> condition sheet shown", start, start / (dialog + load),
                 "the dialog floor + the book load")
            line("mapping dialog of button " button " (" rows " rows)", mapping,
                 mapping / dialog, "the dialog floor")
            line("F12 -> closing message", closing, closing / dialog, "the dialog floor")
            printf "  %-44s %8.1f MB\n", "peak working set", peak / 1024
            goal = 1.5 * dialog + load
            printf "  goal: start -> sheet at most 1.5 x the dialog floor + the book load (%.1f ms): %s\n",
                   goal, start <= goal ? "met" : "missed"
            if (book == "synthetic")
                printf "  goal: F12 -> closing message at most 300 ms: %s\n",
                       closing <= 300 ? "met" : "missed"
        }'
done
