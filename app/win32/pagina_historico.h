#pragma once

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <vector>

#include "app/apresentacao/apresentacao_historico.h"
#include "comum/avisos.h"

namespace tessora::win32 {

// The page of recorded runs: the latest runs, the orders of the selected one, a filter for
// failures, a search by order id and the export of what is shown to a CSV file, as its
// presenter decides them. Its controls' commands and notifications reach the window, which
// hands them here.
class PaginaHistorico {
  public:
    PaginaHistorico(HWND janela, const RECT& area, HFONT fonte,
                    std::filesystem::path arquivoHistorico, Avisos& avisos);

    HWND Pagina() const { return tsHistorico; }
    // Reads the history again, keeping an older selected run when it is still shown.
    void Atualizar();
    // A control of this page: true when it was one.
    bool Comando(int controle, int notificacao);
    bool Notificacao(const NMHDR& cabecalho, LPARAM lParam, LRESULT& resultado);

  private:
    void btnExportarCsvClick();
    void MostrarPedidos();
    void SelecaoMudou(const NMLISTVIEW& mudanca);
    const std::vector<app::LinhaGrade>& Linhas(bool execucoes) const;

    Avisos& avisos_;
    app::ApresentacaoHistorico apresentacao_;

    HWND tsHistorico;
    HWND ckbFalhasEAvisos;
    HWND edtPesquisaPedido;
    HWND grdExecucoes;
    HWND grdPedidos;
    HWND lblSituacaoHistorico;
};

}  // namespace tessora::win32
