#!/usr/bin/env bash
# Remakes the pictures in docs/images/ from a real run under Wine: the host starts the Ivy
# edition on the sample company, and the robot plays scripts/screenshots.scn, taking each window
# once it has been drawn (its snap command): page 1, page 2, page 2 with the mapping dialog,
# page 3, the progress window during the run and the closing message.
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
# The report goes to the public documents of the Wine prefix; an earlier one would be asked about.
source scripts/wine-env.sh
rm -f "$WINEPREFIX/drive_c/users/Public/Documents/事業概況書.xml"
scripts/run-scenario.sh scripts/screenshots.scn "$build/bin" "$work"
mkdir -p docs/images
for name in page1 page2 page2-mapping page3 progress closing-message; do
    convert "$work/screenshots/$name.png" -strip "docs/images/$name.png"
    echo "screenshots: docs/images/$name.png ($(identify -format '%wx%h' "docs/images/$name.png"))"
done
