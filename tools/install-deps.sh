#!/usr/bin/env bash
# Installs what building and testing zaDode needs on Debian 12 (run as root). Idempotent:
# packages already present are not fetched again.
set -euo pipefail
packages=(cmake ninja-build g++ clang-format clang libclang-rt-14-dev
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
          googletest wine64 xvfb xauth
          fp-utils   # chmcmd: the plug-in's help and the help tests' small .chm
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
