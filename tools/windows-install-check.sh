#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Windows installer silently into the Wine prefix, starts the
# installed program, splits a file with the keyboard alone as a user would,
# checks that the parts join to the source and that the settings reached the
# registry, and uninstalls. Needs an X display (Xvfb) and xdotool:
#   WINEPREFIX=... xvfb-run -a tools/windows-install-check.sh INSTALLER.exe
set -euo pipefail
installer="$(realpath "$1")"
: "${WINEPREFIX:?WINEPREFIX names the prefix}"
export WINEDEBUG=-all QT_QPA_PLATFORM=windows
wine=/usr/lib/wine/wine64
work="$(mktemp -d)"
program_pid=""
cleanup() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "windows-install-check: $*" >&2
  exit 1
}

"$wine" "$installer" /S
folder="$WINEPREFIX/drive_c/Program Files/Vornak"
[ -f "$folder/vornak.exe" ] || fail "the installer did not install vornak.exe"
[ -f "$folder/Uninstall.exe" ] || fail "the installer did not install its uninstaller"
[ -f "$folder/platforms/qwindows.dll" ] || fail "the platform plugin is missing"
find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Vornak Split your files.lnk' | grep -q . ||
  fail "no Start-menu entry"

# A source of three parts: two of 1 MB and the remainder.
head -c 2500000 /dev/urandom >"$work/source.bin"
source_path="$("$wine" winepath -w "$work/source.bin" 2>/dev/null | tr -d '\r')"

(cd "$folder" && exec "$wine" ./vornak.exe) &
program_pid=$!
window="$(timeout 60 xdotool search --sync --onlyvisible --name '^Vornak Split your files$' | head -n 1)" ||
  fail "the main window did not appear"
sleep 1
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
keys() { xdotool key --delay 80 "$@"; }
keys alt+f
xdotool type --delay 20 "$source_path"
keys alt+i
xdotool type --delay 20 "1 MB"
keys alt+s
# The target dialog proposes the source's folder and name: Save.
timeout 30 xdotool search --sync --onlyvisible --name '^Save' >/dev/null || fail "the target dialog did not appear"
sleep 1
keys alt+s
for _ in $(seq 1 60); do
  [ -f "$work/source3.bin" ] && [ "$(stat -c %s "$work/source3.bin")" = 402848 ] && break
  sleep 1
done
sleep 2
cat "$work/source1.bin" "$work/source2.bin" "$work/source3.bin" | cmp - "$work/source.bin" ||
  fail "the parts do not join to the source"
[ ! -e "$work/source4.bin" ] || fail "one part too many"

# Closing writes the settings: the typed size is now the first preset row.
xdotool windowactivate --sync "$window" 2>/dev/null || true
keys alt+x
timeout 30 tail --pid="$program_pid" -f /dev/null || fail "the program did not end"
program_pid=""
"$wine" reg query 'HKCU\Software\Vornak\Vornak Split your files 2.2\Preferences' /v SplitSize1 2>/dev/null |
  tr -d '\r' | grep -q 'REG_SZ *1 MB$' || fail "the settings did not reach the registry"

# The uninstaller runs on from a copy of itself: wait for it to finish.
"$wine" "$folder/Uninstall.exe" /S
for _ in $(seq 1 30); do
  [ -e "$folder/vornak.exe" ] || break
  sleep 1
done
[ ! -e "$folder/vornak.exe" ] || fail "the uninstaller left the program"
echo "windows-install-check: installed, split 3 parts with the keyboard, joined, uninstalled"
