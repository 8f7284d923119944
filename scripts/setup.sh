#!/usr/bin/env bash
# Installs what the build needs (Debian 12, as root) and builds into build/ (or the folder given,
# with CMake options after it); --no-build only installs. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-charts-dev libgtest-dev
          fonts-dejavu-core qt6-translations-l10n poppler-utils ser2net
          clang libclang-rt-14-dev ccache
          lintian desktop-file-utils appstream xvfb xauth dbus-daemon at-spi2-core python3-pyatspi)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

build_dir=${1:-build}
shift || true
if [ "$build_dir" = --no-build ]; then exit 0; fi
# The compiler cache makes a build again on the same machine a matter of seconds.
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
