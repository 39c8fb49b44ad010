#!/usr/bin/env bash
# The installer of one edition under Wine, as an administrator would use it:
#   install_test.sh EDITION BUILD_DIR WORK
#  1. packages the edition three times (scripts/package.sh): claiming the older version 01.00.00,
#     as built, and rebuilt with the same version; reads the package back with msitools' msiinfo
#     (what it holds: the version as written, the Japanese names and refusals, the searches, the
#     same-version upgrade, the checker, the guide and their shortcuts);
#  2. refusals that leave nothing: an INSTALLDIR without QuorinDef.ini, and no INSTALLDIR with no
#     folder to be found; each message as the installer shows it (msiexec /qb, read by the robot);
#  3. msiexec /i (older package) /qn INSTALLDIR=the filing application's folder WORK/Quorin申告:
#     the program, its four data files, ovwcheck.exe and 使い方.html arrive, QuorinDef.ini is
#     untouched; the list of installed programs has the folder, no Modify, the version as written;
#  4. the host starts the installed program (robot, tests/install/installed_run.scn), which writes
#     the report 事業概況書.xml into the folder; the stand-in host's DLL, configuration, book and
#     settings stay in WORK/host, outside the folder;
#  5. msiexec /i (current package) /qn without INSTALLDIR: a major upgrade into the remembered
#     folder; one product of the edition, of the new version; the report stays; the older package
#     then refuses to replace it;
#  6. the rebuild, with INSTALLDIR=another filing folder WORK/移転先: the command line wins over
#     the remembered folder, and the same version is replaced (one product), not installed beside;
#  7. that folder removed, the current package without INSTALLDIR is refused: a remembered folder
#     that no longer exists is not used;
#  8. msiexec /x /qn: the first folder holds QuorinDef.ini, unchanged, and the report, and nothing
#     else; the Start menu entries and the installer's registry key are gone;
#  9. the filing application's usual folder ([ProgramFilesFolder]Quorin申告 of the prefix) with its
#     QuorinDef.ini: the package without INSTALLDIR installs there, with its Start menu entries,
#     and is removed again.
# Outside a Wine session it starts one of its own.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/lib.sh"
ovw_arguments 3 3 "EDITION BUILD_DIR WORK" "$@"
ovw_in_wine_session "$0" "$@"
repo="$OVW_REPO"
edition="$1"
build="$(cd "$2" && pwd)"
work="$(mkdir -p "$3" && cd "$3" && pwd)"
program="${edition}Ovw21ToRv16_G.exe"
installed=("$program" "${edition}Ovw21ToRv16_G_GaiKmk.dat" "${edition}Ovw21ToRv16_G_DefKmk.dat"
    "${edition}Ovw21ToRv30_G_GaiKmk.dat" "${edition}Ovw21ToRv30_G_DefKmk.dat" ovwcheck.exe
    使い方.html)
registry_key="HKLM\\Software\\Orvano\\${program%.exe}"

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
# The files and folders below FOLDER, one line.
listing() { (cd "$1" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' '); }
# The installed products named NAME, one "name|version|location|no-modify" a line.
products() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        iconv -c -f CP932 -t UTF-8 | tr -d '\r' | awk -v name="$1" '
            function flush() { if (found) print found "|" version "|" location "|" nomodify }
            /^HKEY_/ { flush(); found = ""; version = ""; location = ""; nomodify = "" }
            $1 == "DisplayName" { sub(/^ *DisplayName +REG_SZ +/, ""); if ($0 == name) found = $0 }
            $1 == "DisplayVersion" { sub(/^ *DisplayVersion +REG_SZ +/, ""); version = $0 }
            $1 == "InstallLocation" { sub(/^ *InstallLocation +REG_SZ +/, ""); location = $0 }
            $1 == "NoModify" { nomodify = $3 }
            END { flush() }'
}
remembered() { wine reg query "$registry_key" /v InstallDir >/dev/null 2>&1; }
forgotten() { ! wine reg query "$registry_key" >/dev/null 2>&1; }
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
# A table of a package, as msiinfo reads it.
table() { msiinfo export "$1" "$2" | tr -d '\r'; }
# has TEXT LINES: one of the lines holds TEXT.
has() { grep -qF -- "$1" <<<"$2"; }
# A filing application's folder with its definition file.
filing_folder() {
    mkdir -p "$1"
    cp "$build/bin/QuorinDef.ini" "$1/QuorinDef.ini"
}
# The installer's message, shown as a message box by msiexec /qb and read by the robot:
#   shown_message NAME MESSAGE MSIEXEC-ARGUMENTS
shown_message() {
    local scenario="$work/$1.scn"
    {
        printf 'start "C:\\\\windows\\\\system32\\\\msiexec.exe" "%s"\n' "${3//\\/\\\\}"
        printf 'expect-message "%s" timeout=60\n' "${2//\\/\\\\}"
        printf 'press 1\nexpect-exit code=1603\n'
    } >"$scenario"
    mkdir -p "$work/$1"
    ovw_robot "$build/bin" "$scenario" "$work" "$work/$1" || { cat "$work/$1/robot.log"; return 1; }
}

