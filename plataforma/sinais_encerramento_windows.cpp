#include "plataforma/sinais_encerramento.h"

// winsock2.h before windows.h, which would bring the older sockets header.
#include <winsock2.h>

#include <windows.h>

#include <chrono>
#include <csignal>
#include <future>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace tessora::plataforma {

namespace {
// A connected pair of loopback sockets: the event loop watches sockets only.
SOCKET leitura = INVALID_SOCKET;
SOCKET escrita = INVALID_SOCKET;

void Avisar() {
    const char byte = 1;
    send(escrita, &byte, 1, 0);
}

void AoReceberSinal(int sinal) {
    Avisar();
    std::signal(sinal, AoReceberSinal);
}

BOOL WINAPI AoReceberEvento(DWORD evento) {
    Avisar();
    // The system ends the process once this returns for these: let the program's own
    // end come first.
    if (evento == CTRL_CLOSE_EVENT || evento == CTRL_LOGOFF_EVENT || evento == CTRL_SHUTDOWN_EVENT)
        Sleep(INFINITE);
    return TRUE;
}

// A program that loads user32 gets no console event at logoff or shutdown: the system asks
// its top-level windows instead. This hidden one answers for the whole process.
LRESULT CALLBACK AoReceberMensagem(HWND janela, UINT mensagem, WPARAM wParam, LPARAM lParam) {
    if (mensagem == WM_ENDSESSION && wParam) {
        Avisar();
        Sleep(INFINITE);  // the session ends this process once this returns
    }
    return DefWindowProcW(janela, mensagem, wParam, lParam);
}

void VigiarFimDaSessao() {
    auto pronta = std::make_shared<std::promise<void>>();
    std::thread([pronta] {
        WNDCLASSW classe{};
        classe.lpfnWndProc = AoReceberMensagem;
        classe.hInstance = GetModuleHandleW(nullptr);
        classe.lpszClassName = L"tessoraFimDaSessao";
        RegisterClassW(&classe);
        // Not a message-only window: those miss the messages sent to every top-level window.
        const HWND janela = CreateWindowExW(0, classe.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr,
                                            nullptr, classe.hInstance, nullptr);
        pronta->set_value();
        if (!janela) return;
        MSG mensagem;
        while (GetMessageW(&mensagem, nullptr, 0, 0) > 0) DispatchMessageW(&mensagem);
    }).detach();
    // A process that ended while this thread was still creating its window would leave Wine's
    // client writing to a closed channel (the process then fails at exit): start-up waits.
    pronta->get_future().wait_for(std::chrono::seconds(10));
}

void InstalarTratadores() {
    std::signal(SIGTERM, AoReceberSinal);
    std::signal(SIGINT, AoReceberSinal);
    SetConsoleCtrlHandler(AoReceberEvento, FALSE);
    SetConsoleCtrlHandler(AoReceberEvento, TRUE);  // the last one added is asked first
}

[[noreturn]] void Falhar(const char* onde) {
    throw std::system_error(WSAGetLastError(), std::system_category(), onde);
}

void CriarPar() {
    WSADATA dados;
    if (WSAStartup(MAKEWORD(2, 2), &dados) != 0) Falhar("WSAStartup");
    const SOCKET ouvinte = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (ouvinte == INVALID_SOCKET) Falhar("socket");
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int tamanho = sizeof endereco;
    if (bind(ouvinte, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0 ||
        listen(ouvinte, 1) != 0 ||
        getsockname(ouvinte, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0) {
        Falhar("listen");
    }
    escrita = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (escrita == INVALID_SOCKET ||
        connect(escrita, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0) {
        Falhar("connect");
    }
    leitura = accept(ouvinte, nullptr, nullptr);
    closesocket(ouvinte);
    if (leitura == INVALID_SOCKET) Falhar("accept");
    u_long naoBloqueia = 1;
    ioctlsocket(leitura, FIONBIO, &naoBloqueia);
}
}  // namespace

// Requests arrive on threads of their own here (console events, the session's end) or as C
// runtime signals: there is nothing to hold back, only to turn into a readable socket.
int DesviarSinaisEncerramento() {
    static std::once_flag feito;
    std::call_once(feito, [] {
        CriarPar();
        InstalarTratadores();
        VigiarFimDaSessao();
    });
    return static_cast<int>(leitura);
}

void LiberarSinaisEncerramento() { InstalarTratadores(); }

bool AguardarSinaisEncerramento(int descritor, std::chrono::milliseconds limite) {
    fd_set conjunto;
    FD_ZERO(&conjunto);
    FD_SET(static_cast<SOCKET>(descritor), &conjunto);
    const auto segundos = std::chrono::duration_cast<std::chrono::seconds>(limite);
    timeval espera{static_cast<long>(segundos.count()),
                   static_cast<long>((limite - segundos).count() * 1000)};
    return select(0, &conjunto, nullptr, nullptr, &espera) == 1;
}

void ConsumirSinaisEncerramento(int descritor) {
    char bytes[16];
    while (recv(static_cast<SOCKET>(descritor), bytes, sizeof bytes, 0) > 0) {
    }
}

}  // namespace tessora::plataforma
