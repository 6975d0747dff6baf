#!/usr/bin/env bash
# Builds the shipped i686 plug-in and its help and packs dist/zaDode-<version>.zip (checked:
# exactly the five files, the ABI of the packed .nbp).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh win32
cmake --build --preset win32 --target release