rm -rf "$work"
mkdir -p "$work/dist-old" "$work/dist" "$work/dist-rebuilt" "$work/host" "$work/empty"
version="$(sed -n 's/^Version=//p' "$build/generated/$edition/package.vars")"
old_version=01.00.00
echo "== packages"
package() { "$repo/scripts/package.sh" --build-dir "$build" --edition "$edition" --out "$@" >/dev/null; }
package "$work/dist-old" --version "$old_version"
package "$work/dist"
package "$work/dist-rebuilt"
old_msi="$(ls "$work"/dist-old/*.msi)"
new_msi="$(ls "$work"/dist/*.msi)"
rebuilt_msi="$(ls "$work"/dist-rebuilt/*.msi)"
product_name="$(ovw_msi_property "$new_msi" ProductName)"
echo "$(basename "$old_msi"), $(basename "$new_msi") and its rebuild: \"$product_name\""

check "the package is named and versioned as the file VERSION: $version" \
    test "$(basename "$new_msi")" = "${program%.exe}-$version.msi" -a \
    "$(ovw_msi_property "$new_msi" ProductVersion)" = "$version"
check "the product name is the edition's, in Japanese" \
    test "$product_name" = "$(sed -n 's/^Product=//p' "$build/generated/$edition/package.vars") 事業概況書 連動"
check "no Modify in the list of installed programs (ARPNOMODIFY)" test "$(ovw_msi_property "$new_msi" ARPNOMODIFY)" = 1
conditions="$(table "$new_msi" LaunchCondition)"
check "the refusals are Japanese: the given folder without QuorinDef.ini" \
    has "Installed OR NOT INSTALLDIR OR GIVENDEFINITION	指定されたフォルダ [INSTALLDIR] には、申告ソフトの定義ファイル QuorinDef.ini がありません。" "$conditions"
check "the refusals are Japanese: no folder found" \
    has "Installed OR INSTALLDIR OR REMEMBEREDDEFINITION OR DEFAULTDEFINITION	申告ソフトのフォルダ (QuorinDef.ini があるフォルダ) が見つかりません。" "$conditions"
check "the refusals are Japanese: a newer version installed" \
    has "NOT WIX_DOWNGRADE_DETECTED	この製品の新しい版がインストールされています。" "$conditions"
searches="$(table "$new_msi" DrLocator)"
check "QuorinDef.ini is looked for in INSTALLDIR" has "GivenDefinition		[INSTALLDIR]	0" "$searches"
check "  ... in the remembered folder" has "RememberedDefinition	RememberedFolder		0" "$searches"
check "  ... in the usual folder [ProgramFilesFolder]Quorin申告" \
    has "DefaultFolder		[ProgramFilesFolder]Quorin申告	0" "$searches"
# A directory search (type 0), in the registry's 64-bit view (16) for the x64 package.
locator_type=0
[ "$(sed -n 's/^Arch=//p' "$build/generated/$edition/package.vars")" = x64 ] && locator_type=16
check "the remembered folder counts only while it exists (a directory search)" \
    has "RememberedFolder	2	Software\\Orvano\\${program%.exe}	InstallDir	$locator_type" \
    "$(table "$new_msi" RegLocator)"
check "the search for older versions includes this version (a rebuild replaces it)" \
    has "$(ovw_msi_property "$new_msi" UpgradeCode)		$version		513" "$(table "$new_msi" Upgrade)"
