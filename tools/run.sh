#!/usr/bin/env bash
# Sets up, builds and starts the instrument from the repository root (it reads data/ from there).
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh
./tools/build.sh
exec ./build/tolme
