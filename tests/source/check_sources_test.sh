#!/usr/bin/env bash
# The host rule of check_sources.sh against small trees: a singleton reached from a product file
# is a breach named by file and line; the adapter may reach them; a clean tree passes.
set -euo pipefail

check="$(dirname "$0")/check_sources.sh"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
failures=0
fail() {
    echo "FAIL: $1"
    failures=$((failures + 1))
}

mkdir -p "$tree"/{app,aggregate,report,settings,host,platform/hostlib,ui/win32}
printf 'int Run() { return 0; }\n' >"$tree/app/run.cpp"
printf 'void Open() { ClDataMgr::Inst()->GetSetMgr(); }\n' >"$tree/platform/hostlib/host_library.cpp"
if ! out="$(bash "$check" host "$tree")"; then
    fail "a tree whose only singleton call is in the adapter is refused: $out"
fi

printf '#include "x.h"\n\nvoid Close() {\n    ClFileMgr :: Inst ()->Release();\n}\n' >"$tree/ui/win32/sheet.cpp"
printf 'long Link() { return ClAccConnect::Inst()->ExpSysLink(); }\n' >"$tree/aggregate/sum.cpp"
if out="$(bash "$check" host "$tree")"; then
    fail "calls outside the adapter pass"
fi
grep -q '^ui/win32/sheet.cpp:4: ' <<<"$out" || fail "the spaced call is not named: $out"
grep -q '^aggregate/sum.cpp:1: ' <<<"$out" || fail "the aggregate call is not named: $out"
grep -q '^2 breaches of the host rule$' <<<"$out" || fail "the count is wrong: $out"
if grep -q 'hostlib' <<<"$out"; then
    fail "the adapter is named: $out"
fi

if [ "$failures" -gt 0 ]; then
    exit 1
fi
echo "the host rule finds every singleton call outside the adapter"
