#!/usr/bin/env bash
# What ./wdlc adds to build/wdlc when nothing needs rebuilding: both compile
# examples/motor/motor_data.wdl, in turns, and the medians are printed as a
# Markdown table with their difference and ratio. The target: at most 300 ms
# more than build/wdlc.
# For comparison, what asking cmake instead would cost: a build of the wdlc
# target with nothing to do.
# Usage: bench/startup.sh [runs]    (runs of each, default 51)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-51}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$root/examples/motor" "$root/examples/common" "$work/"
wdl="$work/motor/motor_data.wdl"

# Brings build/wdlc up to date; after that ./wdlc must say nothing.
"$root/wdlc" "$wdl"
if [ -n "$("$root/wdlc" "$wdl" 2>&1)" ]; then
    echo "bench: ./wdlc still rebuilds; nothing to measure" >&2
    exit 1
fi

now_us() { local t; t=$(date +%s%N); echo $((t / 1000)); }
script_us=() binary_us=()
for ((i = 0; i < runs; i++)); do
    s=$(now_us); "$root/wdlc" "$wdl" >/dev/null 2>&1; e=$(now_us); script_us+=($((e - s)))
    s=$(now_us); "$root/build/wdlc" "$wdl" >/dev/null 2>&1; e=$(now_us); binary_us+=($((e - s)))
done
cmake_us=()
for ((i = 0; i < 5; i++)); do
    s=$(now_us); cmake --build "$root/build" --target wdlc >/dev/null 2>&1; e=$(now_us); cmake_us+=($((e - s)))
done
median_ms() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/1000}'; }
script_ms=$(median_ms "${script_us[@]}")
binary_ms=$(median_ms "${binary_us[@]}")
cmake_ms=$(median_ms "${cmake_us[@]}")

echo "| program | median time (ms) |"
echo "|---|---|"
echo "| build/wdlc examples/motor/motor_data.wdl | $binary_ms |"
echo "| ./wdlc examples/motor/motor_data.wdl, nothing to rebuild | $script_ms |"
echo "| cmake --build build --target wdlc, nothing to rebuild (5 runs) | $cmake_ms |"
echo
awk -v s="$script_ms" -v b="$binary_ms" \
    'BEGIN {printf "./wdlc adds %.1f ms (%.2f times build/wdlc); the target allows 300 ms.\n", s - b, s / b}'
