#!/usr/bin/env bash
# Creates the Wine prefix that WINEPREFIX names, once, before programs run in
# it side by side: without the offers to install Wine's .NET and HTML engines,
# which would wait for an answer, and with Wine's Tahoma in the Fonts folder
# as on Windows (Wine keeps it out of the list of fonts that programs see, and
# Qt would then draw the dialog font "MS Shell Dlg 2" in a math font).
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX names the prefix}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  WINEDLLOVERRIDES="mscoree,mshtml=" /usr/lib/wine/wine64 wineboot --init
  wineserver -w
fi
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ ! -f "$fonts/tahoma.ttf" ]; then
  cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$fonts/"
fi
