#!/usr/bin/env bash
# 32-bit smoke test of the shipped artifact: the i686 nbhost, which calls the plug-in and
# implements its callbacks in NeoBook's own calling convention, runs examples/demo.nbs with the
# i686 zaDode.nbp under 32-bit Wine in qemu user emulation, and its output is compared line by
# line with the win64 build's run of the same script. Lines holding times, GUIDs, temporary
# names or random picks differ between any two runs and are left out of the comparison.
# Slow (creating the 32-bit prefix takes many minutes) and fragile under emulation, so it is
# not part of CI.
set -euo pipefail
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive
if ! dpkg -s wine32:i386 >/dev/null 2>&1 || ! command -v qemu-i386 >/dev/null; then
  dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends qemu-user wine32:i386 >/dev/null
fi
[ -f build/win32/zaDode.nbp ] || bash tools/build.sh win32
[ -f build/win64/zaDode.nbp ] || bash tools/build.sh win64
script=${1:-examples/demo.nbs}
out=build/smoke-i686
mkdir -p $out
export LC_ALL=${LC_ALL:-ru_RU.UTF-8}
echo "== $script through the win64 build (reference)"
tools/wine-run build/win64/nbhost.exe --plugin build/win64/zaDode.nbp "$script" >$out/win64.txt 2>&1 || true
binfmt=/proc/sys/fs/binfmt_misc
[ -e $binfmt/register ] || mount -t binfmt_misc binfmt_misc $binfmt
# The i386 entry is removed again on exit: while it stands, every 64-bit Wine prefix that is
# created starts its 32-bit helpers under qemu, which makes creating one take minutes.
if [ ! -e $binfmt/qemu-i386 ]; then
  trap 'echo -1 >'$binfmt'/qemu-i386' EXIT
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:' >$binfmt/register
fi
export QEMU_RESERVED_VA=0xf7000000
export WINEARCH=win32 WINEPREFIX=$PWD/build/wine32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Under qemu the loader sees qemu-i386 as its own executable, so Wine cannot find its DLLs
# and programs relative to itself: name them.
export WINEDLLPATH=/usr/lib/i386-linux-gnu/wine WINELOADER=/usr/lib/wine/wine
export WINESERVER=/usr/lib/wine/wineserver32
wine=/usr/lib/wine/wine
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== creating the 32-bit prefix (slow under emulation)"
  start=$(date +%s)
  "$wine" wineboot -i || true
  "$WINESERVER" -w || true
  echo "== prefix created in $(( $(date +%s) - start )) s"
fi
start=$(date +%s)
"$wine" build/win32/nbhost.exe --plugin build/win32/zaDode.nbp "$script" >$out/i686.txt 2>&1 || true
echo "== i686 run took $(( $(date +%s) - start )) s"
varying='setlocale|[{][0-9A-F]{8}-|[0-9]{1,2}:[0-9]{2}:[0-9]{2}|^(Colour|Guid|Memory[0-9]|LoopbackMs)=|^qemu: |Temp\\'
for build in win64 i686; do grep -Ev "$varying" $out/$build.txt | tr -d '\r' >$out/$build.compared; done
compared=$(wc -l <$out/win64.compared)
if diff -u $out/win64.compared $out/i686.compared; then
  echo "== i686 and win64 agree on all $compared compared lines ($(wc -l <$out/win64.txt) printed)"
else
  echo "== i686 and win64 differ (above)"
  exit 1
fi
