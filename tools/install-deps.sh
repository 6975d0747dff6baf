#!/usr/bin/env bash
# Installs what building and testing zaDode needs on Debian 12 (run as root). Idempotent:
# packages already present are not fetched again.
set -euo pipefail
packages=(cmake ninja-build g++ clang-format clang libclang-rt-14-dev
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
          googletest wine64 xvfb xauth locales
          fp-utils   # chmcmd: the help tests' small .chm
          fp-compiler fp-units-fcl fpc-source  # the plug-in's help: help/chmbuild.py
          python3    # help/generate.py: the help's reference from the catalogue
          zip unzip) # the release package
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # With recommends: Wine needs its fonts and X libraries for windows, dialogs and captures.
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# Wine takes the Windows locale from LC_ALL alone, but maps file names through the Unix
# locale's character set: unless that locale exists, no Cyrillic or Japanese file name can.
for name in ru_RU ja_JP; do
  locale -a | grep -qx "$name.utf8" || localedef -i "$name" -f UTF-8 "$name.UTF-8"
done
