#!/usr/bin/env bash
# The i686 build's help: made by the win64 build, which runs the help generator through the
# x86_64 nbhost under wine64 (no 32-bit Wine here runs the i686 one); the catalogue, the forms
# and the examples' results are the same for both builds. Both editions, zaDode.chm (Russian)
# and zaDode-en.chm (English), are copied into DIR. Configures build/win64 when it is not there
# yet, so a fresh clone can build the i686 package alone.
#   tools/help-from-win64.sh DIR
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
[ -f "$here/build/win64/build.ninja" ] || (cd "$here" && cmake --preset win64 >/dev/null)
cmake --build "$here/build/win64" --target zaDode_help -j "${JOBS:-2}"
for chm in zaDode.chm zaDode-en.chm; do
  cmp -s "$here/build/win64/$chm" "$1/$chm" || cp "$here/build/win64/$chm" "$1/$chm"
done
