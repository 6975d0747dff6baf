#!/usr/bin/env bash
# The release package an author installs from.
#   tools/package.sh --stage DIR           README and install scripts as Windows reads them
#   tools/package.sh NBP HELPDIR ZIP       the zip: exactly the six files, its .nbp ABI-checked
#                                          (HELPDIR holds zaDode.chm and zaDode-en.chm)
# Sources in release/ are UTF-8 with LF; the README becomes windows-1251 (what Notepad of a
# Russian Windows opens) and the scripts code page 866 (what its console shows), all CR LF.
# The README's English half is plain ASCII, the same bytes in every code page, so it reads
# right on every Windows.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

stage() {
  mkdir -p "$1"
  if sed -n '/^zaDode 1.6 - a plug-in for NeoBook$/,$p' "$here/release/README.txt" |
    LC_ALL=C grep -n '[^[:print:][:space:]]' >&2; then
    echo "package: the English half of release/README.txt must be plain ASCII" >&2
    exit 1
  fi
  iconv -f UTF-8 -t CP1251 "$here/release/README.txt" | sed 's/$/\r/' >"$1/README.txt"
  for script in install.cmd uninstall.cmd; do
    iconv -f UTF-8 -t CP866 "$here/release/$script" | sed 's/$/\r/' >"$1/$script"
  done
}

if [ "${1:-}" = --stage ]; then
  stage "$2"
  exit 0
fi
[ $# -eq 3 ] || { echo "usage: $0 --stage DIR | $0 NBP HELPDIR ZIP" >&2; exit 2; }
nbp=$1 help=$2 zip=$(realpath -m "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage "$work/files"
cp "$nbp" "$work/files/zaDode.nbp"
cp "$help/zaDode.chm" "$help/zaDode-en.chm" "$work/files/"
mkdir -p "$(dirname "$zip")"
rm -f "$zip"
(cd "$work/files" && zip -q -X -j "$zip.tmp" zaDode.nbp zaDode.chm zaDode-en.chm README.txt \
  install.cmd uninstall.cmd)
mv "$zip.tmp" "$zip"

# What an author unpacks: these six files and nothing else, and the plug-in the ABI check passes.
listed=$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')
expected="README.txt install.cmd uninstall.cmd zaDode-en.chm zaDode.chm zaDode.nbp "
[ "$listed" = "$expected" ] || { echo "package: $zip holds [$listed], expected [$expected]"; exit 1; }
mkdir "$work/unpacked"
unzip -q "$zip" -d "$work/unpacked"
bash "$here/tools/check-abi.sh" "$work/unpacked/zaDode.nbp"
echo "package: $zip"
