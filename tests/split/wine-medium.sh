#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# A split across three media under Wine: drive E: of a Wine prefix of its own
# is a folder on which a 1 MiB tmpfs is mounted, in a private mount namespace
# (as root). At each medium question the test program leaves a request in the
# control folder; this script then collects the parts on the medium, mounts a
# fresh tmpfs and removes the request, and the program presses Retry.
# Usage: wine-medium.sh WINE_LOADER TEST_PROGRAM WORK_FOLDER
# Exits 77 (skipped) where a private mount namespace or mounting is not permitted.
set -eu
wine=$1 program=$2 work=$3
if [ -z "${VORNAK_PRIVATE_MOUNTS:-}" ]; then
  if ! unshare --mount --propagation private true 2>/dev/null; then
    echo "no private mount namespace here"
    exit 77
  fi
  VORNAK_PRIVATE_MOUNTS=1 exec unshare --mount --propagation private "$0" "$@"
fi

medium=$work/medium control=$work/control
mkdir -p "$medium"
rm -rf "$control" && mkdir -p "$control/collected"
insert() { mount -t tmpfs -o size=1m vornak "$medium"; }
if ! insert 2>/dev/null; then
  echo "mounting a tmpfs is not permitted here"
  exit 77
fi

# The prefix is made once (about 15 s) and kept in the build folder, without
# the offers to install Wine's .NET and HTML engines: on a display they would
# wait for an answer. The test needs no display, so none is offered to it. Its
# Wine server starts inside this namespace, so it sees the same media.
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX="$work/wine" WINEDEBUG=-all
# The server and services that wineboot starts are let go before drive E: is
# made: while they run, a drive made afterwards gives no free space (seen in
# a fresh prefix), and the test would ask for a new medium for ever.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i
  "$(dirname "$wine")/wineserver" -w
fi
ln -sfn "$medium" "$WINEPREFIX/dosdevices/e:"

VORNAK_MEDIUM_CONTROL="Z:$(printf '%s' "$control" | tr / '\\')" \
  "$wine" "$program" --gtest_filter=SplitWin32Test.SplitSpansThreeMediaOnOneDriveLetter >"$work/test.log" 2>&1 &
test=$!
while kill -0 "$test" 2>/dev/null; do
  if [ -e "$control/swap" ]; then
    cp -p "$medium"/* "$control/collected/" 2>/dev/null || true
    umount "$medium" 2>/dev/null || umount -l "$medium"
    insert
    rm -f "$control/swap"
  fi
  sleep 0.1
done
status=0
wait "$test" || status=$?
"$(dirname "$wine")/wineserver" -w || true
umount -l "$medium" 2>/dev/null || true
cat "$work/test.log"
# A test that skipped itself proves nothing here.
[ "$status" -eq 0 ] && grep -q "PASSED.* 1 test" "$work/test.log" || exit 1
