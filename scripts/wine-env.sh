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

ovw_wine_prefix_ready() { [ -f "$WINEPREFIX/.ovw-ready" ]; }

ovw_create_wine_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        # Two callers creating the prefix at once would both run wineboot.
        flock 9
        ovw_wine_prefix_ready && exit 0
        echo "wine-env: creating Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        # Without a display the registry set-up runs headless; the server is waited for below
        # so that a later session on a real display does not join this one.
        DISPLAY= wineboot -i >/dev/null 2>&1
        # Without a window manager, every top-level DestroyWindow waits 2 s unless windows are
        # unmanaged.
        local x11='HKCU\Software\Wine\X11 Driver'
        local fonts='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
        DISPLAY= wine reg add "$x11" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        DISPLAY= wine reg add "$x11" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
        DISPLAY= wine reg add "$fonts" /v "ＭＳ Ｐゴシック" /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
        DISPLAY= wine reg add "$fonts" /v "ＭＳ ゴシック" /t REG_SZ /d IPAGothic /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.ovw-ready"
        echo "wine-env: Wine prefix ready"
    ) 9>"$WINEPREFIX.lock"
}

ovw_wine_prefix_ready || ovw_create_wine_prefix
