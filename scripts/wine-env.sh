# Sourced: the environment in which every Wine call of this project runs, and the project's
# private Wine prefix (created on first use, reused afterwards).
#
#   WINEPREFIX   <repo>/build/wineprefix, or $OVW_WINEPREFIX when set (one prefix per parallel
#                line of work: two sessions on different displays must not share a wineserver)
#   WINEARCH     win32
#   LC_ALL/LANG  ja_JP.UTF-8, so that the ANSI code page is 932
#   WINEDEBUG    -all; WINEDLLOVERRIDES keeps Wine from offering Mono and Gecko
#
# Never call wine without this file sourced: Wine would build a prefix in the home folder.

OVW_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${OVW_WINEPREFIX:-$OVW_REPO/build/wineprefix}"
export WINEARCH=win32
export LC_ALL=ja_JP.UTF-8
export LANG=ja_JP.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Raised whenever the settings below change, so that existing prefixes get them too.
OVW_WINE_PREFIX_VERSION=2

ovw_wine_prefix_ready() {
    [ "$(cat "$WINEPREFIX/.ovw-ready" 2>/dev/null)" = "$OVW_WINE_PREFIX_VERSION" ]
}

ovw_create_wine_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        # Two callers creating the prefix at once would both run wineboot.
        flock 9
        ovw_wine_prefix_ready && exit 0
        # Without a display the set-up runs headless; the server is waited for below so that a
        # later session on a real display does not join this one.
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "wine-env: creating Wine prefix $WINEPREFIX"
            DISPLAY= wineboot -i >/dev/null 2>&1
        fi
        echo "wine-env: settings of Wine prefix $WINEPREFIX"
        local x11='HKCU\Software\Wine\X11 Driver'
        local fonts='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
        local settings=(
            # Without a window manager, every top-level DestroyWindow waits 2 s unless windows
            # are unmanaged.
            "$x11|Managed|REG_SZ|N"
            "$x11|Decorated|REG_SZ|N"
            # The dialogs' fonts.
            "$fonts|ＭＳ Ｐゴシック|REG_SZ|IPAPGothic"
            "$fonts|ＭＳ ゴシック|REG_SZ|IPAGothic"
            # A crashing program ends at once instead of waiting behind a crash dialog.
            'HKCU\Software\Wine\WineDbg|ShowCrashDialog|REG_DWORD|0'
        )
        local setting key name type data
        for setting in "${settings[@]}"; do
            IFS='|' read -r key name type data <<<"$setting"
            DISPLAY= wine reg add "$key" /v "$name" /t "$type" /d "$data" /f >/dev/null 2>&1
        done
        wineserver -w
        echo "$OVW_WINE_PREFIX_VERSION" >"$WINEPREFIX/.ovw-ready"
        echo "wine-env: Wine prefix ready"
    ) 9>"$WINEPREFIX.lock"
}

# The session script prepares the prefix itself, once it holds the prefix's session lock.
[ -n "${OVW_DEFER_PREFIX:-}" ] || ovw_wine_prefix_ready || ovw_create_wine_prefix