files="$(table "$new_msi" File)"
check "the package holds the checker" has "	ovwcheck.exe	" "$files"
check "the package holds the guide" has "	GUIDE.HTM|使い方.html	" "$files"
shortcuts="$(table "$new_msi" Shortcut)"
check "a Start menu entry for the checker" has "OVWCHECK|報告書の確認	Checker	[#Checker]" "$shortcuts"
check "a Start menu entry for the guide" has "GUIDE|使い方	Guide	[#Guide]" "$shortcuts"
check "the rebuild is another product of the same version" \
    test "$(ovw_msi_property "$rebuilt_msi" ProductCode)" != "$(ovw_msi_property "$new_msi" ProductCode)" -a \
    "$(ovw_msi_property "$rebuilt_msi" ProductVersion)" = "$version"

folder="$work/Quorin申告"
filing_folder "$folder"
cp "$folder/QuorinDef.ini" "$work/QuorinDef.ini.original"
moved="$work/移転先"
filing_folder "$moved"
# The host's side, outside the folder: its DLL on the search path, its configuration named by
# STANDIN_HOST_CONFIG, its book and the settings folder beside that.
cp "$build/bin/StandinHost.dll" "$build/bin/trading.json" "$work/host/"
printf '{"book": "trading.json", "outputFolder": ".", "settingsFolder": "."}\n' >"$work/host/StandinHost.json"
export WINEPATH="$(winpath "$work/host")"
export STANDIN_HOST_CONFIG="$(winpath "$work/host/StandinHost.json")"
install_dir="$(winpath "$folder")\\"
# The usual folder of the filing application in the prefix: left by no earlier run.
if [ "$WINEARCH" = win64 ]; then
    usual="$WINEPREFIX/drive_c/Program Files (x86)/Quorin申告"
else
    usual="$WINEPREFIX/drive_c/Program Files/Quorin申告"
