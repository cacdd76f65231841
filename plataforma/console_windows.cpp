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
// A window program has no console of its own: run from a command prompt, its commands write
// to the prompt's. Standard handles that the caller redirected stay as they are.
void UsarConsoleDoChamador() {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    for (const DWORD padrao : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE atual = GetStdHandle(padrao);
        if (atual && atual != INVALID_HANDLE_VALUE && GetFileType(atual) != FILE_TYPE_UNKNOWN) {
            continue;
        }
        const HANDLE console =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE) SetStdHandle(padrao, console);
    }
}
}  // namespace

void PrepararConsole() {
    UsarConsoleDoChamador();
    LigarAoConsole(std::cout, STD_OUTPUT_HANDLE);
    LigarAoConsole(std::cerr, STD_ERROR_HANDLE);
}

}  // namespace tessora::plataforma
