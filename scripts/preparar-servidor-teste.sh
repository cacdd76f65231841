#!/usr/bin/env bash
# Prepares the system's Firebird server for the tests that reach a database through it: the
# program logs in with fixed credentials, while the server package draws a random SYSDBA
# password. Sets it once in the server's security database, as the server's own user so that
# the lock files it leaves stay the server's; does nothing when already done.
set -euo pipefail

senha=kv82rtqzn
seguranca=/var/lib/firebird/3.0/system/security3.fdb
arquivo_senha=/etc/firebird/3.0/SYSDBA.password
[ -f "$seguranca" ] || exit 0
grep -q "ISC_PASSWORD=\"$senha\"" "$arquivo_senha" 2>/dev/null && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "alter user SYSDBA password '$senha';" |
  $sudo runuser -u firebird -- isql-fb -q -user SYSDBA "$seguranca"
$sudo sed -i "s/^ISC_PASSWORD=.*/ISC_PASSWORD=\"$senha\"/" "$arquivo_senha"
