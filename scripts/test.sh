#!/usr/bin/env bash
# Installs what is missing, then builds and tests twice. First the Debian package, built as Debian
# builds it (gcc, Debian's flags), which runs every test in its build, and checked as it unpacks.
# Then one clang build with AddressSanitizer and UndefinedBehaviorSanitizer that runs every test
# again and builds the fuzz targets, each of which then runs for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
# Each step's time, so that a slow one shows.
step() { echo "== $1 (at ${SECONDS} s)"; }

step "packages"
./scripts/setup.sh --no-build
# The package's build here is without debug information, which only the debug symbols need:
# compiling and stripping take a third less time.
step "package build with every test"
deb=$(DEB_BUILD_OPTIONS="parallel=$jobs" DEB_CXXFLAGS_STRIP=-g ./scripts/package.sh | tail -n 1)

# The package's checks mostly wait for scans of the simulated bus, so they run while the
# sanitizer build compiles, which yields the processor to them.
step "package checks, beside the sanitizer build"
./scripts/package-test.sh "$deb" >build-package/package-test.log 2>&1 &
package_test=$!
# Optimised a little and with line tables only: the sanitizers' reports name file and line, and
# the build takes half the time of a full debug build.
nice -n 10 ./scripts/setup.sh build-sanitize -DCMAKE_CXX_COMPILER=clang++ -DFENESTRIX_FUZZ=ON \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only"
if ! wait "$package_test"; then
    cat build-package/package-test.log
    exit 1
fi
tail -n 1 build-package/package-test.log

# The real-time tests mostly wait on the simulator, so they run eight at a time after the others.
step "every test under the sanitizers"
(cd build-sanitize && export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 &&
    ctest --output-on-failure -j"$jobs" -LE realtime && ctest --output-on-failure -j8 -L realtime)

step "fuzzing"
# The fuzz targets, about 40 s in all. A crash, a sanitizer finding or one input running over 10 s
# fails the script; the input is kept in build-sanitize.
for target in telegram_reply raw_exchange settings_file bus_config backup_file; do
    corpus=("build-sanitize/corpus/$target")
    mkdir -p "${corpus[0]}"
    if [ -d "fuzz/seeds/$target" ]; then corpus+=("fuzz/seeds/$target"); fi
    if ! "build-sanitize/fuzz/${target}_fuzzer" -max_total_time=7 -timeout=10 \
            -artifact_prefix="build-sanitize/$target-" "${corpus[@]}" >"build-sanitize/$target.log" 2>&1; then
        tail -n 40 "build-sanitize/$target.log"
        echo "fuzz target $target failed" >&2
        exit 1
    fi
done
echo "every test passed in ${SECONDS} s"
