# Sourced: the helpers that the scripts of scripts/, tests/ and tools/ share, each defined once.
#
#   winpath PATH           the path as a Windows program under Wine sees it (Z: is the Unix root)
#   ovw_in_wine_session "$0" "$@"
#                          re-runs the calling script with its arguments inside a Wine session of
#                          its own (scripts/with-wine-session.sh) unless it runs in one already
#                          at the DPI it asks for (OVW_DPI, scripts/wine-env.sh); call it before
#                          anything else
#   ovw_wine PROGRAM [ARG...]
#                          runs a Windows program under Wine, in the running Wine session or in
#                          one of its own
#   ovw_setup_windows      installs what is missing (scripts/setup.sh), then finds which Windows
#                          build runs here (scripts/windows-build.sh) and says so in one line
#   ovw_build PRESET [LOG] configures and builds <build root>/PRESET with cmake --preset PRESET;
#                          the output goes to LOG (by default a temporary file, removed when the
#                          build succeeds); on failure prints the end of LOG and returns 1
#   ovw_robot BIN_DIR SCENARIO FOLDER OUT
#                          runs BIN_DIR/robot.exe on SCENARIO with the program folder FOLDER
#                          (inside a Wine session); its transcript, its output (robot.log) and
#                          its pictures, as PNG, go to OUT; returns the robot's exit status
#   ovw_pictures_to_png DIR  converts the BMP pictures the tools left in DIR to PNG
#   ovw_browser LOG ARG... runs headless Chromium once with a fresh profile and ARG..., its own
#                          lines in LOG
#   ovw_check_report FOLDER REPORT
#                          runs the report checker delivered in the program folder FOLDER on
#                          REPORT (relative to FOLDER, or as Windows sees it), which writes its
#                          page beside REPORT (the same name with .html); its tables and findings
#                          go to stdout; returns the checker's exit status (0 no findings,
#                          1 findings, 2 and above the report could not be read)
#   ovw_run_end_line LOG   prints the program's run end line ("overview run: ...") of the debugger
#                          output in LOG (WINEDEBUG=+debugstr); when LOG holds none or several,
#                          says so instead and returns 1
#   ovw_msi_property MSI NAME
#                          prints the value of the property NAME of the package MSI (msiinfo)
#   ovw_arguments MIN MAX "USAGE" "$@"
#                          exits with "usage: <script> USAGE" (status 2) unless the calling
#                          script was given MIN to MAX arguments (MAX empty: no upper limit)
#
# Also sets what scripts/windows-build.sh sets (OVW_REPO, ovw_build_root, ovw_windows_build).

source "$(dirname "${BASH_SOURCE[0]}")/windows-build.sh"

winpath() { printf 'Z:%s' "${1//\//\\}"; }

ovw_arguments() {
    local min="$1" max="$2" usage="$3"
    shift 3
    if [ $# -lt "$min" ] || { [ -n "$max" ] && [ $# -gt "$max" ]; }; then
        echo "usage: $0 $usage" >&2
        exit 2
    fi
}

ovw_in_wine_session() {
    if [ -z "${OVW_XVFB_DISPLAY:-}" ] || [ "${OVW_SESSION_DPI:-96}" != "${OVW_DPI:-96}" ]; then
        exec "$OVW_REPO/scripts/with-wine-session.sh" "$@"
    fi
}

ovw_wine() {
    if [ -n "${OVW_XVFB_DISPLAY:-}" ]; then
        wine "$@"
    else
        "$OVW_REPO/scripts/with-wine-session.sh" wine "$@"
    fi
}

ovw_setup_windows() {
    "$OVW_REPO/scripts/setup.sh"
    ovw_windows_build
    echo "$OVW_WINDOWS_BUILD_SAYS"
}

ovw_build() {
    local preset="$1" log="${2:-}" keep=1
    local build
    build="$(ovw_build_root)/$preset"
    if [ -z "$log" ]; then
        log="$(mktemp "${TMPDIR:-/tmp}/ovw-build-$preset.XXXXXX")"
        keep=0
    fi
    if ! { (cd "$OVW_REPO" && cmake --preset "$preset" -B "$build") &&
        cmake --build "$build" -j"$(nproc)"; } >"$log" 2>&1; then
        tail -40 "$log"
        return 1
    fi
    [ "$keep" -eq 1 ] || rm -f "$log"
}

ovw_robot() {
    local bin="$1" scenario="$2" folder="$3" out="$4" status=0
    # Output through a file: a Wine process that outlives the robot must not hold ctest's pipe.
    wine "$bin/robot.exe" --scenario "$(winpath "$scenario")" --folder "$(winpath "$folder")" \
        --out "$(winpath "$out")" --timeout "${OVW_E2E_TIMEOUT:-15}" </dev/null \
        >"$out/robot.log" 2>&1 || status=$?
    ovw_pictures_to_png "$out"
    return $status
}

ovw_pictures_to_png() {
    local shot
    for shot in "$1"/*.bmp; do
        [ -f "$shot" ] || continue
        convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
    done
}

ovw_browser() {
    local log="$1" browser profile status=0
    shift
    browser="$(command -v chromium || true)"
    if [ -z "$browser" ]; then
        echo "chromium is not installed (scripts/setup.sh installs it)" >"$log"
        return 1
    fi
    profile="$(mktemp -d "${TMPDIR:-/tmp}/ovw-browser.XXXXXX")"
    timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$profile" --enable-logging=stderr --v=0 "$@" 2>"$log" || status=$?
    rm -rf "$profile"
    return $status
}

ovw_check_report() {
    (cd "$1" && ovw_wine ovwcheck.exe --html "${2%.*}.html" "$2")
}

ovw_run_end_line() {
    local ends
    mapfile -t ends < <(grep -a 'overview run: ' "$1" || true)
    if [ ${#ends[@]} -ne 1 ]; then
        echo "expected one end-of-run line in the debugger output, found ${#ends[@]} (log: $1)"
        [ ${#ends[@]} -eq 0 ] || printf '  %s\n' "${ends[@]}"
        return 1
    fi
    printf '%s\n' "${ends[0]}"
}

ovw_msi_property() {
    msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v name="$2" '$1 == name { print $2 }'
}
