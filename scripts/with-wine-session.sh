#!/usr/bin/env bash
# Runs CMD... inside a Wine session of its own:
#   - always a private Xvfb on a free display (Xvfb picks it with -displayfd), whatever DISPLAY
#     says, so that tests never touch the user's desktop and always see the same screen;
#   - a persistent wineserver for the project's prefix (warm program starts);
#   - the project's Wine prefix (scripts/wine-env.sh; OVW_WINEPREFIX gives a parallel line of
#     work a prefix of its own);
#   - sessions on the same prefix take turns (a lock), so one session never stops another's
#     server.
# On exit, on failure of CMD and on INT/TERM it stops exactly what it started: CMD's process group
# (when interrupted), the wineserver of our prefix (wineserver -k) and the Xvfb by its process ID.
# Exit status: that of CMD.
# The display number is exported as DISPLAY; OVW_XVFB_DISPLAY repeats it for screenshots, and
# OVW_SESSION_DPI says at which DPI the session's prefix runs its programs (OVW_DPI).
set -euo pipefail

if [ $# -eq 0 ]; then
    echo "usage: $0 CMD [ARG...]" >&2
    exit 2
fi

OVW_DEFER_PREFIX=1 source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

session_dir="$(mktemp -d "${TMPDIR:-/tmp}/ovw-wine-session.XXXXXX")"
xvfb_pid=""
cmd_pid=""
server_started=0

cleanup() {
    trap - EXIT INT TERM
    if [ -n "$cmd_pid" ]; then
        kill -TERM -- "-$cmd_pid" 2>/dev/null || true
        wait "$cmd_pid" 2>/dev/null || true
    fi
    if [ "$server_started" -eq 1 ]; then
        wineserver -k 2>/dev/null || true
        timeout 20 wineserver -w 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill -TERM "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$session_dir"
}
trap 'cleanup' EXIT
trap 'cleanup; exit 130' INT
trap 'cleanup; exit 143' TERM

# One session per prefix at a time; the lock is released when this shell ends (no child holds
# its descriptor, 8).
mkdir -p "$(dirname "$WINEPREFIX")"
exec 8>"$WINEPREFIX.session.flock"
if ! flock -n 8; then
    echo "with-wine-session: waiting for another session on $WINEPREFIX"
    flock 8
fi
# A Wine call made outside any session may still be ending: give it a moment. A server still
# running after that was left by a session that was killed outright; under the lock nothing else
# uses this prefix, and a new display must not join that server's session.
if ! timeout 10 wineserver -w 2>/dev/null; then
    echo "with-wine-session: stopping a wineserver left on $WINEPREFIX by an earlier session"
    wineserver -k 2>/dev/null || true
    timeout 20 wineserver -w 2>/dev/null || true
fi
ovw_wine_prefix_ready || ovw_create_wine_prefix 8>&-

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$session_dir/display" \
    >"$session_dir/xvfb.log" 2>&1 8>&- &
xvfb_pid=$!
for _ in $(seq 1 100); do
    [ -s "$session_dir/display" ] && break
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "with-wine-session: Xvfb did not start:" >&2
        cat "$session_dir/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done
if [ ! -s "$session_dir/display" ]; then
    echo "with-wine-session: Xvfb gave no display number" >&2
    exit 1
fi
export DISPLAY=":$(tr -d '[:space:]' <"$session_dir/display")"
export OVW_XVFB_DISPLAY="$DISPLAY"
export OVW_SESSION_DPI="$OVW_DPI"
echo "with-wine-session: Xvfb pid $xvfb_pid on $DISPLAY, $WINEARCH prefix $WINEPREFIX"

# Persistent while programs come and go, but gone 60 s after the last one even if this script
# is killed outright.
wineserver -p60 8>&-
server_started=1
# The first program of a session starts Wine's own background processes, which live as long as
# the server; started here, they hold none of CMD's output pipes (ctest would wait for them).
if ! wine cmd /c exit </dev/null >"$session_dir/wine.log" 2>&1 8>&-; then
    ovw_wine_failed "Wine cannot start a program in $WINEPREFIX" "$session_dir/wine.log"
    exit 1
fi

set +e
# CMD runs in a process group of its own, so that an interrupted session ends CMD's children too.
set -m
"$@" 8>&- &
cmd_pid=$!
set +m
wait "$cmd_pid"
status=$?
cmd_pid=""
set -e
exit "$status"
