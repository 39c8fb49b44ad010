#!/usr/bin/env bash
# Sets up, builds the programs and runs the main job on the bundled sample data, as the host
# would start it:
#   scripts/run.sh [Ivy|Oak|Elm]        (default Ivy)
# The run happens in a program folder prepared as installed (build/run/prog: the programs, the
# stand-in host with its sample book, the data files and a filing-application definition file),
# inside a Wine session of its own, started by hostsim.exe (the host-window simulator).
# It prints the outcome: the result code posted to the host window.
# OVW_BUILD_ROOT (default build) holds the build folders.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
edition="${1:-Ivy}"
case "$edition" in
Ivy | Oak | Elm) ;;
*)
    echo "usage: $0 [Ivy|Oak|Elm]" >&2
    exit 2
    ;;
esac
build_root="${OVW_BUILD_ROOT:-build}"
bin="$repo/$build_root/win32/bin"
folder="$repo/$build_root/run/prog"

scripts/setup.sh
echo "run: building the win32 programs"
cmake --preset win32 -B "$build_root/win32" >/dev/null
cmake --build "$build_root/win32" -j"$(nproc)" >/dev/null

echo "run: program folder $folder"
tests/e2e/prepare_program_folder.sh "$bin" "$folder"

# Z: is the Unix root under Wine.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

echo "run: ${edition}Ovw21ToRv16_G.exe started by the host simulator"
set +e
scripts/with-wine-session.sh wine "$bin/hostsim.exe" --timeout 120 \
    "$(winpath "$folder/${edition}Ovw21ToRv16_G.exe")" </dev/null | tee "$folder/../hostsim.txt"
status=${PIPESTATUS[0]}
set -e

lparam="$(sed -n 's/^wparam=.* lparam=\(-\?[0-9]*\)$/\1/p' "$folder/../hostsim.txt" | tail -1)"
case "$lparam" in
0) echo "outcome: result 0, report written" ;;
1) echo "outcome: result 1, ended without output" ;;
2) echo "outcome: result 2, failure" ;;
*) echo "outcome: no exit notification (hostsim status $status)" ;;
esac
exit "$status"
