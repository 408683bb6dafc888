#!/usr/bin/env bash
# Builds wdlc and runs every test: ./test.sh [--sanitize]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build_dir="$root/build"
if [ "${1:-}" = "--sanitize" ]; then
    build_dir="$root/build-asan"
fi
# graphviz renders wdltool's flow graphs in the tests and the docs only.
if ! dpkg-query -W -f='${Status}' graphviz 2>/dev/null | grep -q "install ok installed"; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "wdlc: installing graphviz" >&2
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends graphviz >&2 \
        || { $sudo apt-get update -q >&2 && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends graphviz >&2; }
fi
"$root/scripts/setup.sh" "$@"
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)"
