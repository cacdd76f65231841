#!/usr/bin/env bash
# Installs the Debian packages of the named sets, each with the sets it builds on:
#   base     the program and the tools the demo runs
#   testes   base, and the Linux tests and benchmarks (also under the sanitizers)
#   windows  testes, and the Windows cross build, its installer and Wine
#   fuzz     base, and clang with its sanitizer runtimes for the libFuzzer harnesses
#   formato  clang-format
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 base|testes|windows|fuzz|formato..." >&2; exit 2; }

base=(
  build-essential cmake pkg-config ccache
  firebird-dev libfbclient2 firebird3.0-server-core
  libcurl4-openssl-dev libssl-dev openssl ca-certificates
  libsimdjson-dev libutf8proc-dev libcpp-httplib-dev
  qt6-base-dev libsqlite3-dev
)
# The tests' Firebird server program is not among them: its package, firebird3.0-server, sets up
# the machine's own Firebird service; scripts/servidor-firebird.sh unpacks the program alone.
testes=("${base[@]}" firebird3.0-utils libgtest-dev libgmock-dev libbenchmark-dev)
windows=("${testes[@]}" mingw-w64 wine64 wine32:i386 googletest dpkg-dev tcl nsis xvfb xauth
  fonts-wine)
fuzz=("${base[@]}" clang libclang-rt-14-dev)
formato=(clang-format)

packages=()
for conjunto in "$@"; do
  case "$conjunto" in
    base) packages+=("${base[@]}") ;;
    testes) packages+=("${testes[@]}") ;;
    windows) packages+=("${windows[@]}") ;;
    fuzz) packages+=("${fuzz[@]}") ;;
    formato) packages+=("${formato[@]}") ;;
    *) echo "unknown package set: $conjunto" >&2; exit 2 ;;
  esac
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# Wine's 32-bit loader, for the 32-bit Windows build, is a package of the i386 architecture.
if [[ " ${packages[*]} " == *" wine32:i386 "* ]] &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
