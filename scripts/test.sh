#!/usr/bin/env bash
# Installs, builds and runs every test, then builds and checks the Debian package; then once more
# built with AddressSanitizer and UndefinedBehaviorSanitizer; then runs each fuzz target for a few
# seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh build
(cd build && ctest --output-on-failure -j2)
./scripts/package-test.sh

./scripts/setup.sh build-sanitize -DFENESTRIX_SANITIZE=ON
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j2)

# The fuzz targets, built by clang with libFuzzer, ASan and UBSan, about 40 s in all. A crash, a
# sanitizer finding or one input running over 10 s fails the script; the input is kept in build-fuzz.
./scripts/setup.sh build-fuzz -DFENESTRIX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
for target in telegram_reply raw_exchange settings_file bus_config backup_file; do
    corpus=("build-fuzz/corpus/$target")
    mkdir -p "${corpus[0]}"
    if [ -d "fuzz/seeds/$target" ]; then corpus+=("fuzz/seeds/$target"); fi
    if ! "build-fuzz/fuzz/${target}_fuzzer" -max_total_time=7 -timeout=10 \
            -artifact_prefix="build-fuzz/$target-" "${corpus[@]}" >"build-fuzz/$target.log" 2>&1; then
        tail -n 40 "build-fuzz/$target.log"
        echo "fuzz target $target failed" >&2
        exit 1
    fi
done
