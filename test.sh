#!/usr/bin/env bash
# Builds wdlc and runs every test: ./test.sh [--sanitize]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build_dir="$root/build"
if [ "${1:-}" = "--sanitize" ]; then
    build_dir="$root/build-asan"
fi
"$root/scripts/setup.sh" "$@"
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)"
