#!/usr/bin/env bash
# Checks the shipped i686 artifact: PE32, exactly the eight entry points by their undecorated
# names, the host's calling convention at every export's return (NeoBook's register
# convention: the callee pops its stack arguments, so nbInitPlugIn and nbRegisterPlugIn end in
# "ret 4" and the other six, whose arguments all travel in registers, in a plain "ret"), and
# no import but Windows system DLLs (no mingw runtime DLL).
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
# Every return of an export, from its first instruction to the first return that padding or
# the next export follows (the exports are small; an early return is checked too).
base=$(awk '/^ImageBase/{print $2}' <<<"$dump")
mapfile -t rvas < <(awk '/Export RVA/{print $(NF-2)}' <<<"$dump")
mapfile -t names < <(awk '/\[Ordinal\/Name Pointer\] Table/{on=1;next} on&&/^[ \t]*\[/{print $NF} on&&/^$/{on=0}' <<<"$dump")
starts=" "
for rva in "${rvas[@]}"; do starts+="$(printf '%x' $((0x$base + 0x$rva))) "; done
for i in "${!names[@]}"; do
  name=${names[$i]}
  start=$((0x$base + 0x${rvas[$i]}))
  code=$(i686-w64-mingw32-objdump -d --start-address=$start --stop-address=$((start + 0x600)) "$nbp")
  rets=$(awk -v starts="$starts" -v first="$(printf '%x' $start)" '
      /^ *[0-9a-f]+:\t/ {
        addr = $1; sub(":", "", addr)
        if (addr != first && index(starts, " " addr " ")) exit
        line = $0; sub(/^[^\t]*\t[^\t]*\t/, "", line)
        if (pending && line ~ /^(nop|xchg +%ax,%ax|lea +(0x0)?\(%e[a-z]i|int3|lea +%es|data16|cs nop)/) exit
        pending = 0
        if (line ~ /^ret/) { gsub(/ +/, " ", line); print line; pending = 1 }
      }' <<<"$code" | sort -u | tr '\n' ';')
  case $name in nbInitPlugIn | nbRegisterPlugIn) want='ret $0x4;' ;; *) want='ret;' ;; esac
  [ "$rets" = "$want" ] || { echo "ABI: $name returns with [${rets%;}], expected [${want%;}]"; fail=1; }
done
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|comctl32|msvcrt|shlwapi|version|wsock32|ws2_32|iphlpapi|powrprof|winmm|uxtheme)\.dll$'
while read -r dll; do
  lower=$(tr 'A-Z' 'a-z' <<<"$dll")
  if ! grep -Eq "$allowed" <<<"$lower"; then echo "ABI: imports $dll, not a system DLL"; fail=1; fi
done < <(awk '/DLL Name:/{print $3}' <<<"$dump")
size=$(stat -c %s "$nbp")
echo "ABI: $nbp: PE32, exports: $exports; imports: $(awk '/DLL Name:/{printf "%s ", $3}' <<<"$dump"); size $size bytes"
# A guard against whole libraries slipping in (the demangler was 46 KB), not a budget: the
# actions with all their dialogs came to about 420 KB.
[ "$size" -lt 655360 ] || { echo "ABI: $nbp is $size bytes, over 640 KB"; fail=1; }
exit $fail
