# Sourced by the scripts that cross-build Windows libraries from Debian's source packages,
# whose first argument is the architecture: its CMake toolchain file, the shared cache
# (TESSORA_CACHE_WINDOWS, by default ~/.cache/tessora-windows), held locked by this process, and
# the fetching of source packages through the source entries in apt/ beside this file.
arquitetura=${1:?"usage: $0 x86_64|i686"}
case "$arquitetura" in
  x86_64) toolchain=mingw-w64.cmake ;;
  i686) toolchain=mingw-w64-i686.cmake ;;
  *) echo "unknown architecture: $arquitetura" >&2; exit 2 ;;
esac
raiz=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cache=${TESSORA_CACHE_WINDOWS:-${XDG_CACHE_HOME:-$HOME/.cache}/tessora-windows}
mkdir -p "$cache"
# Builds of both architectures may run at once; they share the downloaded sources.
exec 9>"$cache/.trava"
flock 9

opcoes_apt=(
  -o Dir::Etc::SourceList=/dev/null
  -o Dir::Etc::SourceParts="$raiz/scripts/windows/apt"
  -o Dir::State::Lists="$cache/apt/lists"
  -o Dir::Cache="$cache/apt/cache"
  -o APT::Sandbox::User=root
)
indice_atualizado=false

# The source package and version that an installed package was built from.
versao_linux() {
  dpkg-query -W -f='${source:Package} ${source:Version}\n' "$1"
}

# Unpacks (once) the source package at that version, Debian's patches applied; prints its folder.
fontes() {
  local pacote=$1 versao=$2
  local pasta="$cache/fontes/$pacote-${versao//:/_}"
  if [ ! -f "$pasta/.completo" ]; then
    if ! $indice_atualizado; then
      mkdir -p "$cache/apt/lists/partial" "$cache/apt/cache/archives/partial"
      apt-get -qq "${opcoes_apt[@]}" update >&2
      indice_atualizado=true
    fi
    local baixados="$cache/fontes/baixados"
    rm -rf "$pasta" && mkdir -p "$baixados"
    (cd "$baixados" && apt-get -qq "${opcoes_apt[@]}" source --download-only "$pacote=$versao" >&2)
    dpkg-source -x "$baixados/${pacote}_${versao#*:}.dsc" "$pasta" >"$pasta.log" 2>&1 ||
      { cat "$pasta.log" >&2; exit 1; }
    touch "$pasta/.completo"
  fi
  echo "$pasta"
}
