#!/usr/bin/env bash
# Checks one built Windows file as delivered:
#   check_pe.sh OBJDUMP FILE FORMAT SUBSYSTEM
# FORMAT is objdump's file format (pei-i386 for the product, pei-x86-64 for the test build),
# SUBSYSTEM the PE subsystem number (2 = Windows GUI, 3 = console; "-" for a DLL). The runtime
# must be linked in: the file may import only system DLLs and StandinHost.dll.
set -euo pipefail

if [ $# -ne 4 ]; then
    echo "usage: $0 OBJDUMP FILE FORMAT SUBSYSTEM" >&2
    exit 2
fi
objdump="$1"
file="$2"
format="$3"
subsystem="$4"
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|advapi32|version|msvcrt|uxtheme|standinhost)\.dll$'

headers="$("$objdump" -p "$file")"
status=0
actual_format="$(sed -n 's/.*file format \(.*\)$/\1/p' <<<"$headers" | head -1)"
if [ "$actual_format" != "$format" ]; then
    echo "FAIL $file: file format '$actual_format', expected '$format'"
    status=1
fi
if [ "$subsystem" != - ]; then
    actual_subsystem="$(awk '$1 == "Subsystem" { print $2 + 0 }' <<<"$headers")"
    if [ "$actual_subsystem" != "$subsystem" ]; then
        echo "FAIL $file: subsystem '$actual_subsystem', expected '$subsystem'"
        status=1
    fi
fi
imports="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")"
while IFS= read -r dll; do
    [ -n "$dll" ] || continue
    if ! tr 'A-Z' 'a-z' <<<"$dll" | grep -qE "$allowed"; then
        echo "FAIL $file: imports $dll (only system DLLs and StandinHost.dll may be imported)"
        status=1
    fi
done <<<"$imports"
if [ $status -eq 0 ]; then
    echo "ok $file: $actual_format, subsystem ${actual_subsystem:--}, imports $(tr '\n' ' ' <<<"$imports")"
fi
exit $status
