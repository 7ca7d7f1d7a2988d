#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Compares the split engine with split(1) on a random source:
#   bench/compare.sh [MiB] [ROUNDS]        (default 1024 MiB, 5 rounds)
# Each round runs, in turns, into 100 MiB parts: the engine as the program
# runs it (range copies where the system makes them, 4096-byte blocks
# otherwise), the engine with every byte through a 4096-byte and a 1 MiB
# buffer, and `split -b 100M` followed by `sync -f`. The engine flushes its
# parts before it reports "Done.", so both sides include the flush. Prints the
# median times, the ratios engine / split and the room the parts took in the
# last round (free space before less free space after). The engine's time is
# the one it reports, from opening the source to the last part flushed:
# the start of the program (some 40 ms to load Qt) is left out; split's time
# is that of the whole command.
# The engine program is $VORNAK_BENCH or build-release/bench/vornak-bench or
# build/bench/vornak-bench; the work folder is made under $TMPDIR (or /tmp),
# so the source and the parts share its file system.
set -euo pipefail
mib="${1:-1024}"
rounds="${2:-5}"
root="$(cd "$(dirname "$0")/.." && pwd)"
bench="${VORNAK_BENCH:-}"
if [[ -z "$bench" ]]; then
  for candidate in "$root/build-release/bench/vornak-bench" "$root/build/bench/vornak-bench"; do
    if [[ -x "$candidate" ]]; then bench="$candidate"; break; fi
  done
fi
[[ -x "$bench" ]] || { echo "compare.sh: vornak-bench not found; build it or set VORNAK_BENCH" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/tmp}/vornak-compare.XXXXXX")"
trap 'rm -rf "$work"' EXIT
head -c "$((mib * 1048576))" /dev/urandom > "$work/source.bin"
sync -f "$work"

now() { date +%s.%N; }
run_one() {
  local variant="$1" out="$work/out"
  # Every run starts on a quiet disk: the previous run's parts are deleted and
  # that deletion is written out before the clock starts.
  rm -rf "$out"; mkdir "$out"; sync -f "$work"; sleep 2
  local start end free
  free="$(df --output=avail -B1 "$work" | tail -1)"
  start="$(now)"
  case "$variant" in
    engine) "$bench" "$work/source.bin" 100MB "$out" 4096 > "$work/report" ;;
    buffer-4096) "$bench" --through-buffer "$work/source.bin" 100MB "$out" 4096 > "$work/report" ;;
    buffer-1MiB) "$bench" --through-buffer "$work/source.bin" 100MB "$out" 1048576 > "$work/report" ;;
    split) (cd "$out" && split -b 100M "$work/source.bin" part. && sync -f .) ;;
  esac
  end="$(now)"
  sync -f "$work"
  used[$variant]=$(( (free - $(df --output=avail -B1 "$work" | tail -1)) / 1048576 ))
  if [[ "$variant" == split ]]; then
    echo "$end - $start" | bc -l
  else  # the engine's own time, from opening the source to the last part flushed
    awk '/^parts/ { print $6 }' "$work/report"
  fi
}

declare -A times used
variants=(engine buffer-4096 buffer-1MiB split)
for round in $(seq "$rounds"); do
  for variant in "${variants[@]}"; do
    run_one "$variant" > "$work/time"
    t="$(cat "$work/time")"
    times[$variant]+="$t "
    printf 'round %d  %-12s %8.3f s\n' "$round" "$variant" "$t" >&2
  done
done

median() { tr ' ' '\n' <<< "$1" | grep -v '^$' | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
split_median="$(median "${times[split]}")"
echo "source: $mib MiB, parts of 100 MiB, median of $rounds rounds, on $(df --output=fstype "$work" | tail -1)"
printf '%-22s %10s %8s %10s\n' "variant" "median s" "ratio" "room MiB"
for variant in "${variants[@]}"; do
  m="$(median "${times[$variant]}")"
  printf '%-22s %10.3f %8.3f %10d\n' "$variant" "$m" "$(echo "$m / $split_median" | bc -l)" "${used[$variant]}"
done
