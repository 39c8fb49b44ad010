#!/usr/bin/env bash
# Builds the installers: one MSI per edition and a SHA-256 list, into build/dist/:
#   scripts/package.sh                      builds the win32 programs (the product), then packages
#   scripts/package.sh --build-dir DIR [--out DIR] [--edition NAME] [--version NN.NN.NN]
#                                           packages the programs of an existing Windows build
#                                           (the install test uses it on the build that runs here,
#                                           with one edition, and --version for a package that
#                                           claims another version)
# Each package is made in two steps: wixl builds it from installer/overview.wxs, then msitools'
# msibuild adds what wixl cannot write (installer/overview.sql: Japanese texts, the searches for
# the filing application's folder, the same-version upgrade, ...), in a database of code page
# 932. Each MSI is named after its program and the version, e.g. IvyOvw21ToRv16_G-21.00.01.msi;
# the list is SHA256SUMS beside them.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir=""
out=""
version=""
editions=(Ivy Oak Elm)
while [ $# -gt 0 ]; do
    case "$1" in
    --build-dir) build_dir="$2" ;;
    --out) out="$2" ;;
    --version) version="$2" ;;
    --edition) editions=("$2") ;;
    *)
        echo "usage: $0 [--build-dir DIR] [--out DIR] [--edition NAME] [--version NN.NN.NN]" >&2
        exit 2
        ;;
    esac
    shift 2
done
if [ -n "$version" ] && ! [[ "$version" =~ ^[0-9]{2}\.[0-9]{2}\.[0-9]{2}$ ]]; then
    echo "package: --version must be NN.NN.NN, as in the file VERSION, not '$version'" >&2
    exit 2
fi

source "$repo/scripts/lib.sh"
if [ -z "$build_dir" ]; then
    "$repo/scripts/setup.sh"
    build_dir="$(ovw_build_root)/win32"
    echo "package: building the win32 programs in $build_dir"
    if ! ovw_build win32; then
        echo "package: the win32 build failed (see above)" >&2
        exit 1
    fi
fi
build_dir="$(cd "$build_dir" && pwd)"
out="${out:-$(ovw_build_root)/dist}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
rm -f "$out"/*.msi "$out/SHA256SUMS"
log="$out/package.log"

# The statements of installer/overview.sql, one a line, for the package MSI of the product
# named PRODUCT.
statements() {
    sed '/^#/d; /^ *$/d' "$repo/installer/overview.sql" | awk '
        { statement = statement (statement == "" ? "" : " ") $0; sub(/^ +/, "", statement) }
        /;$/ { sub(/;$/, "", statement); print statement; statement = "" }
        END { if (statement != "") { print "unterminated: " statement; exit 1 } }' |
        sed "s|@PRODUCT@|$2|g; s|@UPGRADECODE@|$(ovw_msi_property "$1" UpgradeCode)|g
             s|@VERSION@|$(ovw_msi_property "$1" ProductVersion)|g"
}

for edition in "${editions[@]}"; do
    generated="$build_dir/generated/$edition"
    if [ ! -f "$generated/package.vars" ]; then
        echo "package: $generated/package.vars is missing: configure and build $build_dir first" >&2
        exit 1
    fi
    # Program, Arch, Version, Product
    declare -A vars=()
    while IFS='=' read -r name value; do
        vars[$name]="$value"
    done <"$generated/package.vars"
    msi_version="${version:-${vars[Version]}}"
    msi="$out/${vars[Program]}-$msi_version.msi"
    echo "package: $(basename "$msi") (version $msi_version, ${vars[Arch]})"
    # wixl finds the sources relative to the folder it runs in. It may report success without
    # writing anything: the file and its warnings tell.
    if ! (cd "$build_dir/bin" &&
        wixl --arch "${vars[Arch]}" -I "$generated" -D SourceDir=. -D Version="$msi_version" \
            -o "$msi" "$repo/installer/overview.wxs") >"$log" 2>&1 ||
        [ ! -s "$msi" ] || grep -q CRITICAL "$log"; then
        head -20 "$log" >&2
        echo "package: wixl failed for $(basename "$msi")" >&2
        exit 1
    fi
    printf '\r\n\r\n932\t_ForceCodepage\r\n' >"$out/codepage.idt"
    if ! msibuild "$msi" -i "$out/codepage.idt" >"$log" 2>&1; then
        cat "$log" >&2
        echo "package: msibuild could not set the code page of $(basename "$msi")" >&2
        exit 1
    fi
    rm -f "$out/codepage.idt"
    while IFS= read -r statement; do
        if [[ "$statement" == unterminated:* ]] || ! msibuild "$msi" -q "$statement" >"$log" 2>&1; then
            grep -v '^ *$' "$log" >&2 || true
            echo "package: installer/overview.sql: $statement" >&2
            echo "package: msibuild failed for $(basename "$msi")" >&2
            exit 1
        fi
    done < <(statements "$msi" "${vars[Product]}")
    rm -f "$log"
    unset vars
done
(cd "$out" && sha256sum -- *.msi >SHA256SUMS)
echo "package: $out"
cat "$out/SHA256SUMS"
