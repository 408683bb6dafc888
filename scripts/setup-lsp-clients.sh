#!/usr/bin/env bash
# Installs the editors' clients that drive `wdltool lsp` in the tests: Neovim
# (its built-in client) and Node with the npm package
# vscode-languageserver-protocol (tests/lsp/client/, from its package-lock.json).
# Usage: scripts/setup-lsp-clients.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-packages.sh" neovim
# A machine may bring its own Node and npm; Debian's are installed only when none is there.
command -v node >/dev/null || "$root/scripts/install-packages.sh" nodejs
command -v npm >/dev/null || "$root/scripts/install-packages.sh" npm
client="$root/tests/lsp/client"
if [ ! -d "$client/node_modules" ]; then
    echo "wdlc: installing the LSP test client's npm packages" >&2
    (cd "$client" && npm ci --no-audit --no-fund --loglevel=error >&2)
fi
