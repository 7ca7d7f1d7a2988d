#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Creates the Wine prefix that WINEPREFIX names, once, before programs run in
# it side by side: without the offers to install Wine's .NET and HTML engines,
# which would wait for an answer, and with Wine's Tahoma in the Fonts folder
# as on Windows (Wine keeps it out of the list of fonts that programs see, and
# Qt would then draw the dialog font "MS Shell Dlg 2" in a math font).
# It starts the prefix's Wine server first, kept for ten minutes after its
# last program ends: a server that a program starts (and the services it
# starts with it) holds that program's output open, and CTest would wait for
# that program until they end. A server started by a program is gone as soon
# as the last program has ended, so a server started here after one would
# fail to start and leave none. Windows are not handed to a window manager:
# none runs on Xvfb, and Wine would wait two seconds for its answer each time
# a window with a title bar is hidden (a message box as it closes).
# Run it on the display the tests will use: a desktop process that Wine
# starts without a display leaves every message box of a later program
# waiting for ever.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX names the prefix}"
: "${DISPLAY:?run it on the tests display, e.g. inside xvfb-run}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  WINEDLLOVERRIDES="mscoree,mshtml=" /usr/lib/wine/wine64 wineboot --init
  wineserver -w
fi
/usr/lib/wine/wineserver -p600 </dev/null >/dev/null 2>&1 || true  # one running already serves as well
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
# A program that crashes ends with its backtrace instead of waiting behind
# Wine's crash dialog.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ ! -f "$fonts/tahoma.ttf" ]; then
  cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$fonts/"
fi
# Drive M: stands for a drive whose medium is missing (an empty card reader):
# its link leads to a folder that does not exist.
ln -sfn "$WINEPREFIX/no-medium" "$WINEPREFIX/dosdevices/m:"
