#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Creates the Wine prefix that WINEPREFIX names, once, before programs run in
# it side by side: without the offers to install Wine's .NET and HTML engines,
# which would wait for an answer, and with Wine's Tahoma in the Fonts folder
# as on Windows (Wine keeps it out of the list of fonts that programs see, and
# Qt would then draw the dialog font "MS Shell Dlg 2" in a math font).
# It then starts the prefix's Wine server, kept for ten minutes after its last
# program ends: a server that the first program starts holds that program's
# output open, and CTest, reading the test list, would wait for it.
# Run it on the display the tests will use: the desktop process that Wine
# starts here stays for them, and one started without a display leaves every
# message box of a later program waiting for ever.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX names the prefix}"
: "${DISPLAY:?run it on the tests display, e.g. inside xvfb-run}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  WINEDLLOVERRIDES="mscoree,mshtml=" /usr/lib/wine/wine64 wineboot --init
  wineserver -w
fi
# A program that crashes ends with its backtrace instead of waiting behind
# Wine's crash dialog.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ ! -f "$fonts/tahoma.ttf" ]; then
  cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$fonts/"
fi
/usr/lib/wine/wineserver -p 600 </dev/null >/dev/null 2>&1 || true  # one running already serves as well
