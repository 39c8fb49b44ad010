#!/usr/bin/env bash
# The installer of one edition, silently under Wine, as an administrator would use it:
#   install_test.sh EDITION BUILD_DIR WORK
# 1. packages the edition twice (scripts/package.sh): as built, and claiming the older version
#    1.0.0;
# 2. prepares the filing application's folder WORK/Quorin申告 with its QuorinDef.ini;
# 3. msiexec /i (older package) /qn INSTALLDIR=that folder: the program and its four data files
#    arrive, QuorinDef.ini is untouched;
# 4. the host starts the installed program (robot, tests/install/installed_run.scn), which
#    writes the report 事業概況書.xml into the folder; the stand-in host's DLL, configuration,
#    book and settings stay in WORK/host, outside the folder;
# 5. msiexec /i (current package) /qn: a major upgrade; one product of the edition is installed,
#    of the new version, and the report stays; the older package then refuses to replace it;
# 6. msiexec /x /qn: the folder holds QuorinDef.ini, unchanged, and the report, and nothing else.
# Outside a Wine session it starts one of its own.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 EDITION BUILD_DIR WORK" >&2
    exit 2
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/lib.sh"
ovw_in_wine_session "$0" "$@"
repo="$OVW_REPO"
edition="$1"
build="$(cd "$2" && pwd)"
work="$(mkdir -p "$3" && cd "$3" && pwd)"
program="${edition}Ovw21ToRv16_G.exe"
installed=("$program" "${edition}Ovw21ToRv16_G_GaiKmk.dat" "${edition}Ovw21ToRv16_G_DefKmk.dat"
    "${edition}Ovw21ToRv30_G_GaiKmk.dat" "${edition}Ovw21ToRv30_G_DefKmk.dat")

failures=0
check() {
    local what="$1"
    shift
    if "$@"; then
        echo "ok   $what"
    else
        echo "FAIL $what"
        failures=$((failures + 1))
    fi
}
listing() { (cd "$folder" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' '); }
# DisplayName and DisplayVersion of the installed products named NAME, one "name|version" a line.
products() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        tr -d '\r' | awk -v name="$1" '
            /^HKEY_/ { if (found) print found "|" version; found = ""; version = "" }
            $1 == "DisplayName" { sub(/^ *DisplayName +REG_SZ +/, ""); if ($0 == name) found = $0 }
            $1 == "DisplayVersion" { sub(/^ *DisplayVersion +REG_SZ +/, ""); version = $0 }
            END { if (found) print found "|" version }'
}
msiexec() {
    local log="$work/msiexec-$1.log"
    shift
    wine msiexec "$@" /qn /l*v "$(winpath "$log.cp932")" </dev/null >/dev/null 2>&1
    local status=$?
    # Wine writes the log in the ANSI code page.
    iconv -c -f CP932 -t UTF-8 "$log.cp932" >"$log" 2>/dev/null || true
    rm -f "$log.cp932"
    return $status
}

refused() { ! msiexec "$@"; }

old_version=1.0.0
rm -rf "$work"
mkdir -p "$work/dist-old" "$work/dist" "$work/host"
echo "== packages"
"$repo/scripts/package.sh" --build-dir "$build" --edition "$edition" --out "$work/dist-old" \
    --msi-version "$old_version" >/dev/null
"$repo/scripts/package.sh" --build-dir "$build" --edition "$edition" --out "$work/dist" >/dev/null
old_msi="$(ls "$work"/dist-old/*.msi)"
new_msi="$(ls "$work"/dist/*.msi)"
new_version="$(sed -n 's/^MsiVersion=//p' "$build/generated/$edition/package.vars")"
product_name="$(sed -n 's/.*define ProductName = "\(.*\)".*/\1/p' "$build/generated/$edition/edition.wxi") Overview Link"
echo "$(basename "$old_msi") as $old_version, $(basename "$new_msi") as $new_version: \"$product_name\""

folder="$work/Quorin申告"
mkdir -p "$folder"
cp "$build/bin/QuorinDef.ini" "$folder/QuorinDef.ini"
cp "$folder/QuorinDef.ini" "$work/QuorinDef.ini.original"
# The host's side, outside the folder: its DLL on the search path, its configuration named by
# STANDIN_HOST_CONFIG, its book and the settings folder beside that.
cp "$build/bin/StandinHost.dll" "$build/bin/trading.json" "$work/host/"
printf '{"book": "trading.json", "outputFolder": ".", "settingsFolder": "."}\n' >"$work/host/StandinHost.json"
export WINEPATH="$(winpath "$work/host")"
export STANDIN_HOST_CONFIG="$(winpath "$work/host/StandinHost.json")"
install_dir="$(winpath "$folder")\\"

echo "== install $old_version into $install_dir"
check "msiexec /i older package /qn" msiexec install-old /i "$(winpath "$old_msi")" "INSTALLDIR=$install_dir"
for file in "${installed[@]}"; do
    check "installed $file" cmp -s "$build/bin/$file" "$folder/$file"
done
check "QuorinDef.ini untouched" cmp -s "$work/QuorinDef.ini.original" "$folder/QuorinDef.ini"
check "one product installed, version $old_version" \
    test "$(products "$product_name")" = "$product_name|$old_version"
check "the installer keeps the folder in the registry" \
    bash -c "wine reg query 'HKLM\\Software\\Orvano\\${program%.exe}' /v InstallDir >/dev/null 2>&1"

echo "== the host starts the installed program"
scenario="$work/installed_run.scn"
sed "s/IvyOvw21ToRv16_G\.exe/$program/" "$here/installed_run.scn" >"$scenario"
status=0
ovw_robot "$build/bin" "$scenario" "$folder" "$work" || status=$?
tr -d '\r' <"$work/robot.log"
check "installed program wrote the report (robot, transcript $work/transcript.txt)" test $status -eq 0
cp "$folder/事業概況書.xml" "$work/report.xml" 2>/dev/null || true

echo "== major upgrade to $new_version"
check "msiexec /i current package /qn" msiexec upgrade /i "$(winpath "$new_msi")" "INSTALLDIR=$install_dir"
check "one product installed, version $new_version" test "$(products "$product_name")" = "$product_name|$new_version"
for file in "${installed[@]}"; do
    check "upgraded $file" cmp -s "$build/bin/$file" "$folder/$file"
done
check "QuorinDef.ini untouched" cmp -s "$work/QuorinDef.ini.original" "$folder/QuorinDef.ini"
check "the report stays" cmp -s "$work/report.xml" "$folder/事業概況書.xml"
check "the older package refuses to replace the newer version" \
    refused downgrade /i "$(winpath "$old_msi")" "INSTALLDIR=$install_dir"
check "still one product installed, version $new_version" \
    test "$(products "$product_name")" = "$product_name|$new_version"

echo "== uninstall"
check "msiexec /x /qn" msiexec uninstall /x "$(winpath "$new_msi")"
check "no product installed" test -z "$(products "$product_name")"
check "the installer's registry key is gone" \
    bash -c "! wine reg query 'HKLM\\Software\\Orvano\\${program%.exe}' >/dev/null 2>&1"
check "the folder holds QuorinDef.ini and the report only (holds: $(listing))" \
    test "$(listing)" = "QuorinDef.ini 事業概況書.xml "
check "QuorinDef.ini untouched" cmp -s "$work/QuorinDef.ini.original" "$folder/QuorinDef.ini"
check "the report stays" cmp -s "$work/report.xml" "$folder/事業概況書.xml"

echo "$failures failed (msiexec logs: $work/msiexec-*.log)"
[ "$failures" -eq 0 ]
