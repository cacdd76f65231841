#!/usr/bin/env bash
# Cross-builds the Windows program, the updater, the installer (tessoraService-setup.exe) and
# the test suites with mingw-w64: x86_64 (the default) into build-windows/, i686 into
# build-windows-i686/. The third-party libraries are built first, once, by
# scripts/windows/dependencias.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
arquitetura=${1:-x86_64}
case "$arquitetura" in
  x86_64) pasta=build-windows toolchain=cmake/mingw-w64.cmake ;;
  i686) pasta=build-windows-i686 toolchain=cmake/mingw-w64-i686.cmake ;;
  *) echo "usage: $0 [x86_64|i686]" >&2; exit 2 ;;
esac
bash scripts/install-deps.sh windows
prefixos=$(bash scripts/windows/dependencias.sh "$arquitetura")
# Compiler results are cached by paths relative to the checkout, so another clone reuses them.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B "$pasta" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_PREFIX_PATH="$prefixos" -DCMAKE_CXX_COMPILER_LAUNCHER="$(command -v ccache || true)" \
  -DTESSORA_AVISOS_COMO_ERROS="${TESSORA_AVISOS_COMO_ERROS:-OFF}" >/dev/null
cmake --build "$pasta" -j"$(nproc)"
