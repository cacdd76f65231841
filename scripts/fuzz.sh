#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and the sanitizers into build-fuzz/ and runs each
# for TESSORA_FUZZ_SEGUNDOS seconds (default 45) from its seed corpus in fuzz/corpus/. New
# inputs go to a scratch folder, never into the repository; a crash leaves its input in
# build-fuzz/ and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh fuzz
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DTESSORA_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)"

segundos="${TESSORA_FUZZ_SEGUNDOS:-45}"
export LSAN_OPTIONS="suppressions=$PWD/scripts/sanitizadores/lsan.supp:print_suppressions=0"
for harness in fuzz/corpus/*/; do
  nome="$(basename "$harness")"
  trabalho="build-fuzz/corpus-$nome"
  mkdir -p "$trabalho"
  echo "== $nome (${segundos}s)"
  (cd build-fuzz && "./fuzz/$nome" -max_total_time="$segundos" -print_final_stats=1 \
     -artifact_prefix="falha-$nome-" "../$trabalho" "../$harness" 2>&1 | tail -n 12)
done
