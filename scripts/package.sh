#!/usr/bin/env bash
# Builds the Debian package of wdlc into build/ and prints its path:
#   scripts/package.sh && sudo apt install ./build/wdlc_*.deb
# Installs what a fresh Debian machine lacks first, as scripts/setup.sh does.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# dpkg-shlibdeps (dpkg-dev) and file work out the package's dependencies.
"$root/scripts/install-packages.sh" dpkg-dev file
"$root/scripts/setup.sh"
cd "$root/build"
cpack -G DEB >&2
# The newest, should packages of earlier versions lie beside it.
ls -t "$root"/build/wdlc_*.deb | head -n 1
