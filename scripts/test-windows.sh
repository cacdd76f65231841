#!/usr/bin/env bash
# Cross-builds the platform layer for Windows with mingw-w64 into build-windows/ and runs
# its tests under Wine (a Wine prefix of its own inside that folder).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build build-windows -j"$(nproc)"
cd build-windows
ctest --output-on-failure
