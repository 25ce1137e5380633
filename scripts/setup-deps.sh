#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need, only those that are missing.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev libgl-dev libgtest-dev libbenchmark-dev
          clang libclang-rt-14-dev clang-format
          xvfb xauth xdotool imagemagick poppler-utils fonts-liberation2
          binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 zlib1g-dev
          libhivex-dev libhivex-bin libwin-hivex-perl
          desktop-file-utils shared-mime-info xdg-utils appstream man-db file dpkg-dev ccache)
quiet_packages=(icoutils wine wine64) # installed without recommends

missing() {
    local out=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || out+=("$p")
    done
    echo "${out[@]:-}"
}

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

need=$(missing "${packages[@]}")
need_quiet=$(missing "${quiet_packages[@]}")
if [ -n "$need$need_quiet" ]; then
    echo "Installing: $need $need_quiet"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    # shellcheck disable=SC2086
    [ -z "$need" ] || "${sudo_cmd[@]}" apt-get install -y -qq $need >/dev/null
    # shellcheck disable=SC2086
    [ -z "$need_quiet" ] || "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends $need_quiet >/dev/null
fi
