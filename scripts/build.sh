#!/usr/bin/env bash
# Installs the Debian packages that a build needs and builds:
#   build.sh [target...]      everything (or the targets named), tests and benchmarks
#                             included, into build/
#   build.sh --programa       the program and the tools the demo runs alone, into build/
#   build.sh --sanitizadores  the program and its tests with AddressSanitizer and
#                             UndefinedBehaviorSanitizer, into build-sanitizadores/
# TESSORA_AVISOS_COMO_ERROS=ON in the environment makes warnings errors (CI).
set -euo pipefail
cd "$(dirname "$0")/.."
pasta=build
pacotes=testes
opcoes=(-DTESSORA_SANITIZADORES=OFF -DTESSORA_TESTS=ON -DTESSORA_BENCH=ON)
alvos=("$@")
case "${1:-}" in
  --programa)
    pacotes=base
    opcoes=(-DTESSORA_SANITIZADORES=OFF -DTESSORA_TESTS=OFF -DTESSORA_BENCH=OFF)
    alvos=(tessoraService tessoraAtualizador tessoraCriarBancoErp tessoraApiSubstituta) ;;
  --sanitizadores)
    pasta=build-sanitizadores
    opcoes=(-DTESSORA_SANITIZADORES=ON -DTESSORA_TESTS=ON -DTESSORA_BENCH=OFF)
    alvos=() ;;
  -*) echo "usage: $0 [--programa|--sanitizadores|target...]" >&2; exit 2 ;;
esac

bash scripts/install-deps.sh "$pacotes"
if [ "$pacotes" = testes ]; then
  opcoes+=(-DTESSORA_SERVIDOR_FIREBIRD="$(bash scripts/servidor-firebird.sh)")
fi
# Compiler results are cached by paths relative to the checkout, so another clone reuses them.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B "$pasta" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DTESSORA_AVISOS_COMO_ERROS="${TESSORA_AVISOS_COMO_ERROS:-OFF}" "${opcoes[@]}" >/dev/null
cmake --build "$pasta" -j"$(nproc)" ${alvos[@]+--target "${alvos[@]}"}
