#!/usr/bin/env bash
# Runs a Windows test program under Wine inside a Wine session (a private Xvfb and wineserver,
# started here unless one is running):  run_wine_check.sh PROGRAM.exe [ARG...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
ovw_in_wine_session "$0" "$@"
program="$1"
shift
log="$(mktemp "${TMPDIR:-/tmp}/wine-check.XXXXXX")"
# Output through a file: a Wine process that outlives the program must not hold ctest's pipe.
set +e
wine "$program" "$@" </dev/null >"$log" 2>&1
status=$?
set -e
tr -d '\r' <"$log" | iconv -f CP932 -t UTF-8 -c
rm -f "$log"
exit $status
