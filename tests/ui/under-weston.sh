#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program as a Wayland client of a headless Weston of its own;
# exits 77 (skipped) where Weston or Qt's Wayland backend is missing.
command -v weston >/dev/null && ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
  { echo "SKIP: no weston or qt6-wayland"; exit 77; }
runtime=$(mktemp -d) || exit 1
trap 'kill "$weston" 2>/dev/null; wait "$weston" 2>/dev/null; rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime"
weston --backend=headless-backend.so --socket=vornak --idle-time=0 --width=1280 --height=800 \
  >"$runtime/weston.log" 2>&1 &
weston=$!
for _ in $(seq 50); do [ -S "$runtime/vornak" ] && break; sleep 0.1; done
[ -S "$runtime/vornak" ] || { cat "$runtime/weston.log"; echo "SKIP: weston did not start"; exit 77; }
QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=vornak "$@"
