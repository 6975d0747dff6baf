#!/usr/bin/env bash
# Builds the shipped i686 plug-in and packs dist/zaDode-<version>.zip (checked: exactly the six
# files, the ABI of the packed .nbp). The two helps in it are the ones the win64 build makes,
# which the i686 build fetches (tools/help-from-win64.sh), so this works from a fresh clone.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh win32
cmake --build --preset win32 --target release
