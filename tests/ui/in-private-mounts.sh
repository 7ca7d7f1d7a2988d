#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program in a private mount namespace where that is permitted (as
# root), so that it may mount media; elsewhere such tests skip themselves.
if unshare --mount --propagation private true 2>/dev/null; then
  VORNAK_PRIVATE_MOUNTS=1 exec unshare --mount --propagation private "$@"
fi
exec "$@"
