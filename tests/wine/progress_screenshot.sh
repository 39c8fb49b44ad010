#!/usr/bin/env bash
# Shows the progress window half-way through a run under Wine and saves a screenshot of it:
#   progress_screenshot.sh report_wine_check.exe OUTPUT.png
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [ -z "${OVW_XVFB_DISPLAY:-}" ]; then
    exec "$here/../../scripts/with-wine-session.sh" "$0" "$@"
fi
program="$1"
output="$2"
log="$(mktemp "${TMPDIR:-/tmp}/progress-shot.XXXXXX")"
wine "$program" halfway 6 </dev/null >"$log" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
    grep -q '^window ' "$log" && break
    sleep 0.1
done
sleep 1
read -r _ x y width height _ < <(grep '^window ' "$log" | tr -d '\r')
import -display "$OVW_XVFB_DISPLAY" -window root -crop "${width}x${height}+${x}+${y}" "$output"
wait "$pid"
tr -d '\r' <"$log"
rm -f "$log"
echo "screenshot: $output"
