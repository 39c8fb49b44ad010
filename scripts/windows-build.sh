# Sourced: which Windows build runs here under Wine.
#
# The product is the win32 build (i686). Some machines cannot execute 32-bit x86 code at all
# (the kernel's 32-bit emulation is off), so 32-bit Wine cannot start there; on those the same
# sources run as the win64 build (x86_64) under 64-bit Wine.
#
# ovw_windows_build  sets and exports OVW_WINDOWS_BUILD (win32 or win64) and OVW_RUNS_X86_32
#                    (yes or no), and sets OVW_WINDOWS_BUILD_SAYS to one plain line that tells
#                    which build runs and why. OVW_WINDOWS_BUILD=win64 set beforehand forces the
#                    x86_64 path on a machine that could run either.
# The machine is probed once; the answer is kept in <build root>/x86-32.probe.

OVW_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OVW_WINE32_LOADER=/usr/lib/wine/wine
OVW_WINE64_LOADER=/usr/lib/wine/wine64

ovw_build_root() {
    case "${OVW_BUILD_ROOT:-build}" in
    /*) echo "${OVW_BUILD_ROOT}" ;;
    *) echo "$OVW_REPO/${OVW_BUILD_ROOT:-build}" ;;
    esac
}

# Prints "yes" or "no: REASON".
ovw_probe_x86_32() {
    local out
    if [ ! -x "$OVW_WINE32_LOADER" ]; then
        echo "no: the 32-bit Wine loader $OVW_WINE32_LOADER is not installed"
    elif out="$("$OVW_WINE32_LOADER" --version 2>&1)"; then
        echo yes
    elif grep -qi 'exec format error' <<<"$out"; then
        echo "no: the kernel's 32-bit emulation is off"
    else
        echo "no: the 32-bit Wine loader does not start ($(head -1 <<<"$out"))"
    fi
}

ovw_windows_build() {
    local root probe answer
    root="$(ovw_build_root)"
    probe="$root/x86-32.probe"
    answer="$(cat "$probe" 2>/dev/null || true)"
    if [ -z "$answer" ]; then
        answer="$(ovw_probe_x86_32)"
        mkdir -p "$root"
        echo "$answer" >"$probe"
    fi
    case "${OVW_WINDOWS_BUILD:-}" in
    "" | win32 | win64) ;;
    *)
        echo "OVW_WINDOWS_BUILD must be win32 or win64, not '$OVW_WINDOWS_BUILD'" >&2
        return 2
        ;;
    esac
    if [ "$answer" = yes ]; then
        export OVW_RUNS_X86_32=yes
        if [ "${OVW_WINDOWS_BUILD:-}" = win64 ]; then
            OVW_WINDOWS_BUILD_SAYS="this machine runs 32-bit x86 code, but OVW_WINDOWS_BUILD=win64: the Windows tests run the x86_64 build under 64-bit Wine"
        else
            export OVW_WINDOWS_BUILD=win32
            OVW_WINDOWS_BUILD_SAYS="this machine runs 32-bit x86 code: the Windows tests run the win32 build (the product) under 32-bit Wine"
        fi
    else
        export OVW_RUNS_X86_32=no
        if [ "${OVW_WINDOWS_BUILD:-}" = win32 ]; then
            echo "OVW_WINDOWS_BUILD=win32, but this machine cannot run 32-bit x86 code (${answer#no: })" >&2
            return 2
        fi
        export OVW_WINDOWS_BUILD=win64
        OVW_WINDOWS_BUILD_SAYS="this machine cannot run 32-bit x86 code (${answer#no: }): the Windows tests run the x86_64 build under 64-bit Wine"
    fi
}
