#!/usr/bin/env bash
# Builds everything and runs every test: ./test.sh [--sanitize] [--werror]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build_dir="$root/build"
for arg in "$@"; do
    [ "$arg" = "--sanitize" ] && build_dir="$root/build-asan"
done
# graphviz renders wdltool's flow graphs in the tests and the docs; gettext's
# msgfmt checks the PO files wdltool writes for translators; clang-format is
# the judge of the sources' layout; man-db and groff check the manual pages;
# dpkg-dev and file let cpack work out the Debian package's dependencies.
"$root/scripts/install-packages.sh" graphviz gettext clang-format man-db groff-base dpkg-dev file
# Neovim and Node drive the language server as editors do.
"$root/scripts/setup-lsp-clients.sh"
"$root/scripts/check-format.sh"
"$root/scripts/setup.sh" "$@"
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)"
