// The test program doubles as the helper program that the process tests start.
// windows.h first: the other system headers build on it.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "plataforma/texto_windows.h"

int main(int argc, char** argv) {
    // "--eco <file> <arguments...>": the arguments as received, joined by "|", in UTF-8.
    if (argc >= 3 && std::string_view(argv[1]) == "--eco") {
        int quantos = 0;
        wchar_t** argumentos = CommandLineToArgvW(GetCommandLineW(), &quantos);
        if (!argumentos || quantos < 3) return 1;
        std::string linha;
        for (int i = 3; i < quantos; ++i) linha += tessora::plataforma::Utf8(argumentos[i]) + "|";
        const std::filesystem::path saida(argumentos[2]);
        LocalFree(argumentos);
        std::ofstream(saida, std::ios::binary) << linha;
        return 0;
    }
    // "--esperar <ms>": stays a while, to be seen running.
    if (argc == 3 && std::string_view(argv[1]) == "--esperar") {
        Sleep(static_cast<DWORD>(std::atoi(argv[2])));
        return 0;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
