#!/usr/bin/env bash
# Installs the Debian packages given that are not installed yet, through sudo
# when not root. Usage: scripts/install-packages.sh PACKAGE...
# Says which on stderr; apt's own output goes there too, or to the file
# WDLC_APT_LOG names (./wdlc shows it only when the install fails).
set -euo pipefail
missing=()
for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0
echo "wdlc: installing ${missing[*]}" >&2
exec 4>>"${WDLC_APT_LOG:-/dev/stderr}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# An install cut short (a machine stopped while man-db rebuilt its index, say)
# leaves dpkg refusing every further install until it is finished.
if [ -n "$(dpkg --audit 2>/dev/null)" ]; then
    $sudo dpkg --configure -a >&4 2>&4 || true
fi
# The package lists may be stale on a fresh machine: update once and retry.
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >&4 2>&4 \
    || { $sudo dpkg --configure -a >&4 2>&4 || true
         $sudo apt-get update -q >&4 2>&4 && $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >&4 2>&4; }