fi
rm -rf "$usual"
# The Start menu folder of the entries: Wine makes them in the user's Start menu.
menu_entries() { find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/事業概況書 連動/*' -name '*.lnk' | sed 's|.*/||' | LC_ALL=C sort | tr '\n' ' '; }

echo "== refusals"
empty_dir="$(winpath "$work/empty")\\"
check "INSTALLDIR without QuorinDef.ini is refused" refused given-empty /i "$(winpath "$new_msi")" "INSTALLDIR=$empty_dir"
check "  ... and leaves nothing (no product, no key, the folder empty)" \
    test -z "$(products "$product_name")" -a -z "$(listing "$work/empty")"
check "  ... and nothing remembered" forgotten
check "  ... with its message as shown (msiexec /qb)" \
    shown_message given-empty-shown "指定されたフォルダ $empty_dir には、申告ソフトの定義ファイル QuorinDef.ini がありません。INSTALLDIR には、申告ソフトのフォルダ (QuorinDef.ini があるフォルダ) を指定してください。" \
    "/i $(winpath "$new_msi") /qb INSTALLDIR=$empty_dir"
check "no INSTALLDIR and no folder to be found is refused" refused none /i "$(winpath "$new_msi")"
check "  ... and leaves nothing" test -z "$(products "$product_name")"
check "  ... with its message as shown (msiexec /qb)" \
    shown_message none-shown "申告ソフトのフォルダ (QuorinDef.ini があるフォルダ) が見つかりません。INSTALLDIR に申告ソフトのフォルダを指定して、もう一度インストールしてください。" \
    "/i $(winpath "$new_msi") /qb"

echo "== install $old_version into $install_dir"
check "msiexec /i older package /qn INSTALLDIR=..." msiexec install-old /i "$(winpath "$old_msi")" "INSTALLDIR=$install_dir"
for file in "${installed[@]}"; do
    check "installed $file" cmp -s "$build/bin/$file" "$folder/$file"
done
check "QuorinDef.ini untouched" cmp -s "$work/QuorinDef.ini.original" "$folder/QuorinDef.ini"
check "one product installed: version $old_version, the folder, no Modify" \
    test "$(products "$product_name")" = "$product_name|$old_version|$install_dir|0x1"
check "the installer remembers the folder" remembered

echo "== the host starts the installed program"
scenario="$work/installed_run.scn"
sed "s/IvyOvw21ToRv16_G\.exe/$program/" "$here/installed_run.scn" >"$scenario"
status=0
ovw_robot "$build/bin" "$scenario" "$folder" "$work" || status=$?
tr -d '\r' <"$work/robot.log"
check "installed program wrote the report (robot, transcript $work/transcript.txt)" test $status -eq 0
cp "$folder/事業概況書.xml" "$work/report.xml" 2>/dev/null || true

echo "== major upgrade to $version, no INSTALLDIR: the remembered folder"
check "msiexec /i current package /qn" msiexec upgrade /i "$(winpath "$new_msi")"
check "one product installed: version $version, the same folder" \
    test "$(products "$product_name")" = "$product_name|$version|$install_dir|0x1"
for file in "${installed[@]}"; do
    check "upgraded $file" cmp -s "$build/bin/$file" "$folder/$file"
done
check "QuorinDef.ini untouched" cmp -s "$work/QuorinDef.ini.original" "$folder/QuorinDef.ini"
check "the report stays" cmp -s "$work/report.xml" "$folder/事業概況書.xml"
check "the older package refuses to replace the newer version" \
    refused downgrade /i "$(winpath "$old_msi")" "INSTALLDIR=$install_dir"
check "still one product installed, version $version" \
    test "$(products "$product_name")" = "$product_name|$version|$install_dir|0x1"

echo "== the rebuild of $version into another folder given on the command line"
moved_dir="$(winpath "$moved")\\"
check "msiexec /i rebuilt package /qn INSTALLDIR=$moved_dir" \
    msiexec rebuilt /i "$(winpath "$rebuilt_msi")" "INSTALLDIR=$moved_dir"
check "one product installed: version $version, the new folder" \
    test "$(products "$product_name")" = "$product_name|$version|$moved_dir|0x1"
for file in "${installed[@]}"; do
    check "installed $file in the new folder" cmp -s "$build/bin/$file" "$moved/$file"
done
check "the first folder holds QuorinDef.ini and the report only (holds: $(listing "$folder"))" \
    test "$(listing "$folder")" = "QuorinDef.ini 事業概況書.xml "

echo "== the remembered folder gone"
rm -rf "$moved"
check "no INSTALLDIR and the remembered folder gone: refused" refused gone /i "$(winpath "$new_msi")"
check "  ... nothing made where the folder was" test ! -e "$moved"
check "  ... the rebuild still installed" \
    test "$(products "$product_name")" = "$product_name|$version|$moved_dir|0x1"

echo "== uninstall"
check "msiexec /x /qn" msiexec uninstall /x "$(winpath "$rebuilt_msi")"
check "no product installed" test -z "$(products "$product_name")"
check "the installer's registry key is gone" forgotten
check "the folder holds QuorinDef.ini and the report only (holds: $(listing "$folder"))" \
    test "$(listing "$folder")" = "QuorinDef.ini 事業概況書.xml "
check "QuorinDef.ini untouched" cmp -s "$work/QuorinDef.ini.original" "$folder/QuorinDef.ini"
check "the report stays" cmp -s "$work/report.xml" "$folder/事業概況書.xml"
check "the Start menu entries are gone" test -z "$(menu_entries)"

echo "== the filing application's usual folder, no INSTALLDIR"
filing_folder "$usual"
usual_dir="$(winpath "$usual")"
usual_dir="C:${usual_dir#Z:*drive_c}\\"
check "msiexec /i current package /qn" msiexec usual /i "$(winpath "$new_msi")"
check "one product installed, in the usual folder $usual_dir" \
    test "$(products "$product_name")" = "$product_name|$version|$usual_dir|0x1"
check "installed $program and ovwcheck.exe there" \
    test -f "$usual/$program" -a -f "$usual/ovwcheck.exe"
check "Start menu entries 報告書の確認 and 使い方 (holds: $(menu_entries))" \
    test "$(menu_entries)" = "使い方.lnk 報告書の確認.lnk "
check "msiexec /x /qn" msiexec usual-uninstall /x "$(winpath "$new_msi")"
check "the usual folder holds QuorinDef.ini only (holds: $(listing "$usual"))" \
    test "$(listing "$usual")" = "QuorinDef.ini "
rm -rf "$usual"

echo "$failures failed (msiexec logs: $work/msiexec-*.log)"
[ "$failures" -eq 0 ]
