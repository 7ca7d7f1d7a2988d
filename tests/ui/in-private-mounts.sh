#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program in a private mount namespace where that is permitted (as
# root), so that it may mount media; elsewhere such tests skip themselves. With
# --weston first, as a Wayland client of a headless Weston of its own; exits 77
# (skipped) where Weston or Qt's Wayland backend is missing.
if [ "$1" = --weston ] && shift; then
  command -v weston >/dev/null &&
    ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
    { echo "SKIP: no weston or qt6-wayland"; exit 77; }
  runtime=$(mktemp -d) || exit 1
  trap 'kill "$weston" 2>/dev/null; wait "$weston" 2>/dev/null; rm -rf "$runtime"' EXIT
  XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --socket=vornak --idle-time=0 --width=1280 \
    --height=800 >"$runtime/weston.log" 2>&1 &
  weston=$!
  for _ in $(seq 50); do [ -S "$runtime/vornak" ] && break; sleep 0.1; done
  [ -S "$runtime/vornak" ] || { cat "$runtime/weston.log"; echo "SKIP: weston did not start"; exit 77; }
  export XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=vornak
fi
unshare --mount --propagation private true 2>/dev/null &&
  set -- env VORNAK_PRIVATE_MOUNTS=1 unshare --mount --propagation private "$@"
"$@"
