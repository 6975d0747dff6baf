#!/usr/bin/env bash
# Builds the plug-in and runs the demo publication script through the headless host.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh win64 win32
echo "== examples/demo.nbs through nbhost (win64 build under wine64)"
tools/wine-run build/win64/nbhost.exe --plugin build/win64/zaDode.nbp examples/demo.nbs
