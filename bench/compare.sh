#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Compares the split engine with split(1) on a random source:
#   bench/compare.sh [MiB]        (default 1024 MiB)
# Five rounds; each round runs the engine with a 4096-byte and a 1 MiB buffer
# and `split -b 100M` followed by `sync -f`, in turns, into 100 MiB parts. The
# engine flushes its parts before it reports "Done.", so both sides include
# the flush. Prints the median times and the ratios engine / split.
# The engine program is $VORNAK_BENCH or build-release/bench/vornak-bench or
# build/bench/vornak-bench; the work folder is made under $TMPDIR (or /tmp).
set -euo pipefail
mib="${1:-1024}"
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
  local start end
  start="$(now)"
  case "$variant" in
    engine-4096) "$bench" "$work/source.bin" 100MB "$out" 4096 > /dev/null ;;
    engine-1MiB) "$bench" "$work/source.bin" 100MB "$out" 1048576 > /dev/null ;;
    split) (cd "$out" && split -b 100M "$work/source.bin" part. && sync -f .) ;;
  esac
  end="$(now)"
  echo "$end - $start" | bc -l
}

declare -A times
variants=(engine-4096 engine-1MiB split)
for round in 1 2 3 4 5; do
  for variant in "${variants[@]}"; do
    t="$(run_one "$variant")"
    times[$variant]+="$t "
    printf 'round %d  %-12s %8.3f s\n' "$round" "$variant" "$t" >&2
  done
done

median() { tr ' ' '\n' <<< "$1" | grep -v '^$' | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
split_median="$(median "${times[split]}")"
echo "source: $mib MiB, parts of 100 MiB, median of 5 rounds"
printf '%-22s %10s %8s\n' "variant" "median s" "ratio"
for variant in "${variants[@]}"; do
  m="$(median "${times[$variant]}")"
  printf '%-22s %10.3f %8.2f\n' "$variant" "$m" "$(echo "$m / $split_median" | bc -l)"
done
