#pragma once

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app/apresentacao/apresentacao_pedidos_com_falha.h"

namespace tessora::win32 {

// The orders failing now, each with its whole message, and "Tentar novamente" for the one
// selected: a window of its own, resizable, since messages are long and the main window is not.
// Closing it hides it; it lives as long as the main window.
class JanelaPedidosComFalha {
  public:
    using TentarNovamente = std::function<void(const std::string& idApp)>;

    // `fonte` and the icons stay the caller's.
    JanelaPedidosComFalha(std::filesystem::path arquivoHistorico, HFONT fonte, HICON icone,
                          HICON iconePequeno, TentarNovamente tentarNovamente);
    ~JanelaPedidosComFalha();
    JanelaPedidosComFalha(const JanelaPedidosComFalha&) = delete;
    JanelaPedidosComFalha& operator=(const JanelaPedidosComFalha&) = delete;

    HWND Janela() const { return frmPedidosComFalha; }
    // Shown in front, with the orders read again.
    void Abrir();
    // Reads the history again, keeping the selected order while it still fails.
    void Atualizar();
    // A run began or ended: "Tentar novamente" waits for its end.
    void DefinirEmExecucao(bool emExecucao);

  private:
    static LRESULT CALLBACK Procedimento(HWND janela, UINT mensagem, WPARAM wParam, LPARAM lParam);
    LRESULT Tratar(UINT mensagem, WPARAM wParam, LPARAM lParam);
    void Dispor(int largura, int altura);
    void SelecaoMudou(const NMLISTVIEW& mudanca);
    void MostrarSelecionado();

    app::ApresentacaoPedidosComFalha apresentacao_;
    TentarNovamente tentarNovamente_;

    HWND frmPedidosComFalha = nullptr;
    HWND grdPedidosComFalha = nullptr;
    HWND memMensagem = nullptr;
    HWND lblSituacao = nullptr;
    HWND btnTentarNovamente = nullptr;
    HWND btnCopiarMensagem = nullptr;
    HWND btnFechar = nullptr;
};

}  // namespace tessora::win32
