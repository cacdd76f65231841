#!/usr/bin/env bash
# Builds the Windows program's third-party libraries for one architecture (x86_64 or i686)
# as static libraries: simdjson, utf8proc, libcurl with Windows' own TLS (Schannel) and SQLite.
# Each comes from Debian's source package of exactly the version the Linux build uses,
# fetched through the source entries in apt/ beside this script, and is built once into a
# cache outside the build folders (TESSORA_CACHE_WINDOWS, by default ~/.cache/tessora-windows),
# one install prefix per library, architecture and version. Prints the prefixes as a CMake
# list for CMAKE_PREFIX_PATH.
set -euo pipefail

source "$(dirname "$0")/fontes-debian.sh"

# Configures, builds and installs a CMake project with the project's toolchain for this
# architecture; the build log stays in the cache and is shown when the build fails.
construir_cmake() {
  local nome=$1 origem=$2 prefixo=$3
  shift 3
  local construcao="$cache/construcao/$arquitetura/$nome"
  local registro="$cache/construcao/$arquitetura/$nome.log"
  rm -rf "$construcao" "$prefixo" && mkdir -p "$construcao"
  if ! {
    cmake -S "$origem" -B "$construcao" -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefixo" -DBUILD_SHARED_LIBS=OFF "$@" &&
      cmake --build "$construcao" -j"$(nproc)" && cmake --install "$construcao"
  } >"$registro" 2>&1; then
    tail -n 40 "$registro" >&2
    echo "building $nome for $arquitetura failed; full log: $registro" >&2
    exit 1
  fi
  rm -rf "$construcao"
  touch "$prefixo/.completo"
}

# SQLite's source package holds its source tree, not the single-file amalgamation: the
# amalgamation is generated on this machine (its generators are C and Tcl programs that run
# here) and then compiled with the cross compiler into a static library with a pkg-config file.
construir_sqlite() {
  local nome=$1 origem=$2 prefixo=$3
  local construcao="$cache/construcao/$arquitetura/$nome"
  local registro="$cache/construcao/$arquitetura/$nome.log"
  rm -rf "$construcao" "$prefixo" && mkdir -p "$construcao" "$prefixo/include" "$prefixo/lib/pkgconfig"
  if ! (
    set -e
    cd "$construcao"
    "$origem/configure" --disable-tcl --disable-readline --disable-editline
    make sqlite3.c
    "$arquitetura-w64-mingw32-gcc-posix" -O2 -DNDEBUG -DSQLITE_THREADSAFE=1 -c sqlite3.c -o sqlite3.o
    "$arquitetura-w64-mingw32-ar" rcs "$prefixo/lib/libsqlite3.a" sqlite3.o
    cp sqlite3.h sqlite3ext.h "$prefixo/include/"
    printf '%s\n' "prefix=$prefixo" 'Name: SQLite' 'Description: SQL database engine' \
      "Version: $(cat "$origem/VERSION")" 'Libs: -L${prefix}/lib -lsqlite3' \
      'Cflags: -I${prefix}/include' >"$prefixo/lib/pkgconfig/sqlite3.pc"
  ) >"$registro" 2>&1; then
    tail -n 40 "$registro" >&2
    echo "building $nome for $arquitetura failed; full log: $registro" >&2
    exit 1
  fi
  rm -rf "$construcao"
  touch "$prefixo/.completo"
}

# One library: its prefix is built unless a complete one is already there. The first
# argument names the build function, the second the Linux development package.
biblioteca() {
  local construir=$1 pacote_linux=$2
  shift 2
  local pacote versao
  read -r pacote versao < <(versao_linux "$pacote_linux")
  local prefixo="$cache/$arquitetura/$pacote-${versao//:/_}"
  if [ ! -f "$prefixo/.completo" ]; then
    echo "building $pacote $versao for $arquitetura (once, into $prefixo)" >&2
    "$construir" "$pacote" "$(fontes "$pacote" "$versao")" "$prefixo" "$@"
  fi
  prefixos+=("$prefixo")
}

prefixos=()
biblioteca construir_cmake libsimdjson-dev -DSIMDJSON_DEVELOPER_MODE=OFF -DSIMDJSON_ENABLE_THREADS=ON
biblioteca construir_cmake libutf8proc-dev -DUTF8PROC_INSTALL=ON -DUTF8PROC_ENABLE_TESTING=OFF
# Only what the program's client uses: HTTPS through Schannel, nothing that would pull in
# another DLL.
biblioteca construir_cmake libcurl4-openssl-dev -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF \
  -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DHTTP_ONLY=ON -DCURL_ZLIB=OFF \
  -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF -DUSE_LIBIDN2=OFF -DUSE_WIN32_IDN=OFF \
  -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBPSL=OFF -DENABLE_UNIX_SOCKETS=OFF \
  -DCURL_CA_BUNDLE=none -DCURL_CA_PATH=none
biblioteca construir_sqlite libsqlite3-dev

(IFS=';'; echo "${prefixos[*]}")
