#include "plataforma/processos.h"

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>

#include <string>
#include <system_error>

#include "plataforma/texto_windows.h"

namespace tessora::plataforma {

bool IniciarPrograma(const std::filesystem::path& programa, std::string_view parametros) {
    const std::wstring linha = Utf16(parametros);
    const auto resultado = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", programa.c_str(), linha.empty() ? nullptr : linha.c_str(),
                      nullptr, SW_SHOWNORMAL));
    return resultado > 32;
}

uint32_t IdProcessoAtual() { return GetCurrentProcessId(); }

bool ExecutavelEmExecucao(const std::filesystem::path& executavel) {
    std::error_code erro;
    const std::wstring procurado = std::filesystem::weakly_canonical(executavel, erro).wstring();
    if (erro) return false;
    const HANDLE foto = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (foto == INVALID_HANDLE_VALUE) return false;
    bool achado = false;
    PROCESSENTRY32W entrada{};
    entrada.dwSize = sizeof entrada;
    for (BOOL ha = Process32FirstW(foto, &entrada); ha && !achado;
         ha = Process32NextW(foto, &entrada)) {
        if (entrada.th32ProcessID == GetCurrentProcessId()) continue;
        const HANDLE processo =
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entrada.th32ProcessID);
        if (!processo) continue;
        std::wstring imagem(32768, L'\0');
        DWORD tamanho = static_cast<DWORD>(imagem.size());
        if (QueryFullProcessImageNameW(processo, 0, imagem.data(), &tamanho)) {
            achado =
                CompareStringOrdinal(imagem.data(), static_cast<int>(tamanho), procurado.c_str(),
                                     static_cast<int>(procurado.size()), TRUE) == CSTR_EQUAL;
        }
        CloseHandle(processo);
    }
    CloseHandle(foto);
    return achado;
}

}  // namespace tessora::plataforma
