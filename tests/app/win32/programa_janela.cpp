#include "programa_janela.h"

#include <shellapi.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace tessora::testes {

std::wstring Texto(HWND janela) {
    std::wstring texto(static_cast<size_t>(SendMessageW(janela, WM_GETTEXTLENGTH, 0, 0)) + 1,
                       L'\0');
    texto.resize(static_cast<size_t>(
        SendMessageW(janela, WM_GETTEXT, texto.size(), reinterpret_cast<LPARAM>(texto.data()))));
    return texto;
}

bool AguardarIconeBandeja(HWND janela, bool presente) {
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < limite) {
        NOTIFYICONDATAW dados{};
        dados.cbSize = sizeof dados;
        dados.hWnd = janela;
        dados.uID = 1;
        dados.uFlags = NIF_TIP;
        lstrcpyW(dados.szTip, L"tessora Service");
        if ((Shell_NotifyIconW(NIM_MODIFY, &dados) != FALSE) == presente) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

ProgramaJanela::ProgramaJanela(const std::filesystem::path& pastaPrograma) {
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    std::wstring linha = L"\"" + (pastaPrograma / "tessoraService.exe").wstring() + L"\"";
    if (!CreateProcessW(nullptr, linha.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        pastaPrograma.c_str(), &inicio, &processo_)) {
        throw std::runtime_error("o programa não pôde ser iniciado");
    }
}

ProgramaJanela::~ProgramaJanela() {
    TerminateProcess(processo_.hProcess, 99);  // a no-op once it has ended
    CloseHandle(processo_.hProcess);
    CloseHandle(processo_.hThread);
}

HWND ProgramaJanela::AguardarJanela(const std::wstring& classe) const {
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < limite) {
        for (HWND janela = FindWindowExW(nullptr, nullptr, classe.c_str(), nullptr); janela;
             janela = FindWindowExW(nullptr, janela, classe.c_str(), nullptr)) {
            DWORD dono = 0;
            GetWindowThreadProcessId(janela, &dono);
            if (dono == processo_.dwProcessId) return janela;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return nullptr;
}

DWORD ProgramaJanela::AguardarFim() {
    if (WaitForSingleObject(processo_.hProcess, 60000) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD codigo = 0;
    GetExitCodeProcess(processo_.hProcess, &codigo);
    return codigo;
}

}  // namespace tessora::testes
