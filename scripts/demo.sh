#!/usr/bin/env bash
# Lays out a demo ERP installation under demo/, starts the substitute API with the sample
# orders, and runs one synchronisation with the program, printing its processing log.
# With --janela, the tray program then opens on the same installation when a display is
# present; the demo ends when the program does ("Encerrar Serviços" or "&Sair").
set -euo pipefail
cd "$(dirname "$0")/.."

janela=false
case "${1:-}" in
  "") ;;
  --janela) janela=true ;;
  *) echo "uso: $0 [--janela]" >&2; exit 2 ;;
esac
if $janela && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "--janela needs a display (DISPLAY or WAYLAND_DISPLAY)" >&2
  exit 2
fi
bash scripts/build.sh --programa

raiz="$PWD/demo"
rm -rf "$raiz"
programa="$raiz/Sistema/Servico"
dados="$raiz/Sistema/Dados"
api="$raiz/api"
mkdir -p "$programa" "$dados" "$api" "$raiz/firebird-lock"
# The embedded engine keeps its lock files apart from any running server's.
export FIREBIRD_LOCK="$raiz/firebird-lock"

build/tools/banco-erp/tessoraCriarBancoErp "$dados/ERP.FDB" erp/esquema.sql erp/semente.sql
printf '[Database]\r\nServidor=\r\npath=%s/\r\nname=ERP.FDB\r\n' "$dados" >"$dados/servidor.ini"
printf '[IniServidor]\r\nnomearquivo=%s/servidor.ini\r\n' "$dados" >"$programa/tessoraempresa.ini"
cp build/app/tessoraService "$programa/"
# The master folder "Update" beside the data folder publishes the current build (same
# last-write time, so start-up finds the program current) and holds the updater. Copy a
# newer build over "$mestre/tessoraService" to watch the tray program update itself.
mestre="$raiz/Sistema/Update"
mkdir -p "$mestre"
cp -p "$programa/tessoraService" "$mestre/"
cp build/atualizador/tessoraAtualizador "$mestre/"

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 \
  -addext subjectAltName=IP:127.0.0.1,DNS:localhost \
  -keyout "$api/chave.pem" -out "$api/certificado.pem" 2>/dev/null
cp erp/demo/estado-api.json "$api/estado.json"
echo '[]' >"$api/regras.json"
build/tools/api-substituta/tessoraApiSubstituta --porta 0 --certificado "$api/certificado.pem" \
  --chave "$api/chave.pem" --estado "$api/estado.json" --regras "$api/regras.json" \
  --registro "$api/requisicoes.log" >"$api/saida.txt" 2>&1 &
servidor=$!
trap 'kill $servidor 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  grep -q '^porta=' "$api/saida.txt" 2>/dev/null && break
  sleep 0.1
done
porta=$(sed -n 's/^porta=//p' "$api/saida.txt")
[ -n "$porta" ] || { cat "$api/saida.txt" >&2; exit 1; }

printf '[AppForcaVendas]\r\nUrlBaseApi=https://127.0.0.1:%s/api\r\nArquivoCertificados=%s\r\n' \
  "$porta" "$api/certificado.pem" >"$programa/tessoraService.ini"

echo "Demo ERP installation: $raiz/Sistema (substitute API on port $porta)"
echo
"$programa/tessoraService" --sincronizar

if $janela; then
  echo
  echo "Opening the tray program on the demo installation (\"Sincronizar Agora\" runs again)..."
  "$programa/tessoraService"
fi
