#!/usr/bin/env bash
# Builds the installers: one MSI per edition (wixl, from installer/overview.wxs) and a SHA-256
# list, into build/dist/:
#   scripts/package.sh                      builds the win32 programs (the product), then packages
#   scripts/package.sh --build-dir DIR [--out DIR] [--edition NAME] [--msi-version X.Y.Z]
#                                           packages the programs of an existing Windows build
#                                           (the install test uses it on the build that runs here,
#                                           with one edition, and --msi-version for a package that
#                                           claims an older version)
# Each MSI is named after its program and the version, e.g. IvyOvw21ToRv16_G-21.00.01.msi; the
# list is SHA256SUMS beside them.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir=""
out=""
msi_version=""
editions=(Ivy Oak Elm)
while [ $# -gt 0 ]; do
    case "$1" in
    --build-dir) build_dir="$2" ;;
    --out) out="$2" ;;
    --msi-version) msi_version="$2" ;;
    --edition) editions=("$2") ;;
    *)
        echo "usage: $0 [--build-dir DIR] [--out DIR] [--edition NAME] [--msi-version X.Y.Z]" >&2
        exit 2
        ;;
    esac
    shift 2
done

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
out="${out:-$repo/${OVW_BUILD_ROOT:-build}/dist}"
if [ -n "$msi_version" ] && ! [[ "$msi_version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    echo "package: --msi-version must be X.Y.Z, not '$msi_version'" >&2
    exit 2
fi

mkdir -p "$out"
out="$(cd "$out" && pwd)"
rm -f "$out"/*.msi "$out/SHA256SUMS"
for edition in "${editions[@]}"; do
    generated="$build_dir/generated/$edition"
    if [ ! -f "$generated/package.vars" ]; then
        echo "package: $generated/package.vars is missing: configure and build $build_dir first" >&2
        exit 1
    fi
    # Program, Arch, VersionText, MsiVersion
    declare -A vars=()
    while IFS='=' read -r name value; do
        vars[$name]="$value"
    done <"$generated/package.vars"
    version="${msi_version:-${vars[MsiVersion]}}"
    msi="$out/${vars[Program]}-${msi_version:-${vars[VersionText]}}.msi"
    echo "package: $(basename "$msi") (MSI version $version, ${vars[Arch]})"
    # wixl finds the sources relative to the folder it runs in. It may report success without
    # writing anything: the file and its warnings tell.
    log="$out/wixl.log"
    if ! (cd "$build_dir/bin" &&
        wixl --arch "${vars[Arch]}" -I "$generated" -D SourceDir=. -D Version="$version" \
            -o "$msi" "$repo/installer/overview.wxs") >"$log" 2>&1 ||
        [ ! -s "$msi" ] || grep -q CRITICAL "$log"; then
        head -20 "$log" >&2
        echo "package: wixl failed for $(basename "$msi")" >&2
        exit 1
    fi
    rm -f "$log"
    unset vars
done
(cd "$out" && sha256sum -- *.msi >SHA256SUMS)
echo "package: $out"
cat "$out/SHA256SUMS"
