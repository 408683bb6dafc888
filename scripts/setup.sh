#!/usr/bin/env bash
# Makes a fresh Debian machine ready to build wdlc and builds it incrementally.
# Usage: scripts/setup.sh [--sanitize]
# Every message goes to stderr, so that the compiler's own output stays clean.
set -euo pipefail
exec 3>&1 1>&2

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build"
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
    build_dir="$root/build-asan"
    cmake_args=(-DCMAKE_BUILD_TYPE=Debug -DWDLC_SANITIZE=ON)
fi

# cmake, a C++ compiler, Qt 5 Core and GoogleTest are all the build needs.
packages=(cmake g++ make qtbase5-dev googletest libgtest-dev)
missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "wdlc: installing ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build_dir" "${cmake_args[@]}"
fi
cmake --build "$build_dir" -j "$(nproc)"
