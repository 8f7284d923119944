#!/usr/bin/env bash
# Builds the Debian package and checks it as a technician's machine gets it, unpacked into a
# scratch folder: the programs' version, a scan against the simulator over a pseudo-terminal, the
# controller window's picture and the EEPROM descriptions from the installed files, the file
# list, the desktop entry, the AppStream metainfo and lintian. Debian 12, as root, after
# scripts/setup.sh, which installs the tools used here. Given the path of a package that
# scripts/package.sh built, it checks that one instead of building one.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "package test: $*" >&2
    exit 1
}

deb=${1:-$(./scripts/package.sh | tail -n 1)}
version=$(dpkg-deb -f "$deb" Version)
scratch=$(mktemp -d)
sim_pid=
cleanup() {
    if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; fi
    rm -rf "$scratch"
}
trap cleanup EXIT
root=$scratch/root
dpkg -x "$deb" "$root"
bin=$root/usr/bin
share=$root/usr/share

# The version and the help, without a display and with exit status 0.
shown=$(env -u DISPLAY "$bin/fenestrix" --version) || fail "fenestrix --version failed"
[ "$shown" = "fenestrix $version" ] || fail "fenestrix --version printed: $shown"
shown=$("$bin/fenestrix-sim" --version) || fail "fenestrix-sim --version failed"
[ "$shown" = "fenestrix-sim $version" ] || fail "fenestrix-sim --version printed: $shown"
shown=$(env -u DISPLAY "$bin/fenestrix" --help) || fail "fenestrix --help failed"
grep -q -- '--backup <FILE>' <<<"$shown" || fail "fenestrix --help printed: $shown"

# A scan of the simulator's default bus as COM2, in a working folder without settings file.
mkdir "$scratch/ports" "$scratch/work"
"$bin/fenestrix-sim" --link "$scratch/ports/COM2" >"$scratch/sim.out" &
sim_pid=$!
for _ in $(seq 50); do
    if [ -L "$scratch/ports/COM2" ]; then break; fi
    sleep 0.1
done
(cd "$scratch/work" &&
    env -u DISPLAY FENESTRIX_PORTS="$scratch/ports" "$bin/fenestrix" --scan --port 2 \
        >"$scratch/scan.out" 2>"$scratch/scan.err") || fail "scan: $(cat "$scratch/scan.err")"
kill "$sim_pid"
wait "$sim_pid" || true
sim_pid=
# The header, the group control unit at 0, the controllers 1 to 5 in state Z00, the summary.
[ "$(wc -l <"$scratch/scan.out")" -eq 8 ] || fail "scan output: $(cat "$scratch/scan.out")"
[ "$(cut -f1 "$scratch/scan.out" | sed -n 2,7p | tr '\n' ' ')" = "0 1 2 3 4 5 " ] ||
    fail "scanned addresses: $(cat "$scratch/scan.out")"
[ "$(cut -f5 "$scratch/scan.out" | sed -n 3,7p | sort -u)" = "Z00" ] ||
    fail "scanned states: $(cat "$scratch/scan.out")"
tail -n 1 "$scratch/scan.out" | grep -q '^5 ' || fail "scan summary: $(tail -n 1 "$scratch/scan.out")"

# The file list: what the programs, the desktop and the shell need, and nothing else.
dpkg-deb -c "$deb" | awk '{print $6}' >"$scratch/files"
pictures=$(dirname "$deb")/fenestrix-$version/obj-$(dpkg-architecture -qDEB_HOST_GNU_TYPE)/assets/window_pictures.txt
expected=(./usr/bin/fenestrix ./usr/bin/fenestrix-sim
          ./usr/share/fenestrix/Comment_de.pdf ./usr/share/fenestrix/Comment_en.pdf
          ./usr/share/applications/de.veltra.fenestrix.desktop
          ./usr/share/metainfo/de.veltra.fenestrix.metainfo.xml
          ./usr/share/icons/hicolor/scalable/apps/fenestrix.svg
          ./usr/share/man/man1/fenestrix.1.gz ./usr/share/man/man1/fenestrix-sim.1.gz
          ./usr/share/doc/fenestrix/copyright ./usr/share/doc/fenestrix/changelog.gz
          ./usr/share/doc/fenestrix/README.Debian)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x$size/apps/fenestrix.png")
done
while read -r picture; do expected+=("./usr/share/fenestrix/$picture"); done <"$pictures"
for description in assets/eeprom/*.dat; do
    expected+=("./usr/share/fenestrix/$(basename "$description")")
done
[ ${#expected[@]} -gt 60 ] || fail "the window pictures' list $pictures is short"
for file in "${expected[@]}"; do
    grep -qxF "$file" "$scratch/files" || fail "$file is not in the package"
done
unexpected=$(grep -v '/$' "$scratch/files" |
    grep -Ev '^\./usr/(bin/fenestrix(-sim)?|share/(fenestrix|applications|metainfo|icons/hicolor|man/man1|doc/fenestrix)/.*)$' || true)
[ -z "$unexpected" ] || fail "unexpected files in the package: $unexpected"

# The desktop entry and the metainfo (whose screenshot addresses are not reachable from here).
desktop-file-validate "$share/applications/de.veltra.fenestrix.desktop"
appstreamcli validate --no-net "$share/metainfo/de.veltra.fenestrix.metainfo.xml"
appstreamcli validate-tree --no-net "$root"

lintian --fail-on error,warning "$deb"

# The controller window of the unpacked program shows its picture and the EEPROM dialog the
# installed descriptions (the simulated turn/tilt controller, variant AAh, opens page 0); the same
# program alone, without its run-time files, shows neither, so the check can tell them apart.
window_check() {
    dbus-run-session -- xvfb-run -a -s "-screen 0 1600x1000x24" /usr/bin/python3 \
        scripts/window-files-check.py "$1" "$share/fenestrix/S0_EEPROM.dat" texts/languages.tsv \
        2>"$scratch/window-check.err" || true
}
seen=$(window_check "$bin/fenestrix")
echo "$seen"
{ grep -q '^picture: shown' <<<"$seen" && grep -q '^descriptions: shown' <<<"$seen"; } ||
    fail "installed layout: $seen $(tail -n 20 "$scratch/window-check.err")"
mkdir -p "$scratch/alone"
cp "$bin/fenestrix" "$scratch/alone/"
seen=$(window_check "$scratch/alone/fenestrix")
{ grep -q '^picture: missing' <<<"$seen" && grep -q '^descriptions: missing' <<<"$seen"; } ||
    fail "program without its files: $seen $(tail -n 20 "$scratch/window-check.err")"

echo "package test passed: $deb"
