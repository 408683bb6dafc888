# Sourced by the scripts beside it. install_missing PACKAGE... installs
# through apt-get (and sudo when not root) the Debian packages that are not
# installed yet, saying which on stderr; it does nothing when all are there.
# With apt_log set, apt's own output goes to that file instead of stderr.
install_missing() {
    local missing=() p sudo=""
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ "${#missing[@]}" -eq 0 ] && return 0
    echo "wdlc: installing ${missing[*]}" >&2
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    {
        $sudo apt-get update -q &&
            DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
    } >>"${apt_log:-/dev/stderr}" 2>&1
}
