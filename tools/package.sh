#!/usr/bin/env bash
# The release package an author installs from.
#   tools/package.sh --stage DIR           README and install scripts as Windows reads them
#   tools/package.sh NBP CHM ZIP           the zip: exactly the five files, its .nbp ABI-checked
# Sources in release/ are UTF-8 with LF; the README becomes windows-1251 (what Notepad of a
# Russian Windows opens) and the scripts code page 866 (what its console shows), all CR LF.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

stage() {
  mkdir -p "$1"
  iconv -f UTF-8 -t CP1251 "$here/release/README.txt" | sed 's/$/\r/' >"$1/README.txt"
  for script in install.cmd uninstall.cmd; do
    iconv -f UTF-8 -t CP866 "$here/release/$script" | sed 's/$/\r/' >"$1/$script"
  done
}

if [ "${1:-}" = --stage ]; then
  stage "$2"
  exit 0
fi
[ $# -eq 3 ] || { echo "usage: $0 --stage DIR | $0 NBP CHM ZIP" >&2; exit 2; }
nbp=$1 chm=$2 zip=$(realpath -m "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage "$work/files"
cp "$nbp" "$work/files/zaDode.nbp"
cp "$chm" "$work/files/zaDode.chm"
mkdir -p "$(dirname "$zip")"
rm -f "$zip"
(cd "$work/files" && zip -q -X -j "$zip.tmp" zaDode.nbp zaDode.chm README.txt install.cmd uninstall.cmd)
mv "$zip.tmp" "$zip"

# What an author unpacks: these five files and nothing else, and the plug-in the ABI check passes.
listed=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
expected="README.txt install.cmd uninstall.cmd zaDode.chm zaDode.nbp "
[ "$listed" = "$expected" ] || { echo "package: $zip holds [$listed], expected [$expected]"; exit 1; }
mkdir "$work/unpacked"
unzip -q "$zip" -d "$work/unpacked"
bash "$here/tools/check-abi.sh" "$work/unpacked/zaDode.nbp"
echo "package: $zip"
