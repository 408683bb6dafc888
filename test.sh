#!/usr/bin/env bash
# Builds everything and runs every test: ./test.sh [--sanitize]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$root/scripts/packages.sh"
build_dir="$root/build"
if [ "${1:-}" = "--sanitize" ]; then
    build_dir="$root/build-asan"
fi
# Only the tests need these: graphviz renders wdltool's flow graphs, man-db
# and groff check the manual pages, dpkg-dev and file let cpack compute the
# Debian package's dependencies.
install_missing graphviz man-db groff-base dpkg-dev file
"$root/scripts/setup.sh" "$@"
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)"
