#!/usr/bin/env bash
# Renders every property form of the win64 build to build/forms/<id>-<name>.png under Xvfb,
# in a prefix of its own where Wine draws the window captions itself (no window manager).
# DPI=120 or DPI=144 renders at that scale. Not part of CI: the pictures are for looking at.
set -euo pipefail
cd "$(dirname "$0")/.."
dpi=${DPI:-96}
# The Russian edition by default (the sample slot texts are in code page 1251); LC_ALL=C
# renders the English one.
export LC_ALL=${LC_ALL:-ru_RU.UTF-8}
export WINEPREFIX=$PWD/build/wine-gallery-$dpi
out=build/forms${DPI:+-$dpi}
run() { xvfb-run -a -s "-screen 0 1280x1024x24" tools/wine-run "$@"; }
if [ ! -f "$WINEPREFIX/.gallery" ]; then
  # Unmanaged windows: Wine draws the captions, and closing a form waits for no window manager.
  run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  run reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  touch "$WINEPREFIX/.gallery"
fi
mkdir -p "$out"
run build/win64/forms_gallery.exe "${out//\//\\}"
