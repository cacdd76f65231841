#!/usr/bin/env bash
# Cross-builds the Windows program, its installer and the test suites for x86_64 and i686 and
# runs both builds' test suites under Wine: each in a Wine prefix of its own inside its build
# folder (a 32-bit prefix for the 32-bit build, the one shipped), with a virtual display for
# the window program. The api suites talk to the substitute API of the Linux build in build/,
# which Wine starts as a Linux program. Then the Linux build's wine suite runs each build's
# program against a Firebird server of its own, through a Firebird client library built for
# that architecture by scripts/windows/fbclient.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-windows.sh x86_64
bash scripts/build-windows.sh i686
# The executables must run on a bare Windows: they may import system DLLs only. The
# installer is NSIS's own stub, which carries them.
for arquitetura in x86_64 i686; do
  pasta=build-windows; [ "$arquitetura" = i686 ] && pasta=build-windows-i686
  for exe in $(find "$pasta" -name '*.exe' -not -name '*-setup.exe' -not -path '*/wine/*' \
      -not -path '*/CMakeFiles/*'); do
    estranhas=$("$arquitetura-w64-mingw32-objdump" -p "$exe" | awk '/DLL Name/ {print $3}' |
      grep -viE '^(kernel32|msvcrt|user32|gdi32|comctl32|comdlg32|uxtheme|shell32|ole32|ws2_32|advapi32|crypt32|bcrypt|secur32|winmm)\.dll$' || true)
    if [ -n "$estranhas" ]; then
      echo "$exe imports DLLs that Windows does not provide: $estranhas" >&2
      exit 1
    fi
    # The shipped 32-bit program may use 4 GB on 64-bit Windows, not 2. (grep reads all of
    # objdump's output: with -q, objdump could die of a closed pipe and fail the check.)
    if [ "$arquitetura" = i686 ] &&
        ! "$arquitetura-w64-mingw32-objdump" -p "$exe" | grep 'large address aware' >/dev/null; then
      echo "$exe is not marked large address aware" >&2
      exit 1
    fi
  done
done
bash scripts/build.sh tessoraApiSubstitutaAuxiliar testes_sistema_wine
export WINEDEBUG=-all
# Some kernels refuse to start any 32-bit Linux program, Wine's 32-bit loader included. The
# 32-bit build is still built (it is the one shipped); only its run under Wine is left out there.
arquiteturas=(x86_64 i686)
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "== Windows i686 under Wine: skipped, this machine cannot run 32-bit programs" \
    "(/usr/lib/wine/wine does not start); the i686 build was built but not tested"
  arquiteturas=(x86_64)
fi
for arquitetura in "${arquiteturas[@]}"; do
  pasta=build-windows prefixo=win64 wine=/usr/lib/wine/wine64
  [ "$arquitetura" = i686 ] && pasta=build-windows-i686 prefixo=win32 wine=/usr/lib/wine/wine
  echo "== Windows $arquitetura under Wine"
  # The window program's test needs a display; Wine gets one of its own from Xvfb.
  (cd "$pasta" && WINEPREFIX="$PWD/wine" WINEARCH="$prefixo" \
     xvfb-run -a ctest --output-on-failure -j"$(nproc)")
  echo "== Windows $arquitetura under Wine with a Firebird server"
  fbclient=$(bash scripts/windows/fbclient.sh "$arquitetura")/fbclient.dll
  (cd build && WINEPREFIX="$PWD/../$pasta/wine" WINEARCH="$prefixo" TESSORA_WINE="$wine" \
     TESSORA_SERVICO_WINDOWS="$PWD/../$pasta/app/tessoraService.exe" \
     TESSORA_JANELA_WINDOWS="$PWD/../$pasta/tests/windows/testes_app_win32.exe" \
     TESSORA_FBCLIENT_WINDOWS="$fbclient" xvfb-run -a ctest --output-on-failure -L wine)
done
