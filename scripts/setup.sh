#!/usr/bin/env bash
# Makes a fresh Debian machine ready to build wdlc and builds it incrementally.
# Usage: scripts/setup.sh [--sanitize] [--werror]
#   --sanitize  build into build-asan/ with AddressSanitizer and UBSan
#   --werror    fail the build on any compiler warning (CI builds so)
# Every message goes to stderr, so that the compiler's own output stays clean.
set -euo pipefail
exec 3>&1 1>&2

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build"
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
werror=OFF
for arg in "$@"; do
    case "$arg" in
    --sanitize)
        build_dir="$root/build-asan"
        cmake_args=(-DCMAKE_BUILD_TYPE=Debug -DWDLC_SANITIZE=ON)
        ;;
    --werror) werror=ON ;;
    *) echo "setup.sh: unknown option $arg"; exit 2 ;;
    esac
done

# cmake, a C++ compiler, Qt 5 Core and GoogleTest are all the build needs.
packages=(cmake g++ make qtbase5-dev googletest libgtest-dev)
"$root/scripts/install-packages.sh" "${packages[@]}"

# The warnings switch is applied to an existing build folder too, so that a
# CI run and a local run of the same folder agree.
if [ ! -f "$build_dir/CMakeCache.txt" ] || ! grep -q "^WDLC_WARNINGS_AS_ERRORS:BOOL=$werror\$" "$build_dir/CMakeCache.txt"; then
    cmake -S "$root" -B "$build_dir" "${cmake_args[@]}" -DWDLC_WARNINGS_AS_ERRORS="$werror"
fi
cmake --build "$build_dir" -j "$(nproc)"
