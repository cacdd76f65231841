#include "app/win32/hospedeiro_win32.h"

#include <utility>

#include "app/win32/tarefas_janela.h"

namespace tessora::win32 {

namespace {
constexpr UINT_PTR tmAppForcaVenda = 1;
constexpr UINT_PTR tmEncerramento = 2;

UINT_PTR Identificador(app::Temporizador temporizador) {
    return temporizador == app::Temporizador::Sincronizacao ? tmAppForcaVenda : tmEncerramento;
}
}  // namespace

void HospedeiroWin32::Postar(std::function<void()> tarefa) {
    PostarTarefa(janela_, std::move(tarefa));
}

void HospedeiroWin32::ArmarTemporizador(app::Temporizador temporizador,
                                        std::chrono::milliseconds intervalo) {
    // The rules keep the interval below USER_TIMER_MAXIMUM; SetTimer restarts a running timer.
    SetTimer(janela_, Identificador(temporizador), static_cast<UINT>(intervalo.count()), nullptr);
}

void HospedeiroWin32::PararTemporizador(app::Temporizador temporizador) {
    KillTimer(janela_, Identificador(temporizador));
}

std::optional<app::Temporizador> HospedeiroWin32::TemporizadorDoServico(WPARAM temporizador) {
    switch (temporizador) {
        case tmAppForcaVenda:
            return app::Temporizador::Sincronizacao;
        case tmEncerramento:
            return app::Temporizador::Vigia;
        default:
            return std::nullopt;
    }
}

}  // namespace tessora::win32
