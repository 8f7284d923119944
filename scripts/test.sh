#!/usr/bin/env bash
# Installs, builds and runs every test; then once more built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh build
(cd build && ctest --output-on-failure -j2)

./scripts/setup.sh build-sanitize -DFENESTRIX_SANITIZE=ON
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j2)
