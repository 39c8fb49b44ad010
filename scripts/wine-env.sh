# Sourced: the environment in which every Wine call of this project runs, and the project's
# private Wine prefix (created on first use, reused afterwards).
#
#   OVW_WINDOWS_BUILD  win32 or win64: the build that runs here (scripts/windows-build.sh)
#   WINEARCH     the same; with win64, PATH starts with scripts/wine64, so that wine and
#                wineboot go straight to the 64-bit loader
#   OVW_DPI      96 (the default), 120 or 144: the screen resolution that the programs of the
#                prefix see (its LogPixels; Windows' scaling of 100, 125 and 150 %). Each value
#                has a prefix of its own, so that sessions at different sizes can follow one
#                another without changing a prefix under a running server
#   WINEPREFIX   <build root>/wineprefix-<arch>, or $OVW_WINEPREFIX when set (one prefix per
#                parallel line of work: two sessions on different displays must not share a
#                wineserver); with OVW_DPI other than 96, that name followed by -dpi<N>
#   LC_ALL/LANG  ja_JP.UTF-8, so that the ANSI code page is 932
#   WINEDEBUG    -all; WINEDLLOVERRIDES keeps Wine from offering Mono and Gecko, and from copying
#                the Start menu entries that installers make into the desktop's own menus
#
# Never call wine without this file sourced: Wine would build a prefix in the home folder.

source "$(dirname "${BASH_SOURCE[0]}")/windows-build.sh"
ovw_windows_build
export WINEARCH="$OVW_WINDOWS_BUILD"
OVW_DPI="${OVW_DPI:-96}"
case "$OVW_DPI" in
96 | 120 | 144) ;;
*)
    echo "OVW_DPI must be 96, 120 or 144, not '$OVW_DPI'" >&2
    return 2
    ;;
esac
export OVW_DPI
export WINEPREFIX="${OVW_WINEPREFIX:-$(ovw_build_root)/wineprefix-$WINEARCH}"
[ "$OVW_DPI" = 96 ] || WINEPREFIX="$WINEPREFIX-dpi$OVW_DPI"
if [ "$WINEARCH" = win64 ] && [[ ":$PATH:" != *":$OVW_REPO/scripts/wine64:"* ]]; then
    export PATH="$OVW_REPO/scripts/wine64:$PATH"
fi
export LC_ALL=ja_JP.UTF-8
export LANG=ja_JP.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Raised whenever the settings below change, so that existing prefixes get them too.
OVW_WINE_PREFIX_VERSION=5

ovw_wine_prefix_ready() {
    [ "$(cat "$WINEPREFIX/.ovw-ready" 2>/dev/null)" = "$OVW_WINE_PREFIX_VERSION" ]
}

# Says why Wine failed: MESSAGE, Wine's own lines from LOG, and what to do.
ovw_wine_failed() {
    {
        echo "wine-env: $1. Wine said:"
        sed 's/^/    /' "$2" 2>/dev/null | tail -20
        if [ "$WINEARCH" = win32 ]; then
            echo "wine-env: check that 32-bit Wine starts (/usr/lib/wine/wine --version); where it cannot, run with OVW_WINDOWS_BUILD=win64"
        else
            echo "wine-env: check that 64-bit Wine starts (/usr/lib/wine/wine64 --version) and that scripts/setup.sh ran"
        fi
        echo "wine-env: remove $WINEPREFIX to make the prefix anew"
    } >&2
}

ovw_create_wine_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        # Two callers creating the prefix at once would both run wineboot.
        flock 9
        ovw_wine_prefix_ready && exit 0
        # Without a display the set-up runs headless; the server is waited for below so that a
        # later session on a real display does not join this one.
        local log="$WINEPREFIX.log"
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "wine-env: creating Wine prefix $WINEPREFIX ($WINEARCH)"
            # The registry reaches system.reg when the server ends.
            DISPLAY= wineboot -i >"$log" 2>&1 || true
            wineserver -w
            if [ ! -f "$WINEPREFIX/system.reg" ]; then
                ovw_wine_failed "Wine could not make its prefix $WINEPREFIX" "$log"
                exit 1
            fi
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
            # The screen resolution (dots per inch) that programs see.
            "HKCU\\Control Panel\\Desktop|LogPixels|REG_DWORD|$OVW_DPI"
            # Pages open with the default browser, as on Windows (Wine's HTML engine, which
            # would say so, is left out); it opens nothing (scripts/wine-browser.sh).
            'HKCR\.html||REG_SZ|htmlfile'
            'HKCR\.htm||REG_SZ|htmlfile'
            "HKCU\\Software\\Wine\\WineBrowser|Browsers|REG_SZ|$OVW_REPO/scripts/wine-browser.sh"
        )
        local setting key name type data value
        for setting in "${settings[@]}"; do
            IFS='|' read -r key name type data <<<"$setting"
            # An empty name is the key's default value.
            value=(/ve)
            [ -z "$name" ] || value=(/v "$name")
            if ! DISPLAY= wine reg add "$key" "${value[@]}" /t "$type" /d "$data" /f >"$log" 2>&1; then
                ovw_wine_failed "Wine could not set $key\\$name in $WINEPREFIX" "$log"
                exit 1
            fi
        done
        # The symbol font of the title bars' buttons (Marlett, from Debian's fonts-wine): Wine
        # loads the fonts of the prefix's Fonts folder, not those of its own data folder.
        if ! cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>"$log"; then
            ovw_wine_failed "the font Marlett could not be put into $WINEPREFIX" "$log"
            exit 1
        fi
        wineserver -w
        echo "$OVW_WINE_PREFIX_VERSION" >"$WINEPREFIX/.ovw-ready"
        echo "wine-env: Wine prefix ready"
    ) 9>"$WINEPREFIX.lock"
}

# The session script prepares the prefix itself, once it holds the prefix's session lock.
[ -n "${OVW_DEFER_PREFIX:-}" ] || ovw_wine_prefix_ready || ovw_create_wine_prefix
