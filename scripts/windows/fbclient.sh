#!/usr/bin/env bash
# Builds Firebird's client library fbclient.dll for one architecture (x86_64 or i686): a test
# fixture, so that the Windows program under Wine reaches a real Firebird server. It is never
# installed or shipped (Firebird's own build defines DEV_BUILD and compiles with -msse4).
# The source is Debian's firebird3.0 package of the installed client's version, completed with
# what Debian's repack leaves out: libtommath's source package, Boost's preprocessor headers, ICU's
# and zlib's headers (the library loads those two at run time, if ever), each from Debian's
# archive, and the build configuration and patch in firebird/ beside this script. The cross
# build takes the outputs of Firebird's build tools from a native folder: the parser and
# interface generators are built here from the same source, and the two embedded-SQL files of
# the client go through gpre of the installed Firebird, which is that same version. Built once
# into the cache of dependencias.sh; prints the folder that holds the DLL.
set -euo pipefail

source "$(dirname "$0")/fontes-debian.sh"

# Unpacks (once) the current binary package of that name from the machine's own archive,
# without installing it; prints its folder.
pacote_binario() {
  local pasta="$cache/pacotes/$1"
  if [ ! -f "$pasta/.completo" ]; then
    local baixados="$cache/pacotes/baixados"
    rm -rf "$pasta" "$baixados" && mkdir -p "$baixados"
    # The machine's package lists may be missing or stale; refreshed once if so.
    (cd "$baixados" && { apt-get -qq -o APT::Sandbox::User=root download "$1" >&2 ||
      { apt-get -qq update >&2 && apt-get -qq -o APT::Sandbox::User=root download "$1" >&2; }; })
    dpkg-deb -x "$baixados"/*.deb "$pasta"
    rm -rf "$baixados"
    touch "$pasta/.completo"
  fi
  echo "$pasta"
}

# The source tree made complete for the client library, patched for mingw-w64.
preparar_arvore() {
  local arvore=$1
  cp -a "$firebird" "$arvore"
  patch -p1 -d "$arvore" <"$raiz/scripts/windows/firebird/mingw.patch"
  cp "$raiz/scripts/windows/firebird/autoconfig.h.in" "$arvore/src/include/gen/"
  mkdir -p "$arvore/extern/libtommath" "$arvore/extern/boost/boost" "$arvore/extern/icu/include" \
    "$arvore/extern/zlib" "$arvore/extern/mingw-headers"
  cp "$tommath"/*.c "$tommath"/*.h "$arvore/extern/libtommath/"
  cp -r "$boost/usr/include/boost/preprocessor" "$arvore/extern/boost/boost/"
  cp -r "$icu/usr/include/unicode" "$arvore/extern/icu/include/"
  cp "$zlib/usr/include/zlib.h" "$zlib/usr/include/zconf.h" "$arvore/extern/zlib/"
  # Windows' file system ignores letter case; mingw-w64's headers are in lower case.
  local nome
  for nome in Security WinSock2 Winsock2 Windows Ws2tcpip Wspiapi; do
    echo "#include <${nome,,}.h>" >"$arvore/extern/mingw-headers/$nome.h"
  done
  # CMake wants the files of every target to exist, though only the client is built: the
  # header of instreg, which Debian leaves out, is not needed by it.
  touch "$arvore/src/utilities/install/registry.h"
}

# The native folder's outputs that the cross build takes: parse.h and parse.cpp from btyacc,
# the interface header from cloop (into the source tree, as Firebird's build puts it), and the
# client's embedded-SQL files preprocessed against a database of this version's metadata.
construir_nativo() {
  local arvore=$1 nativo=$2
  local ferramentas="$nativo/ferramentas"
  mkdir -p "$ferramentas" "$nativo/src/include/gen" "$nativo/src/dsql" "$nativo/src/yvalve"
  gcc -O2 -w "$arvore"/extern/btyacc/*.c -o "$ferramentas/btyacc"
  g++ -O2 -w "$arvore"/extern/cloop/src/cloop/*.cpp -o "$ferramentas/cloop"
  (
    cd "$ferramentas"
    sed -n '/%type .*/p' "$arvore/src/dsql/parse.y" >types.y
    sed 's/%type .*//' "$arvore/src/dsql/parse.y" >y.y
    ./btyacc -l -d -S "$arvore/src/dsql/btyacc_fb.ske" y.y
  )
  cp "$ferramentas/y_tab.h" "$nativo/src/include/gen/parse.h"
  cp "$ferramentas/y_tab.c" "$nativo/src/dsql/parse.cpp"
  "$ferramentas/cloop" "$arvore/src/include/firebird/FirebirdInterface.idl" c++ \
    "$arvore/src/include/firebird/IdlFbInterfaces.h" IDL_FB_INTERFACES_H Firebird I
  # The embedded engine, with lock files of its own, makes the metadata database.
  mkdir -p "$ferramentas/trava"
  echo "create database '$ferramentas/yachts.lnk';" |
    FIREBIRD_LOCK="$ferramentas/trava" isql-fb -q -b
  local arquivo
  for arquivo in array blob; do
    FIREBIRD_LOCK="$ferramentas/trava" gpre -n -m -b "$ferramentas/" \
      "$arvore/src/yvalve/$arquivo.epp" "$nativo/src/yvalve/$arquivo.epp.master.cpp"
  done
}

construir_fbclient() {
  local construcao="$cache/construcao/$arquitetura/fbclient"
  local registro="$construcao.log"
  rm -rf "$construcao" "$prefixo" && mkdir -p "$construcao"
  if ! (
    set -e
    preparar_arvore "$construcao/fontes"
    construir_nativo "$construcao/fontes" "$construcao/nativo"
    # The DLL carries its C and C++ runtime, so it needs system DLLs only, as the ERP's does.
    cmake -S "$construcao/fontes" -B "$construcao/cruzado" \
      -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/$toolchain" -DCMAKE_BUILD_TYPE=Release \
      -DNATIVE_BUILD_DIR="$construcao/nativo" -DCMAKE_SHARED_LINKER_FLAGS=-static \
      -DICU_EXTRACT=true -DZLIB_EXTRACT=true
    cmake --build "$construcao/cruzado" --target yvalve -j"$(nproc)"
    mkdir -p "$prefixo"
    cp "$construcao/cruzado/firebird/fbclient.dll" "$prefixo/"
  ) >"$registro" 2>&1; then
    tail -n 40 "$registro" >&2
    echo "building fbclient.dll for $arquitetura failed; full log: $registro" >&2
    exit 1
  fi
  rm -rf "$construcao"
  touch "$prefixo/.completo"
}

read -r pacote versao < <(versao_linux firebird-dev)
prefixo="$cache/$arquitetura/fbclient-$pacote-${versao//:/_}"
if [ ! -f "$prefixo/.completo" ]; then
  echo "building fbclient.dll of $pacote $versao for $arquitetura (once, into $prefixo)" >&2
  firebird=$(fontes "$pacote" "$versao")
  read -r pacote_tommath versao_tommath < <(versao_linux libtommath1)
  tommath=$(fontes "$pacote_tommath" "$versao_tommath")
  boost=$(pacote_binario libboost1.74-dev)
  icu=$(pacote_binario libicu-dev)
  zlib=$(pacote_binario zlib1g-dev)
  construir_fbclient
fi
echo "$prefixo"
