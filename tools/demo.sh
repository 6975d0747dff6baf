#!/usr/bin/env bash
# Builds the plug-in and runs the demo publication script through the headless host.
# The plug-in's texts are Russian and reach the host in the ANSI code page, so the demo runs in
# the Russian locale: Wine then gives code page 1251, which holds Cyrillic (the US locale's
# 1252 turns every Cyrillic letter into "?").
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
LC_ALL=ru_RU.UTF-8 LANG=ru_RU.UTF-8 "${display[@]}" tools/wine-run build/win64/nbhost.exe \
  --plugin build/win64/zaDode.nbp --publication "zaDode demo" examples/demo.nbs \
  2> >(grep -v 'setlocale: LC_ALL' | iconv -f CP1251 -t UTF-8 >&2)
