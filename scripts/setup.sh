#!/usr/bin/env bash
# Makes a fresh Debian machine ready to build wdlc and builds it incrementally.
# Usage: scripts/setup.sh [--sanitize] [--werror] [--wdlc]
#   (none)      everything into build/: programs, tests, benchmarks, manuals
#   --sanitize  build into build-asan/ with AddressSanitizer and UBSan
#   --werror    fail the build on any compiler warning (CI builds so)
#   --wdlc      only the compiler, quietly, for ./wdlc: one line while it
#               builds, the output of apt and the build only when they fail;
#               a build folder that exists keeps its settings
# Every message goes to stderr, so that the compiler's own output stays clean.
set -euo pipefail
exec 3>&1 1>&2

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build"
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
werror=OFF
targets=()
quiet=""
for arg in "$@"; do
    case "$arg" in
    --sanitize)
        build_dir="$root/build-asan"
        cmake_args=(-DCMAKE_BUILD_TYPE=Debug -DWDLC_SANITIZE=ON)
        ;;
    --werror) werror=ON ;;
    --wdlc)
        targets=(--target wdlc)
        quiet=1
        ;;
    *) echo "setup.sh: unknown option $arg"; exit 2 ;;
    esac
done
mkdir -p "$build_dir"
log="$build_dir/last-wdlc-build.txt"

# The warnings switch is applied to an existing build folder too, so that a
# CI run and a local run of the same folder agree; ./wdlc leaves it alone
# rather than rebuild everything under other flags.
configured() {
    [ -f "$build_dir/CMakeCache.txt" ] &&
        { [ -n "$quiet" ] || grep -q "^WDLC_WARNINGS_AS_ERRORS:BOOL=$werror\$" "$build_dir/CMakeCache.txt"; }
}

# Called where a failure does not stop the script (behind ||), so every step
# is chained. The stamp tells ./wdlc that build/wdlc is current while nothing
# it is built from is newer; it is taken before the build, so that a file
# saved during the build counts as newer.
build() {
    touch "$build_dir/.wdlc-build-started" &&
        { configured || cmake -S "$root" -B "$build_dir" "${cmake_args[@]}" -DWDLC_WARNINGS_AS_ERRORS="$werror"; } &&
        cmake --build "$build_dir" -j "$(nproc)" "${targets[@]}" &&
        mv -f "$build_dir/.wdlc-build-started" "$build_dir/.wdlc-built"
}
failed() {
    cat "$log"
    echo "wdlc: $1 failed; its output is above and in $log"
    exit 1
}

# cmake, a C++ compiler, Qt 5 Core, expat (found through pkg-config) and
# GoogleTest are all the build needs (configuring looks for GoogleTest even
# when only wdlc is built).
packages=(cmake g++ make pkg-config qtbase5-dev libexpat1-dev googletest libgtest-dev)
if [ -z "$quiet" ]; then
    "$root/scripts/install-packages.sh" "${packages[@]}"
    build || exit 1
    exit 0
fi
: >"$log"
WDLC_APT_LOG="$log" "$root/scripts/install-packages.sh" "${packages[@]}" || failed "installing the packages"
if [ -x "$build_dir/wdlc" ]; then
    echo "wdlc: rebuilding wdlc..."
else
    echo "wdlc: building wdlc (first run, a few minutes)..."
fi
build >>"$log" 2>&1 || failed "the build"
