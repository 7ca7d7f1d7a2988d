#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Splits on a slow disk with range copies: an ext4 loop image whose writes are
# held to RATE MB/s, the source and the parts on it, and reports the longest
# system call of the engine (the longest the window could wait for it) and the
# longest flush of a part:
#   bench/slow-disk.sh [SOURCE_MiB] [PART_SIZE] [RATE_MB/s]   (default 40 20MB 10)
# Needs root and strace; the write limit is a blkio (cgroup v1) limit on the
# loop device, or io.max in a cgroup of its own (cgroup v2). The engine program
# is found as compare.sh finds it.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [[ "${1:-}" != --inside ]]; then
  exec unshare --mount --propagation private "$0" --inside "$@"
fi
shift
mib="${1:-40}" part="${2:-20MB}" rate="${3:-10}"
root="$(cd "$here/.." && pwd)"
bench="${VORNAK_BENCH:-}"
for candidate in "$root/build-release/bench/vornak-bench" "$root/build/bench/vornak-bench"; do
  if [[ -z "$bench" && -x "$candidate" ]]; then bench="$candidate"; fi
done
[[ -x "$bench" ]] || { echo "slow-disk.sh: vornak-bench not found; build it or set VORNAK_BENCH" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/tmp}/vornak-slow.XXXXXX")"
limit="" group=""
cleanup() {
  [[ -n "$limit" ]] && echo "$device 0" > "$limit"
  [[ -n "$group" ]] && rmdir "$group"
  umount -q "$work/mnt" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
truncate -s 512M "$work/ext4.img"
mkfs.ext4 -q "$work/ext4.img"
mkdir "$work/mnt"
mount -o loop "$work/ext4.img" "$work/mnt"
device="$(lsblk -no MAJ:MIN "$(findmnt -no SOURCE "$work/mnt")" | tr -d ' ')"
head -c "$((mib * 1048576))" /dev/urandom > "$work/mnt/source.bin"
sync -f "$work/mnt"
mkdir "$work/mnt/out"

run=(strace -T -e trace=copy_file_range,sync_file_range,fdatasync -o "$work/trace"
     "$bench" "$work/mnt/source.bin" "$part" "$work/mnt/out")
if [[ -f /sys/fs/cgroup/blkio/blkio.throttle.write_bps_device ]]; then
  limit=/sys/fs/cgroup/blkio/blkio.throttle.write_bps_device
  echo "$device $((rate * 1000000))" > "$limit"
  "${run[@]}" | tail -1
else
  group="/sys/fs/cgroup/vornak-slow-$$"
  mkdir "$group"
  echo "+io" > /sys/fs/cgroup/cgroup.subtree_control
  echo "$device wbps=$((rate * 1000000))" > "$group/io.max"
  sh -c 'echo $$ > "$1/cgroup.procs" && shift && exec "$@"' sh "$group" "${run[@]}" | tail -1
fi
awk '{ t = $NF; gsub(/[<>]/, "", t); name = $1; sub(/\(.*/, "", name)
       if (t + 0 > longest) longest = t + 0
       if (name == "fdatasync" && t + 0 > flush) flush = t + 0 }
     END { printf "longest call %.3f s, longest flush of a part %.3f s\n", longest, flush }' "$work/trace"
