#!/usr/bin/env bash
# Peak memory of wdlc and wdltool as a multiple of the bytes they read: the
# stress wizards of scale K = 1, 2, 4, 8 with 0 and 26 translation files, and
# the shapes that cost the most per byte. Prints a Markdown table: the peak,
# and what it grows by per byte read beyond a small compile (the K = 1 wizard
# without translations, 37 kB), which holds the program's fixed start-up.
# Usage: bench/memory.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dpkg-query -W -f='${Status}' time 2>/dev/null | grep -q "install ok installed" || {
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -q >&2
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends time >&2
}
"$root/scripts/setup.sh" >&2
build="$root/build"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

peak_kb() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1; }
base_input="" base_kb=""
# | input bytes | peak MB | bytes per byte beyond the small compile |
row() {
    local input="$1" kb="$2"
    awk -v i="$input" -v k="$kb" -v bi="$base_input" -v bk="$base_kb" 'BEGIN {
        printf "| %d | %.1f | %s |\n", i, k / 1024, (i > bi ? sprintf("%.1f", (k - bk) * 1024 / (i - bi)) : "-") }'
}

echo "## Peak memory per byte read"
echo
echo "| input | bytes | peak (MB) | bytes per byte beyond the small compile |"
echo "|---|---|---|---|"
for t in 0 26; do
    for k in 1 2 4 8; do
        dir="$work/k${k}_t${t}"
        wdl=$("$build/bench/wdlc_stressgen" "$dir" "$k" "$t")
        input=$(cat "$dir"/*.wdl $(ls "$dir"/*.xml 2>/dev/null) | wc -c)
        kb=$(peak_kb "$build/wdlc" "$wdl")
        [ -z "$base_kb" ] && { base_input=$input; base_kb=$kb; }
        printf '| stress K = %d, %d translations ' "$k" "$t"
        row "$input" "$kb"
    done
done

# Every line an item with a warning of its own: the costliest shape known.
lines="$work/lines/main.wdl"
mkdir -p "$work/lines"
{
    sed -n '1,7p' "$work/k1_t0/stress.wdl"
    awk 'BEGIN {for (i = 0; i < 200000; i++) printf "T: t%d \"Text %d\"\n", i, i}'
} >"$lines"
printf '| 200,000 unused texts, a line each '
row "$(wc -c <"$lines")" "$(peak_kb "$build/wdlc" "$lines")"

# One translation of 10 MB in a single text.
big="$work/big"
mkdir -p "$big"
cp "$work/k1_t0/stress.wdl" "$big/"
{
    printf '<translations language="German"><text id="t_0" type="text">'
    head -c 10000000 /dev/zero | tr '\0' 'x'
    printf '</text></translations>\n'
} >"$big/translation_German.xml"
printf '| stress K = 1, one translation of 10 MB '
row "$(cat "$big"/*.wdl "$big"/*.xml | wc -c)" "$(peak_kb "$build/wdlc" "$big/stress.wdl")"

# wdltool graph: a thousand screens whose scripts all call one that leads to
# every screen.
flow="$work/flow.wdl"
{
    sed -n '1,7p' "$work/k1_t0/stress.wdl"
    echo 'T: hello "Hello"'
    echo 'NSS: common'
    echo '{'
    awk 'BEGIN {for (i = 0; i < 1000; i++) printf "   SNS s%d\n", i}'
    echo '}'
    awk 'BEGIN {for (i = 0; i < 1000; i++) printf "SCREEN_OVERLAY: s%d\n{\n   OVERLAY: o%d\n   {\n      T: hello\n      OK_ACTION: GOTO_NEXT_SCREEN\n   }\n   NSS: nss_%d\n   {\n      CALL common\n   }\n}\n", i, i, i}'
} >"$flow"
printf '| wdltool graph, 1,000 screens calling one script '
row "$(wc -c <"$flow")" "$(peak_kb "$build/wdltool" graph "$flow")"
