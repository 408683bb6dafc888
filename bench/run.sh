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

"$root/scripts/install-packages.sh" valgrind qttools5-dev-tools time
"$root/scripts/setup.sh" >&2
build="$root/build"
wdlc="$build/wdlc"
# The program itself: /usr/bin/lrelease is qtchooser, whose exec callgrind
# would not follow.
lrelease=/usr/lib/qt5/bin/lrelease
[ -x "$lrelease" ] || lrelease=lrelease
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

# wdlc, lrelease and the I/O floor side by side, their runs taken in turns so
# that the machine's load falls on all three alike.
echo "### Beside lrelease and the I/O floor (26 languages, the same translated strings)"
echo
echo "The floor (build/bench/wdlc_iofloor) reads every input file of the compile in"
echo "full and writes as many bytes as the image and the template, each through"
echo "QSaveFile (atomic replace, synced), and does nothing else; the hinted floor"
echo "builds its large output in a buffer backed by huge pages, as wdlc builds its image."
echo
echo "| K | program | time (ms) | instructions | peak memory (MB) |"
echo "|---|---|---|---|---|"
declare -A summary
for k in 1 8; do
    dir="$work/k${k}_t26"
    wdl="$dir/stress.wdl"
    [ -f "$wdl" ] || wdl=$("$build/bench/wdlc_stressgen" "$dir" "$k" 26 --ts "$dir/ts")
    "$wdlc" "$wdl" >/dev/null 2>&1
    inputs=()
    while IFS= read -r f; do inputs+=("$f"); done < <(find "$dir" -maxdepth 1 -type f \( -name '*.wdl' -o -name 'translation_*.xml' -o -name '*.csiv' \) ! -name translation_template.xml | sort)
    floor=("$build/bench/wdlc_iofloor" "${inputs[@]}"
        --out "$work/floor.sas" "$(stat -c %s "$wdl.sas" 2>/dev/null || stat -c %s "${wdl%.wdl}.sas")"
        --out "$work/floor_template.xml" "$(stat -c %s "$dir/translation_template.xml")")
    hinted=("${floor[0]}" --huge-pages "${floor[@]:1}")
    lrelease_cmd=("$lrelease" -silent "$dir"/ts/*.ts)
    wdlc_times=() lrelease_times=() floor_times=() hinted_times=()
    for ((i = 0; i < runs; i++)); do
        wdlc_times+=("$(median_ms 1 "$wdlc" "$wdl")")
        lrelease_times+=("$(median_ms 1 "${lrelease_cmd[@]}")")
        floor_times+=("$(median_ms 1 "${floor[@]}")")
        hinted_times+=("$(median_ms 1 "${hinted[@]}")")
    done
    med() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]}'; }
    w_ms=$(med "${wdlc_times[@]}"); l_ms=$(med "${lrelease_times[@]}"); f_ms=$(med "${floor_times[@]}")
    h_ms=$(med "${hinted_times[@]}")
    w_ir=$(instructions "$wdlc" "$wdl"); l_ir=$(instructions "${lrelease_cmd[@]}"); f_ir=$(instructions "${floor[@]}")
    echo "| $k | wdlc | $w_ms | $w_ir | $(peak_mb "$wdlc" "$wdl") |"
    echo "| $k | lrelease | $l_ms | $l_ir | $(peak_mb "${lrelease_cmd[@]}") |"
    echo "| $k | I/O floor | $f_ms | $f_ir | $(peak_mb "${floor[@]}") |"
    echo "| $k | I/O floor, hinted | $h_ms | $(instructions "${hinted[@]}") | $(peak_mb "${hinted[@]}") |"
    summary[$k]="| $k | $(ratio "$w_ms" "$l_ms") | $(ratio "$w_ir" "$l_ir") | $(ratio "$w_ms" "$f_ms") | $(ratio "$w_ms" "$h_ms") | $w_ir |"
    [ "$k" = 1 ] && base_ir=$w_ir
    [ "$k" = 8 ] && summary[ratio]="wdlc instructions K = 8 / K = 1: $(ratio "$w_ir" "$base_ir")"
done
echo
echo "| K | wdlc / lrelease time | wdlc / lrelease instructions | wdlc / floor time | wdlc / hinted floor time | wdlc instructions |"
echo "|---|---|---|---|---|---|"
echo "${summary[1]}"
echo "${summary[8]}"
echo
echo "${summary[ratio]}"
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
