#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>

#include "app/servico/portas_servico.h"

namespace tessora::win32 {

// The window's side of the resident service: posted tasks as messages to the window, and the
// synchronisation timer `tmAppForcaVenda` and the shutdown watch `tmEncerramento` as the
// window's timers. Lives on the window's thread.
class HospedeiroWin32 : public app::HospedeiroServico {
  public:
    // `janela` receives the timers and the posted tasks, and hands them to the service.
    explicit HospedeiroWin32(HWND janela) : janela_(janela) {}

    void Postar(std::function<void()> tarefa) override;
    void ArmarTemporizador(app::Temporizador temporizador,
                           std::chrono::milliseconds intervalo) override;
    void PararTemporizador(app::Temporizador temporizador) override;

    // Which of the service's timers a WM_TIMER is for; nothing for any other timer.
    static std::optional<app::Temporizador> TemporizadorDoServico(WPARAM temporizador);

  private:
    const HWND janela_;
};

}  // namespace tessora::win32
