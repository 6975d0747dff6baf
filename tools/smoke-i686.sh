#!/usr/bin/env bash
# 32-bit smoke suite of the shipped artifact: the i686 nbhost, which calls the plug-in and
# implements its callbacks in NeoBook's own calling convention, runs scripts with the i686
# zaDode.nbp under 32-bit Wine in qemu user emulation, and each output is compared line by
# line with the win64 build's run of the same script. Lines holding times, GUIDs, temporary
# names, window handles or random picks differ between any two runs and are left out.
#
#   tools/smoke-i686.sh              tests/smoke/*.nbs (one per catalogue category), the demo
#                                    and the 300 MB Base64 file case (SMOKE_BIG=0 skips it)
#   tools/smoke-i686.sh SCRIPT...    only these scripts
#
# A script's first line may read ". nbhost: OPTIONS" (--publication TITLE, --cancel).
# Slow (creating the 32-bit prefix takes many minutes) and fragile under emulation, so it is
# not part of CI.
set -euo pipefail
say() { echo "$(date +%T) == $*"; }
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive
if ! dpkg -s wine32:i386 >/dev/null 2>&1 || ! command -v qemu-i386 >/dev/null; then
  dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends qemu-user wine32:i386 >/dev/null
fi
[ -f build/win32/zaDode.nbp ] || bash tools/build.sh win32
[ -f build/win64/zaDode.nbp ] || bash tools/build.sh win64
if [ $# -gt 0 ]; then
  scripts=("$@")
  big=0
else
  scripts=(tests/smoke/*.nbs examples/demo.nbs)
  big=${SMOKE_BIG:-1}
fi
out=build/smoke-i686
mkdir -p $out
export LC_ALL=${LC_ALL:-ru_RU.UTF-8}
# Made before the i386 entry stands: creating a 64-bit prefix under it takes minutes.
tools/wine-run cmd /c exit >/dev/null 2>&1 || true
win64() { tools/wine-run build/win64/nbhost.exe --plugin build/win64/zaDode.nbp "$@"; }

# Under qemu the loader sees qemu-i386 as its own executable, so Wine cannot find its DLLs
# and programs relative to itself: name them.
env32=(env QEMU_RESERVED_VA=0xf7000000 WINEARCH=win32 WINEPREFIX=$PWD/build/wine32 WINEDEBUG=-all
  WINEDLLOVERRIDES="mscoree,mshtml=" WINEDLLPATH=/usr/lib/i386-linux-gnu/wine
  WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32)
binfmt=/proc/sys/fs/binfmt_misc
registered=0 xvfb=
cleanup() {
  "${env32[@]}" /usr/lib/wine/wineserver32 -k 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  [ "$registered" = 0 ] || echo -1 >$binfmt/qemu-i386
}
trap cleanup EXIT
# One screen for the whole run: a Wine session keeps the display its first program found.
rm -f $out/xvfb-display
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >$out/xvfb-display 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s $out/xvfb-display ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 $out/xvfb-display)
[ -e $binfmt/register ] || mount -t binfmt_misc binfmt_misc $binfmt
# The i386 entry is removed again on exit: while it stands, every 64-bit Wine prefix that is
# created starts its 32-bit helpers under qemu, which makes creating one take minutes.
if [ ! -e $binfmt/qemu-i386 ]; then
  registered=1
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:' >$binfmt/register
fi
if [ ! -f build/wine32/system.reg ]; then
  say "creating the 32-bit prefix (slow under emulation)"
  start=$(date +%s)
  "${env32[@]}" /usr/lib/wine/wine wineboot -i || true
  "${env32[@]}" /usr/lib/wine/wineserver32 -w || true
  say "prefix created in $(($(date +%s) - start)) s"
fi
# The first program of a Wine session runs wineboot, minutes under emulation: one persistent
# session serves every case, and the first program's time is told apart.
"${env32[@]}" /usr/lib/wine/wineserver32 -p || true
start=$(date +%s)
"${env32[@]}" /usr/lib/wine/wine cmd /c exit >/dev/null 2>&1 || true
say "32-bit session started in $(($(date +%s) - start)) s"
i686() {
  timeout -k 10 "${SMOKE_TIMEOUT:-900}" "${env32[@]}" /usr/lib/wine/wine \
    build/win32/nbhost.exe --plugin build/win32/zaDode.nbp "$@"
}

varying='setlocale|[{][0-9A-F]{8}-|[0-9]{1,2}:[0-9]{2}:[0-9]{2}|^(Colour|Guid|Memory[0-9]|LoopbackMs|WinHandle)=|^qemu: |Temp\\|^nbhost: largest free|^X connection to|^XIO: |^ +after [0-9]+ requests|Read access denied for device'
failed=()
for script in "${scripts[@]}"; do
  name=$(basename "$script" .nbs)
  options=()
  read -ra options < <(sed -n '1s/^\. nbhost: //p' "$script" | tr -d '\r') || true
  win64 "${options[@]}" "$script" >$out/$name.win64.txt 2>&1 || true
  start=$(date +%s)
  i686 "${options[@]}" "$script" >$out/$name.i686.txt 2>&1 || true
  took=$(($(date +%s) - start))
  for build in win64 i686; do
    grep -Ev "$varying" $out/$name.$build.txt | tr -d '\r' >$out/$name.$build.compared || true
  done
  if diff -u $out/$name.win64.compared $out/$name.i686.compared >$out/$name.diff; then
    say "$name: passed in $took s ($(wc -l <$out/$name.win64.compared) lines compared)"
  else
    say "$name: FAILED in $took s, win64 (-) and i686 (+) differ:"
    cat $out/$name.diff
    failed+=("$name")
  fi
done

# A 300 MB file to Base64 inside the 32-bit process and back: the text is 400,000,000
# characters, held once by the plug-in and once by the host while it is handed over.
if [ "$big" = 1 ]; then
  name=base64-300mb
  head -c 300000000 /dev/urandom >$out/big.bin
  cat >$out/big.nbs <<'EOF'
kxBase64EncodeFile "build\smoke-i686\big.bin" "[Text]"
kxBase64DecodeFile "[Text]" "build\smoke-i686\big.out" "[Decoded]"
ClearVariables "Text"
EOF
  # Exactly 400,000,000 characters: the last one is there, and no 400,000,001st.
  cat >$out/big-length.nbs <<'EOF'
kxBase64EncodeFile "build\smoke-i686\big.bin" "[Text]"
kxMidStr "[Text]" "400000000" "2" "[Tail]"
ClearVariables "Text"
EOF
  ok=1
  for build in win64 i686; do
    rm -f $out/big.out
    start=$(date +%s)
    $build --memory $out/big.nbs >$out/$name.$build.txt 2>&1 || true
    say "$name, $build: encoded and decoded in $(($(date +%s) - start)) s:" \
      "$(grep -aE '^nbhost|^Decoded=|^LastError=|answered false' $out/$name.$build.txt | tr -d '\r' | paste -sd' ')"
    size=$(stat -c %s $out/big.out 2>/dev/null || echo 0)
    if [ "$size" = 300000000 ] && [ "$(sha256sum <$out/big.out)" = "$(sha256sum <$out/big.bin)" ]; then
      say "$name, $build: decoded file equals the original (300,000,000 bytes, same SHA-256)"
    else
      say "$name, $build: decoded file differs from the original ($size bytes)"
      ok=0
    fi
  done
  start=$(date +%s)
  i686 --memory $out/big-length.nbs >$out/$name.length.txt 2>&1 || true
  tail=$(grep -a '^Tail=' $out/$name.length.txt | tr -d '\r' || true)
  say "$name, i686 length check in $(($(date +%s) - start)) s:" \
    "$(grep -aE '^nbhost|^LastError=|answered false' $out/$name.length.txt | tr -d '\r' | paste -sd' ')"
  if [ ${#tail} = 6 ]; then
    say "$name: the text is exactly 400,000,000 characters"
  else
    say "$name: length check failed (${tail:-no Tail})"
    ok=0
  fi
  rm -f $out/big.bin $out/big.out
  [ $ok = 1 ] || failed+=("$name")
fi

if [ ${#failed[@]} -gt 0 ]; then
  say "failed: ${failed[*]}"
  exit 1
fi
say "all cases passed"
