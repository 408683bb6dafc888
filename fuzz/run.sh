#!/usr/bin/env bash
# Builds one fuzz target with clang and runs it: fuzz/run.sh TARGET SECONDS
# The seed corpus is made of the examples and the test data; findings go to
# fuzz/findings/TARGET/, the growing corpus to build-fuzz/corpus/TARGET/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
target="${1:?usage: fuzz/run.sh TARGET SECONDS}"
seconds="${2:?usage: fuzz/run.sh TARGET SECONDS}"

packages=(clang libclang-rt-14-dev cmake pkg-config qtbase5-dev libexpat1-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -q >&2
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
fi

build="$root/build-fuzz"
# Configured every time, so that a new target is known; cheap when nothing changed.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWDLC_FUZZ=ON >&2
cmake --build "$build" --target "$target" -j "$(nproc)" >&2

corpus="$build/corpus/$target"
seeds="$build/seeds/$target"
findings="$root/fuzz/findings/$target"
mkdir -p "$corpus" "$seeds" "$findings"
case "$target" in
    fuzz_pipeline | fuzz_source)
        find "$root/examples" "$root/tests/data" -name '*.wdl' -exec cp {} "$seeds/" \; ;;
    fuzz_lsp)
        # A leading 0 opens the rest as the wizard's whole text.
        find "$root/examples" "$root/tests/data" -type f -name '*.wdl' -print0 | while IFS= read -r -d '' wdl; do
            { printf '\0'; cat "$wdl"; } > "$seeds/$(basename "$wdl")"
        done ;;
    fuzz_translation | fuzz_translation_diff)
        find "$root/examples" "$root/tests/data" -name 'translation_*.xml' -exec cp {} "$seeds/" \; ;;
    fuzz_image)
        # Images of the examples, compiled by the normal build's wdlc when there is one.
        if [ -x "$root/build/wdlc" ]; then
            rm -rf "$seeds/src" && cp -r "$root/examples" "$seeds/src"
            for wdl in "$seeds"/src/*/*.wdl; do
                case "$wdl" in */common/*) continue ;; esac
                "$root/build/wdlc" "$wdl" "$seeds/$(basename "$wdl" .wdl).sas" || true
            done
            rm -rf "$seeds/src"
        fi
        find "$root/tests/data" -name '*.sas' -exec cp {} "$seeds/" \; ;;
esac

# Seeds kept for a target alone, made to reach its deeper paths.
if [ -d "$root/fuzz/seeds/$target" ]; then
    cp "$root/fuzz/seeds/$target"/* "$seeds/"
fi

dict=()
case "$target" in
    fuzz_pipeline | fuzz_source | fuzz_lsp) dict=(-dict="$root/fuzz/wdl.dict") ;;
    fuzz_translation | fuzz_translation_diff) dict=(-dict="$root/fuzz/xml.dict") ;;
esac

export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
"$build/fuzz/$target" "$corpus" "$seeds" "${dict[@]}" \
    -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -max_len=65536 \
    -artifact_prefix="$findings/" -print_final_stats=1
