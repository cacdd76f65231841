#include <windows.h>

#include <iostream>

#include "plataforma/console.h"
#include "plataforma/saida_console_windows.h"

namespace tessora::plataforma {

namespace {
// Written as characters, the text shows right in any console code page; a file or a pipe
// gets the bytes unchanged.
void LigarAoConsole(std::ostream& fluxo, DWORD padrao) {
    const HANDLE saida = GetStdHandle(padrao);
    DWORD modo = 0;
    if (saida == INVALID_HANDLE_VALUE || !GetConsoleMode(saida, &modo)) return;
    // Never freed: the streams are flushed at exit, after every destructor of this program.
    fluxo.rdbuf(new SaidaConsole([saida](std::wstring_view texto) {
        DWORD escritos = 0;
        WriteConsoleW(saida, texto.data(), static_cast<DWORD>(texto.size()), &escritos, nullptr);
    }));
}
}  // namespace

void PrepararConsole() {
    LigarAoConsole(std::cout, STD_OUTPUT_HANDLE);
    LigarAoConsole(std::cerr, STD_ERROR_HANDLE);
}

}  // namespace tessora::plataforma
