#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the demo need.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-server firebird3.0-utils
  libcurl4-openssl-dev libssl-dev openssl ca-certificates
  libsimdjson-dev libutf8proc-dev libcpp-httplib-dev
  qt6-base-dev
  libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  mingw-w64 wine64 wine32:i386 googletest dpkg-dev tcl nsis xvfb xauth fonts-wine
  ccache
  clang libclang-rt-14-dev clang-format
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# Wine's 32-bit loader, for the 32-bit Windows build, is a package of the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
