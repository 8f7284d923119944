#!/usr/bin/env bash
# Installs what is missing, builds, and starts the tool on a simulated window bus.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh build
exec ./build/app/fenestrix --simulate "$@"
