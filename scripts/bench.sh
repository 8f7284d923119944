#!/usr/bin/env bash
# A benchmark, not a test: prints how long the first window takes to appear, how close an
# empty-bus scan comes to its protocol waits, and, with --test-command, the wall time of the
# README's test command from a clean clone. Debian 12, as root; builds what the run command builds.
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD

./scripts/setup.sh build >/dev/null
missing=()
for p in libx11-dev libxdamage-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

scratch=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT
gcc -O2 -o "$scratch/first_paint" scripts/bench/first_paint.c -lXdamage -lX11

# Median, lowest and highest of the numbers on standard input.
spread() {
    sort -n | awk '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "median %.1f ms, %.1f to %.1f ms over %d starts\n", m, v[1], v[NR], NR }'
}

# The first window: ten starts of `fenestrix --simulate` on one virtual X display (the window
# manager's absence changes nothing here), each in a working folder without settings file. The
# figure is the time from the start to the program's first drawing into its mapped main window,
# as the X server's DAMAGE extension reports it.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
DISPLAY=:$(cat "$scratch/display")
export DISPLAY
mkdir "$scratch/work"
for _ in $(seq 10); do
    (cd "$scratch/work" && "$scratch/first_paint" "$source/build/app/fenestrix" --simulate 2>/dev/null)
    rm -f "$scratch/work/"*
done >"$scratch/first-window"
echo "first window: $(awk '{ print $2 }' "$scratch/first-window" | spread)"
echo "  (start to first paint of the main window, fenestrix --simulate of build/, Xvfb, DAMAGE)"

# The empty bus: a scan by `fenestrix --scan` against `fenestrix-sim` with no device over a
# pseudo-terminal, from the first request to the last as the simulator logs them, against the same
# span of the same scan on the virtual clock, where only the protocol's waits and time limits pass.
echo '{"controllers": []}' >"$scratch/empty.json"
mkdir "$scratch/ports"
build/sim/fenestrix-sim --link "$scratch/ports/COM1" --log "$scratch/sim.log" "$scratch/empty.json" \
    >/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -L "$scratch/ports/COM1" ] && break; sleep 0.1; done
(cd "$scratch/work" && FENESTRIX_PORTS="$scratch/ports" env -u DISPLAY \
    "$source/build/app/fenestrix" --scan --port 1 >/dev/null 2>&1) || true
read -r nominal_requests nominal_ms < <(build/tests/empty_scan_waits)
awk -v n="$nominal_requests" -v nominal="$nominal_ms" '/PC>/ { t[++c] = $1 } END {
    real = (t[c] - t[1]) * 1000
    printf "empty-bus scan: %.1f ms for %d requests against %.1f ms of waits for %d: %.3f times\n",
        real, c, nominal, n, real / nominal }' "$scratch/sim.log"
echo "  (first to last request in fenestrix-sim's log; the waits: the same scan on the virtual clock)"

if [ "${1:-}" = --test-command ]; then
    # The README's test command in a clean clone of the committed tree, without the compiler
    # cache, as on a fresh machine (whose package installation comes on top).
    git clone -q "$source" "$scratch/clone"
    start=$(date +%s)
    (cd "$scratch/clone" && CCACHE_DISABLE=1 ./scripts/test.sh >"$scratch/test.log" 2>&1) ||
        { tail -n 40 "$scratch/test.log"; echo "the test command failed" >&2; exit 1; }
    echo "test command: $(( $(date +%s) - start )) s from a clean clone, compiler cache off," \
        "packages already installed"
fi
