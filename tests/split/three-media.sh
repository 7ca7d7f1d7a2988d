#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs SplitMediaTest.SplitSpansThreeMedia in a private mount namespace on a
# medium at WORK_FOLDER/medium (under Wine: drive E:) that it swaps at each
# request: first a 1 MiB ext2, then 1 MiB tmpfs media.
# Usage: three-media.sh TEST_PROGRAM WORK_FOLDER [WINE_LOADER]; 77: skipped.
set -eu
program=$1 work=$2 wine=${3:-}
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
if ! mkfs.ext2 -q -F -m 0 "$work/ext2.img" 1024 || ! mount -o loop "$work/ext2.img" "$medium" 2>/dev/null; then
  echo "mounting an ext2 image is not permitted here"
  exit 77
fi
export VORNAK_MEDIUM="$medium" VORNAK_MEDIUM_CONTROL="$control"
if [ -n "$wine" ]; then
  # A prefix of its own, made once without Wine's .NET and HTML installers
  # (they would wait on a display); its server, started in this namespace, is
  # let go before drive E: is made, or the drive would give no free space.
  unset DISPLAY WAYLAND_DISPLAY
  export WINEPREFIX="$work/wine" WINEDEBUG=-all
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i
    "$(dirname "$wine")/wineserver" -w
  fi
  ln -sfn "$medium" "$WINEPREFIX/dosdevices/e:"
  VORNAK_MEDIUM=E: VORNAK_MEDIUM_CONTROL="Z:$(printf '%s' "$control" | tr / '\\')"
fi

$wine "$program" --gtest_filter=SplitMediaTest.SplitSpansThreeMedia >"$work/test.log" 2>&1 &
test=$!
while kill -0 "$test" 2>/dev/null; do
  if [ -e "$control/swap" ]; then
    cp -p "$medium"/*.* "$control/collected/" 2>/dev/null || true
    umount "$medium" 2>/dev/null || umount -l "$medium"
    mount -t tmpfs -o size=1m vornak "$medium"
    rm -f "$control/swap"
  fi
  sleep 0.1
done
status=0
wait "$test" || status=$?
[ -z "$wine" ] || "$(dirname "$wine")/wineserver" -w || true
umount -l "$medium" 2>/dev/null || true
cat "$work/test.log"
# A test that skipped itself proves nothing here.
[ "$status" -eq 0 ] && grep -q "PASSED.* 1 test" "$work/test.log" || exit 1
