#!/usr/bin/env bash
# Rules of the product's sources that keep its structure, checked by reading the files:
#   check_sources.sh layers SOURCE_DIR   every #include points down the layers (or stays in its
#                                        own layer); the pages never include their sheet
#   check_sources.sh ascii SOURCE_DIR    no byte above 0x7F in a product .cpp or .h (the texts
#                                        come from texts/catalogue.txt, the checker's from
#                                        texts/checker.txt)
#   check_sources.sh host SOURCE_DIR     no product file but the host library adapter
#                                        (platform/hostlib) reaches a host singleton (::Inst())
# Prints each breach as file:line and exits 1 when there is any.
set -euo pipefail

rule="${1:?usage: check_sources.sh layers|ascii|host SOURCE_DIR}"
cd "${2:?usage: check_sources.sh layers|ascii|host SOURCE_DIR}"

product_dirs=(checker app aggregate report settings ui platform host)

breaches=0
breach() {
    echo "$1"
    breaches=$((breaches + 1))
}

case "$rule" in
layers)
    # The layers from the top: a file may include its own layer and any layer of a lower rank.
    # ui and report are peers, as are host and texts; peers do not include each other. The
    # report checker stands above the program: it names lines as the sheet (ui) captions them.
    while IFS= read -r hit; do
        breach "$hit"
    done < <(find "${product_dirs[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
        xargs -0 grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' |
        awk -F: 'BEGIN {
                rank["checker"] = 7; rank["app"] = 6; rank["ui"] = 5; rank["report"] = 5; rank["settings"] = 4
                rank["aggregate"] = 3; rank["platform"] = 2; rank["host"] = 1; rank["texts"] = 1
            }
            {
                file = $1; line = $2
                target = $0; sub(/^[^"]*"/, "", target); sub(/".*$/, "", target)
                from = file; sub(/\/.*/, "", from)
                to = target; sub(/\/.*/, "", to)
                if ((to in rank) && to != from && rank[to] >= rank[from])
                    printf "%s:%s: the %s layer includes %s (%s)\n", file, line, from, target, to
                if (file ~ /^ui\/win32\/page/ && target == "ui/win32/condition_sheet.h")
                    printf "%s:%s: a page includes its sheet (pages see it as a PageSite)\n", file, line
            }')
    ;;
ascii)
    while IFS= read -r hit; do
        breach "$hit: a byte above 0x7F"
    done < <(find "${product_dirs[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
        xargs -0 grep -nP '[^\x00-\x7F]' | cut -d: -f1,2)
    ;;
host)
    while IFS= read -r hit; do
        breach "$hit: reaches a host singleton outside the host library adapter"
    done < <(find "${product_dirs[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) \
        -not -path 'platform/hostlib/*' -print0 | sort -z |
        xargs -0 grep -nE '::[[:space:]]*Inst[[:space:]]*\(' | cut -d: -f1,2)
    ;;
*)
    echo "unknown rule $rule" >&2
    exit 2
    ;;
esac

if [ "$breaches" -gt 0 ]; then
    echo "$breaches breaches of the $rule rule"
    exit 1
fi
echo "the $rule rule holds"
