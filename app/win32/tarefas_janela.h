#pragma once

#include <windows.h>

#include <functional>

namespace tessora::win32 {

// The message that carries a task to the thread of a window.
inline constexpr UINT kMensagemTarefa = WM_APP + 1;

// Has `tarefa` run on the window's thread when its queue gets there: posted messages keep
// their order, so a run's log lines come before its end.
void PostarTarefa(HWND janela, std::function<void()> tarefa);

// Runs the task that a kMensagemTarefa message carries; false for any other message.
bool ExecutarTarefa(UINT mensagem, LPARAM lParam);

}  // namespace tessora::win32
