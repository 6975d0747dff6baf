#!/usr/bin/env bash
# Builds the plug-in and runs the demo publication script through the headless host.
# The plug-in's texts reach the host in the ANSI code page, which also chooses the edition:
# the demo runs in the Russian locale (code page 1251, the Russian edition), then a short run
# in the US locale (1252) shows the English edition every other code page gets.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh win64 win32
echo "== examples/demo.nbs through nbhost (win64 build under wine64, LC_ALL=ru_RU.UTF-8)"
# The publication's windows give the window actions something to act on; without a display
# they open on a virtual one.
display=()
[ -n "${DISPLAY:-}" ] || display=(xvfb-run -a)
# nbhost prints UTF-8; what reaches standard error comes in code page 1251. Wine needs no
# Linux locale of that name, only bash warns when it is not generated.
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
LC_ALL=ru_RU.UTF-8 LANG=ru_RU.UTF-8 "${display[@]}" tools/wine-run build/win64/nbhost.exe \
  --plugin build/win64/zaDode.nbp --publication "zaDode demo" examples/demo.nbs 2>"$errors"
grep -v 'setlocale: LC_ALL' "$errors" | iconv -f CP1251 -t UTF-8 >&2 || true
echo
echo "== The English edition: the same plug-in in the US locale (LC_ALL=C, code page 1252)"
echo "-- the first rows of nbhost --catalogue"
LC_ALL=C LANG=C tools/wine-run build/win64/nbhost.exe --plugin build/win64/zaDode.nbp --catalogue |
  sed -n 1,5p
echo "-- examples/demo-en.nbs"
LC_ALL=C LANG=C "${display[@]}" tools/wine-run build/win64/nbhost.exe \
  --plugin build/win64/zaDode.nbp examples/demo-en.nbs 2>&1
