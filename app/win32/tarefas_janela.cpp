#include "app/win32/tarefas_janela.h"

#include <memory>
#include <utility>

namespace tessora::win32 {

void PostarTarefa(HWND janela, std::function<void()> tarefa) {
    auto levada = std::make_unique<std::function<void()>>(std::move(tarefa));
    if (PostMessageW(janela, kMensagemTarefa, 0, reinterpret_cast<LPARAM>(levada.get()))) {
        levada.release();  // the message owns it now
    }
}

bool ExecutarTarefa(UINT mensagem, LPARAM lParam) {
    if (mensagem != kMensagemTarefa) return false;
    const std::unique_ptr<std::function<void()>> tarefa(
        reinterpret_cast<std::function<void()>*>(lParam));
    (*tarefa)();
    return true;
}

}  // namespace tessora::win32
