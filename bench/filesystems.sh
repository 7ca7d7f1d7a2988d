#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs compare.sh on each of btrfs, XFS and ext4 (a 1.5 GiB loop image each)
# and on tmpfs, the source and the parts on the same file system:
#   bench/filesystems.sh [MiB] [ROUNDS]        (default 512 MiB, 3 rounds)
# Needs root: the file systems are mounted in a private mount namespace of
# its own, and gone when it ends. A file system whose mkfs is missing is left
# out.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [[ "${1:-}" != --inside ]]; then
  exec unshare --mount --propagation private "$0" --inside "$@"
fi
shift
mib="${1:-512}" rounds="${2:-3}"
work="$(mktemp -d "${TMPDIR:-/tmp}/vornak-filesystems.XXXXXX")"
trap 'umount -q "$work"/mnt-* 2>/dev/null; rm -rf "$work"' EXIT
for type in btrfs xfs ext4 tmpfs; do
  mnt="$work/mnt-$type"
  mkdir "$mnt"
  if [[ "$type" == tmpfs ]]; then
    mount -t tmpfs -o size=1536m tmpfs "$mnt"
  elif command -v "mkfs.$type" > /dev/null; then
    truncate -s 1536M "$work/$type.img"
    "mkfs.$type" -q "$work/$type.img" > /dev/null
    mount -o loop "$work/$type.img" "$mnt"
  else
    echo "no mkfs.$type: $type left out" >&2
    continue
  fi
  TMPDIR="$mnt" "$here/compare.sh" "$mib" "$rounds"
  echo
done
