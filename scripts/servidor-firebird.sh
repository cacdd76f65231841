#!/usr/bin/env bash
# Prints the Firebird server program that the tests run as their private server: the one of
# Debian's firebird3.0-server package at the version of the installed firebird3.0-server-core,
# unpacked once, without installing that package (its scripts set up the machine's own Firebird
# service), into a cache outside the build folders (TESSORA_CACHE_FIREBIRD, by default
# ~/.cache/tessora-firebird). The libraries it loads come with the installed packages.
set -euo pipefail

versao=$(dpkg-query -W -f='${Version}' firebird3.0-server-core)
cache=${TESSORA_CACHE_FIREBIRD:-${XDG_CACHE_HOME:-$HOME/.cache}/tessora-firebird}
pasta="$cache/${versao//:/_}"
programa="$pasta/usr/sbin/firebird"
if [ ! -x "$programa" ]; then
  baixados=$(mktemp -d)
  trap 'rm -rf "$baixados"' EXIT
  baixar() {
    (cd "$baixados" && apt-get download -qq -o APT::Sandbox::User=root \
       "firebird3.0-server=$versao") >&2
  }
  if ! baixar; then
    # The machine's package lists may predate that version.
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq >&2
    baixar
  fi
  dpkg-deb --fsys-tarfile "$baixados"/firebird3.0-server_*.deb |
    tar -x -C "$baixados" ./usr/sbin/firebird
  # Moved in whole, so that an interrupted unpacking leaves no program behind.
  mkdir -p "$(dirname "$programa")"
  mv "$baixados/usr/sbin/firebird" "$programa.novo"
  mv "$programa.novo" "$programa"
fi
echo "$programa"
