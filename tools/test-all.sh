#!/usr/bin/env bash
# Runs every test: native unit tests, the Windows suites under wine64 (both locales, in a
# virtual display) with the fuzz driver over every action (about a minute), the demo script,
# the ABI check of the shipped i686 artifact, and each libFuzzer target for 30 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh native win64 win32
bash tools/check-abi.sh
ctest --preset native
xvfb-run -a ctest --preset win64
bash tools/fuzz.sh 30
