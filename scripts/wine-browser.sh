#!/bin/sh
# The web browser of the project's Wine prefixes (scripts/wine-env.sh): Wine hands it every page
# or address that a program opens with the default browser. It opens nothing, so that no test
# starts a real browser; with OVW_BROWSER_LOG set it adds each one, a line each, to that file.
if [ -n "${OVW_BROWSER_LOG:-}" ]; then
    printf '%s\n' "$@" >>"$OVW_BROWSER_LOG"
fi
