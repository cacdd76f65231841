#pragma once

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "app/apresentacao/apresentacao_historico.h"
#include "comum/avisos.h"

namespace tessora::win32 {

// The page of recorded runs: the latest runs, the orders of the selected one, a filter for
// failures, a search by order, ERP number or customer and the export of what is shown to a CSV
// file, as its presenter decides them. Its controls' commands and notifications reach the
// window, which hands them here.
class PaginaHistorico {
  public:
    // At `area` of `janela` (pixels). With `abrirJanela`, a button "Abrir em janela" calls it.
    PaginaHistorico(HWND janela, const RECT& area, HFONT fonte,
                    std::filesystem::path arquivoHistorico, Avisos& avisos,
                    std::function<void()> abrirJanela = {});

    HWND Pagina() const { return tsHistorico; }
    // The page moved to `area` of its window (pixels), its controls following its size.
    void Dispor(const RECT& area);
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
    std::function<void()> abrirJanela_;

    HWND tsHistorico;
    HWND ckbFalhasEAvisos;
    HWND lblPesquisaPedido;
    HWND edtPesquisaPedido;
    HWND btnExportarCsv;
    HWND grdExecucoes;
    HWND grdPedidos;
    HWND lblSituacaoHistorico;
    HWND btnAbrirJanelaHistorico = nullptr;  // only with a window to open
};

}  // namespace tessora::win32
