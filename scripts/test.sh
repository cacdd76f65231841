#!/usr/bin/env bash
# Installs, builds and runs every test (ctest -L unit, -L integration or -L system runs one kind).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)" "$@"
