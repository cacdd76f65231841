#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>

#include "app/win32/pagina_historico.h"
#include "comum/avisos.h"

namespace tessora::win32 {

// The history page in a window of its own, which the operator sizes to read it; the main
// window's size is fixed. Closing it hides it.
class JanelaHistorico {
  public:
    // `fonte` outlives the window.
    JanelaHistorico(HFONT fonte, std::filesystem::path arquivoHistorico, Avisos& avisos);
    ~JanelaHistorico();
    JanelaHistorico(const JanelaHistorico&) = delete;
    JanelaHistorico& operator=(const JanelaHistorico&) = delete;

    HWND Janela() const { return frmHistorico; }
    // Read again and brought to the front.
    void Mostrar();
    // Read again while shown: after a run.
    void Atualizar();

  private:
    static LRESULT CALLBACK Procedimento(HWND janela, UINT mensagem, WPARAM wParam, LPARAM lParam);
    LRESULT Tratar(UINT mensagem, WPARAM wParam, LPARAM lParam);
    RECT AreaDaPagina() const;

    HWND frmHistorico = nullptr;
    std::unique_ptr<PaginaHistorico> pagina_;
};

}  // namespace tessora::win32
