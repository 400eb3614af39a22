#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: unit and pixel tests, then the real program under Xvfb;
# then the unit suite once more, built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh
./tools/build.sh
(cd build && ctest --output-on-failure -j 2 -LE e2e)
(cd build && ctest --output-on-failure -L e2e)

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLME_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$(nproc)"
(cd build-asan && ctest --output-on-failure -j 2 -L unit)
