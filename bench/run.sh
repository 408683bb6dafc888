#!/usr/bin/env bash
# Stress benchmark of wdlc: compiles generated wizards of scale K = 1, 2, 4, 8
# with T = 0 and 26 translation files and prints, as Markdown tables:
#   median wall time of a compile, peak memory, instructions (callgrind),
#   each with its ratio to K = 1;
# then, side by side on the same machine in the same run:
#   lrelease compiling the same translated strings from .ts into .qm files,
#   an empty QCoreApplication program's start-up against a small wizard's compile.
# Usage: bench/run.sh [runs]    (runs per median, default 5)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-5}"

need=()
for p in valgrind qttools5-dev-tools time; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ "${#need[@]}" -gt 0 ]; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "bench: installing ${need[*]}" >&2
    $sudo apt-get update -q >&2
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${need[@]}" >&2
fi
"$root/scripts/setup.sh" >&2
build="$root/build"
wdlc="$build/wdlc"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Median wall time in milliseconds of n runs of a command.
median_ms() {
    local n="$1"; shift
    local times=() s e
    for ((i = 0; i < n; i++)); do
        s=$(date +%s%N); "$@" >/dev/null 2>&1; e=$(date +%s%N)
        times+=($(((e - s) / 1000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/1000}'
}
peak_mb() {
    /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1 | awk '{printf "%.1f", $1/1024}'
}
instructions() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 | awk '/Collected/ {print $NF}'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a/b}'; }

echo "## wdlc on stress wizards ($(nproc) cores, median of $runs runs)"
echo
for t in 0 26; do
    echo "### $t translation files"
    echo
    echo "| K | image bytes | time (ms) | ratio | peak memory (MB) | ratio | instructions | ratio |"
    echo "|---|---|---|---|---|---|---|---|"
    base_ms="" base_mb="" base_ir=""
    for k in 1 2 4 8; do
        dir="$work/k${k}_t${t}"
        wdl=$("$build/bench/wdlc_stressgen" "$dir" "$k" "$t" --ts "$dir/ts")
        ms=$(median_ms "$runs" "$wdlc" "$wdl")
        [ -f "${wdl}_errors.txt" ] && { echo "K=$k T=$t: the wizard was refused:" >&2; cat "${wdl}_errors.txt" >&2; exit 1; }
        mb=$(peak_mb "$wdlc" "$wdl")
        ir=$(instructions "$wdlc" "$wdl")
        size=$(stat -c %s "$wdl.sas")
        [ -z "$base_ms" ] && { base_ms=$ms; base_mb=$mb; base_ir=$ir; }
        echo "| $k | $size | $ms | $(ratio "$ms" "$base_ms") | $mb | $(ratio "$mb" "$base_mb") | $ir | $(ratio "$ir" "$base_ir") |"
    done
    echo
done

echo "### Beside lrelease (K = 8, 26 languages, the same translated strings)"
echo
dir="$work/k8_t26"
wdl="$dir/stress.wdl"
wdlc_ms=$(median_ms "$runs" "$wdlc" "$wdl")
lrelease_ms=$(median_ms "$runs" lrelease -silent "$dir"/ts/*.ts)
echo "| program | time (ms) |"
echo "|---|---|"
echo "| wdlc, whole compile with 26 dictionaries | $wdlc_ms |"
echo "| lrelease, 26 .ts files to .qm | $lrelease_ms |"
echo
echo "wdlc / lrelease: $(ratio "$wdlc_ms" "$lrelease_ms")"
echo

echo "### Beside an empty Qt program"
echo
small="$work/small"
mkdir -p "$small"
cp -r "$root/examples/motor" "$root/examples/common" "$small/"
empty_ms=$(median_ms $((runs * 4)) "$build/bench/wdlc_emptyqt")
small_ms=$(median_ms $((runs * 4)) "$wdlc" "$small/motor/motor_data.wdl")
echo "| program | time (ms) |"
echo "|---|---|"
echo "| empty QCoreApplication program | $empty_ms |"
echo "| wdlc, examples/motor/motor_data.wdl | $small_ms |"
echo
echo "small compile / empty program: $(ratio "$small_ms" "$empty_ms")"
