#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: unit and pixel tests, then the real program under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh
./tools/build.sh
cd build
ctest --output-on-failure -j 2 -LE e2e
ctest --output-on-failure -L e2e
