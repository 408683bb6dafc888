#!/usr/bin/env bash
# Runs an editor's own LSP client against wdltool lsp over the examples.
# Exits 77, which ctest counts as skipped, when that client is not installed
# (scripts/setup-lsp-clients.sh installs both; ./test.sh runs it).
# Usage: tests/lsp/run-client.sh node|nvim WDLTOOL REPOSITORY
set -euo pipefail
client="$1" wdltool="$2" repo="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
case "$client" in
node)
    command -v node >/dev/null || { echo "skipped: node is not installed"; exit 77; }
    [ -d "$here/client/node_modules" ] || { echo "skipped: tests/lsp/client has no node_modules"; exit 77; }
    exec node "$here/client/lspclienttest.js" "$wdltool" "$repo"
    ;;
nvim)
    command -v nvim >/dev/null || { echo "skipped: nvim is not installed"; exit 77; }
    WDLTOOL="$wdltool" WDLC_REPO="$repo" exec nvim --headless -u NONE -i NONE -n -c "luafile $here/nvim/lsptest.lua"
    ;;
*)
    echo "usage: run-client.sh node|nvim WDLTOOL REPOSITORY" >&2
    exit 2
    ;;
esac
