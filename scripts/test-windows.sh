#!/usr/bin/env bash
# Cross-builds the Windows program's libraries for x86_64 and i686 and runs the x86_64 test
# suites under Wine (a Wine prefix of its own inside build-windows/). Wine here runs 64-bit
# programs only, so the 32-bit build is compiled and linked but not run. The api suites talk
# to the substitute API of the Linux build in build/, which Wine starts as a Linux program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-windows.sh x86_64
bash scripts/build-windows.sh i686
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target tessoraApiSubstitutaAuxiliar
export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all
cd build-windows
ctest --output-on-failure -j"$(nproc)"
