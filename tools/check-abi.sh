#!/usr/bin/env bash
# Checks the shipped i686 artifact: PE32, exactly the eight entry points by their undecorated
# names, and no import but Windows system DLLs (no mingw runtime DLL).
set -euo pipefail
cd "$(dirname "$0")/.."
nbp=${1:-build/win32/zaDode.nbp}
dump=$(i686-w64-mingw32-objdump -p "$nbp")
fail=0
grep -q 'file format pei-i386' <<<"$dump" || { echo "ABI: $nbp is not PE32 (i386)"; fail=1; }
grep -q '^Magic.*010b' <<<"$dump" || { echo "ABI: optional header is not PE32"; fail=1; }
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1;next} on&&/^[ \t]*\[/{print $NF} on&&/^$/{on=0}' <<<"$dump" | sort | tr '\n' ' ')
expected="nbAbout nbEditAction nbExecAction nbInitPlugIn nbMessage nbRegisterInterfaceAccess nbRegisterPlugIn nbRegisterScriptProcessor "
[ "$exports" = "$expected" ] || { echo "ABI: exports are [$exports], expected [$expected]"; fail=1; }
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|comctl32|msvcrt|shlwapi|version|wsock32|ws2_32|iphlpapi|powrprof|winmm|uxtheme)\.dll$'
while read -r dll; do
  lower=$(tr 'A-Z' 'a-z' <<<"$dll")
  if ! grep -Eq "$allowed" <<<"$lower"; then echo "ABI: imports $dll, not a system DLL"; fail=1; fi
done < <(awk '/DLL Name:/{print $3}' <<<"$dump")
size=$(stat -c %s "$nbp")
echo "ABI: $nbp: PE32, exports: $exports; imports: $(awk '/DLL Name:/{printf "%s ", $3}' <<<"$dump"); size $size bytes"
[ "$size" -lt 409600 ] || { echo "ABI: $nbp is $size bytes, over 400 KB"; fail=1; }
exit $fail
