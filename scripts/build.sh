#!/usr/bin/env bash
# Installs the dependencies and builds everything into build/. TESSORA_AVISOS_COMO_ERROS=ON
# in the environment makes warnings errors (CI).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Compiler results are cached by paths relative to the checkout, so another clone reuses them.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DTESSORA_AVISOS_COMO_ERROS="${TESSORA_AVISOS_COMO_ERROS:-OFF}" >/dev/null
cmake --build build -j"$(nproc)"
