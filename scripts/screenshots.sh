#!/usr/bin/env bash
# Remakes the pictures in docs/images/ from real runs under Wine:
#   - the windows of a run: the Ivy edition on the sample company, the robot playing
#     scripts/screenshots.scn and taking each window once it has been drawn (its snap command):
#     page 1, page 2, page 2 with the mapping dialog, page 3, the progress window during the run
#     and the closing message. At 96 DPI (Windows' scaling of 100 %) in docs/images/, at 120 and
#     144 DPI (125 and 150 %) in docs/images/dpi120/ and docs/images/dpi144/;
#   - the report checker's page of the sample run's report (scripts/sample_run.scn, the run that
#     scripts/run.sh plays), as headless Chromium shows it: docs/images/ovwcheck_page.png.
#   scripts/screenshots.sh
# Builds the Windows build that runs here (scripts/windows-build.sh) first. The pictures are
# written without time stamps, so an unchanged window gives an unchanged file.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
source scripts/lib.sh
ovw_setup_windows
build="$(ovw_build_root)/$OVW_WINDOWS_BUILD"
echo "screenshots: building $build"
if ! ovw_build "$OVW_WINDOWS_BUILD"; then
    echo "screenshots: the $OVW_WINDOWS_BUILD build failed (see above)"
    exit 1
fi
work="$(ovw_build_root)/screenshots"
rm -rf "$work"

# keep PICTURE TARGET: the picture without its metadata.
keep() {
    mkdir -p "$(dirname "$2")"
    convert "$1" -strip "$2"
    echo "screenshots: $2 ($(identify -format '%wx%h' "$2"))"
}

for dpi in 96 120 144; do
    folder=docs/images
    [ "$dpi" = 96 ] || folder="docs/images/dpi$dpi"
    # The report goes to the public documents of the Wine prefix; an earlier one would be asked
    # about.
    (
        export OVW_DPI="$dpi"
        source scripts/wine-env.sh
        rm -f "$WINEPREFIX/drive_c/users/Public/Documents/事業概況書.xml"
    )
    OVW_DPI="$dpi" scripts/run-scenario.sh scripts/screenshots.scn "$build/bin" "$work/$dpi"
    for name in page1 page2 page2-mapping page3 progress closing-message; do
        keep "$work/$dpi/screenshots/$name.png" "$folder/$name.png"
    done
done

scripts/run-scenario.sh scripts/sample_run.scn "$build/bin" "$work"
report="$work/sample_run/prog"
status=0
ovw_check_report "$report" 事業概況書.xml >/dev/null 2>&1 || status=$?
if [ "$status" -gt 1 ]; then
    echo "screenshots: the checker could not read $report/事業概況書.xml (exit status $status)"
    exit 1
fi
if ! ovw_browser "$work/page.log" --hide-scrollbars --window-size=820,2000 \
    --screenshot="$work/ovwcheck_page.png" "file://$report/事業概況書.html" >/dev/null; then
    tail -20 "$work/page.log"
    echo "screenshots: Chromium could not show $report/事業概況書.html"
    exit 1
fi
keep "$work/ovwcheck_page.png" docs/images/ovwcheck_page.png
