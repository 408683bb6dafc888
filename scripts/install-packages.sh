#!/usr/bin/env bash
# Installs the Debian packages given that are not installed yet, through sudo
# when not root. Usage: scripts/install-packages.sh PACKAGE...
set -euo pipefail
missing=()
for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0
echo "wdlc: installing ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# The package lists may be stale on a fresh machine: update once and retry.
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >&2 \
    || { $sudo apt-get update -q >&2 && $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >&2; }
