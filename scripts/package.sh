#!/usr/bin/env bash
# Builds the Debian package fenestrix_<version>_amd64.deb (Debian 12, as root) in build-package/
# from a copy of the source tree, and prints its path as the last line. Installs what the package
# build needs. Safe to run again. DEB_BUILD_OPTIONS defaults to "nocheck parallel=2"; without
# nocheck the package build runs the project's tests.
set -euo pipefail
cd "$(dirname "$0")/.."

export DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS-nocheck parallel=2}
profiles=()
if [[ " $DEB_BUILD_OPTIONS " == *" nocheck "* ]]; then profiles=(-Pnocheck); fi

if ! command -v dpkg-checkbuilddeps >/dev/null || ! dpkg-checkbuilddeps "${profiles[@]}" 2>/dev/null; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq dpkg-dev
    DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -qq "${profiles[@]}" ./
fi

# A fresh copy, so that the package build leaves the source tree as it is and its results land in
# build-package/. The version is the changelog's, which debian/rules holds to the CMake version.
version=$(dpkg-parsechangelog -S Version)
out=$PWD/build-package
source_copy=$out/fenestrix-$version
rm -rf "$out"
mkdir -p "$source_copy"
tar -c --exclude='./build*' --exclude='./obj-*' --exclude=./.git . | tar -x -C "$source_copy"

# The compiler cache, when there is one.
if [ -d /usr/lib/ccache ]; then export PATH=/usr/lib/ccache:$PATH; fi
(cd "$source_copy" && dpkg-buildpackage -b -us -uc "${profiles[@]}") >"$out/build.log" 2>&1 || {
    tail -n 60 "$out/build.log" >&2
    echo "package build failed; the whole log is $out/build.log" >&2
    exit 1
}
deb=$out/fenestrix_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb
test -f "$deb"
echo "$deb"
