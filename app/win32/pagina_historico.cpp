#include "app/win32/pagina_historico.h"

#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "app/apresentacao/cores.h"
#include "app/apresentacao/textos_janela.h"
#include "app/win32/controles_win32.h"
#include "app/win32/grade_win32.h"
#include "plataforma/texto_windows.h"

namespace tessora::win32 {

namespace {
enum : int {
    idCkbFalhasEAvisos = 200,
    idEdtPesquisaPedido,
    idBtnExportarCsv,
    idGrdExecucoes,
    idGrdPedidos,
    idBtnAbrirJanelaHistorico,
};
}  // namespace

PaginaHistorico::PaginaHistorico(HWND janela, const RECT& area, HFONT f,
                                 std::filesystem::path arquivoHistorico, Avisos& avisos,
                                 std::function<void()> abrirJanela)
    : avisos_(avisos),
      apresentacao_(app::LeituraDoArquivo(std::move(arquivoHistorico))),
      abrirJanela_(std::move(abrirJanela)) {
    tsHistorico = CriarPagina(janela, area);
    const HWND p = tsHistorico;
    // Placed by Dispor.
    ckbFalhasEAvisos =
        CriarControle(p, WC_BUTTONW, app::kFalhasEAvisos, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                      {}, idCkbFalhasEAvisos, f);
    lblPesquisaPedido =
        CriarControle(p, WC_STATICW, app::kRotuloPesquisa, WS_VISIBLE | SS_NOPREFIX, {}, 0, f);
    edtPesquisaPedido = CriarControle(p, WC_EDITW, "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, {},
                                      idEdtPesquisaPedido, f, WS_EX_CLIENTEDGE);
    const std::wstring dica = plataforma::Utf16(app::kDicaPesquisa);
    SendMessageW(edtPesquisaPedido, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(dica.c_str()));
    btnExportarCsv = CriarControle(p, WC_BUTTONW, app::kExportarCsv, WS_VISIBLE | WS_TABSTOP, {},
                                   idBtnExportarCsv, f);
    grdExecucoes =
        CriarGrade(p, idGrdExecucoes, app::kColunasExecucao, app::kPrimeiraContagemExecucao, {}, f);
    grdPedidos =
        CriarGrade(p, idGrdPedidos, app::kColunasPedido, app::kPrimeiraContagemPedido, {}, f);
    lblSituacaoHistorico = CriarControle(p, WC_STATICW, "", WS_VISIBLE | SS_NOPREFIX, {}, 0, f);
    if (abrirJanela_) {
        btnAbrirJanelaHistorico =
            CriarControle(p, WC_BUTTONW, app::kAbrirJanelaHistorico, WS_VISIBLE | WS_TABSTOP, {},
                          idBtnAbrirJanelaHistorico, f);
    }
    Dispor(area);
}

void PaginaHistorico::Dispor(const RECT& area) {
    const int largura = area.right - area.left;
    const int altura = area.bottom - area.top;
    MoveWindow(tsHistorico, area.left, area.top, largura, altura, TRUE);
    // Design sizes scaled to the screen, from the page's edges.
    const auto colocar = [](HWND controle, int x, int y, int w, int h) {
        MoveWindow(controle, x, y, std::max(w, 0), std::max(h, 0), TRUE);
    };
    const int margem = Escalar(10);
    const int direita = largura - margem;
    colocar(ckbFalhasEAvisos, margem, Escalar(6), Escalar(130), Escalar(22));
    colocar(lblPesquisaPedido, Escalar(150), Escalar(8), Escalar(64), Escalar(18));
    colocar(edtPesquisaPedido, Escalar(216), Escalar(6), Escalar(190), Escalar(22));
    colocar(btnExportarCsv, direita - Escalar(120), Escalar(3), Escalar(120), Escalar(28));

    const int rodape = altura - Escalar(28);
    int larguraSituacao = direita - margem;
    if (btnAbrirJanelaHistorico) {
        colocar(btnAbrirJanelaHistorico, direita - Escalar(120), rodape, Escalar(120), Escalar(26));
        larguraSituacao -= Escalar(126);
    }
    colocar(lblSituacaoHistorico, margem, rodape + Escalar(5), larguraSituacao, Escalar(18));

    // The two lists share what is left between.
    const int topo = Escalar(34);
    const int entre = Escalar(4);
    const int alturaGrade = (rodape - entre - topo - entre) / 2;
    colocar(grdExecucoes, margem, topo, direita - margem, alturaGrade);
    colocar(grdPedidos, margem, topo + alturaGrade + entre, direita - margem, alturaGrade);
    AjustarColunasGrade(grdExecucoes, app::kColunasExecucao.size());
    AjustarColunasGrade(grdPedidos, app::kColunasPedido.size());
}

void PaginaHistorico::Atualizar() {
    const std::optional<size_t> linha = apresentacao_.Atualizar();
    DefinirTexto(lblSituacaoHistorico, apresentacao_.Situacao());
    PreencherGrade(grdExecucoes, apresentacao_.Execucoes(), app::kColunasExecucao.size());
    if (linha) SelecionarLinhaGrade(grdExecucoes, static_cast<int>(*linha));
    MostrarPedidos();
}

void PaginaHistorico::MostrarPedidos() {
    PreencherGrade(grdPedidos, apresentacao_.Pedidos(), app::kColunasPedido.size());
}

// The list tells the selection's moves one row at a time: the row left, then the row chosen.
void PaginaHistorico::SelecaoMudou(const NMLISTVIEW& mudanca) {
    if (!(mudanca.uChanged & LVIF_STATE)) return;
    const bool antes = mudanca.uOldState & LVIS_SELECTED;
    const bool agora = mudanca.uNewState & LVIS_SELECTED;
    const std::optional<size_t> linha =
        mudanca.iItem >= 0 ? std::optional(static_cast<size_t>(mudanca.iItem)) : std::nullopt;
    bool mudou = false;
    if (agora && !antes) {
        mudou = apresentacao_.Selecionar(linha);
    } else if (antes && !agora) {
        // No row: every row let go.
        mudou = linha ? apresentacao_.Desmarcar(*linha) : apresentacao_.Selecionar(std::nullopt);
    }
    if (mudou) MostrarPedidos();
}

void PaginaHistorico::btnExportarCsvClick() {
    wchar_t arquivo[MAX_PATH] = {};
    lstrcpynW(arquivo, plataforma::Utf16(app::kArquivoExportacaoCsv).c_str(), MAX_PATH);
    const std::wstring titulo = plataforma::Utf16(app::kTituloExportacaoCsv);
    // Pairs of a description and its pattern, each ending in a null, and a null after them.
    const std::wstring filtro = plataforma::Utf16(app::kTipoArquivoCsv) + L'\0' + L"*.csv" + L'\0' +
                                plataforma::Utf16(app::kTipoTodosArquivos) + L'\0' + L"*.*" + L'\0';
    OPENFILENAMEW dialogo{};
    dialogo.lStructSize = sizeof dialogo;
    dialogo.hwndOwner = GetAncestor(tsHistorico, GA_ROOT);
    dialogo.lpstrFilter = filtro.c_str();
    dialogo.lpstrFile = arquivo;
    dialogo.nMaxFile = MAX_PATH;
    dialogo.lpstrTitle = titulo.c_str();
    dialogo.lpstrDefExt = L"csv";
    dialogo.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialogo)) return;
    if (const auto erro = apresentacao_.ExportarCsv(std::filesystem::path(arquivo))) {
        avisos_.MostrarMensagem(*erro, kTituloPrograma, IconeAviso::Erro);
    }
}

const std::vector<app::LinhaGrade>& PaginaHistorico::Linhas(bool execucoes) const {
    return execucoes ? apresentacao_.Execucoes() : apresentacao_.Pedidos();
}

bool PaginaHistorico::Comando(int controle, int notificacao) {
    switch (controle) {
        case idCkbFalhasEAvisos:
            if (notificacao == BN_CLICKED) {
                apresentacao_.DefinirFalhasEAvisos(
                    SendMessageW(ckbFalhasEAvisos, BM_GETCHECK, 0, 0) == BST_CHECKED);
                Atualizar();
            }
            return true;
        case idEdtPesquisaPedido:
            if (notificacao == EN_CHANGE) {
                apresentacao_.DefinirPesquisa(LerTexto(edtPesquisaPedido));
                Atualizar();
            }
            return true;
        case idBtnExportarCsv:
            if (notificacao == BN_CLICKED) btnExportarCsvClick();
            return true;
        case idBtnAbrirJanelaHistorico:
            if (notificacao == BN_CLICKED && abrirJanela_) abrirJanela_();
            return true;
    }
    return false;
}

bool PaginaHistorico::Notificacao(const NMHDR& cabecalho, LPARAM lParam, LRESULT& resultado) {
    if ((cabecalho.idFrom == idGrdExecucoes || cabecalho.idFrom == idGrdPedidos) &&
        cabecalho.code == NM_CUSTOMDRAW) {
        resultado = DesenharLinhaGrade(Linhas(cabecalho.idFrom == idGrdExecucoes),
                                       *reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
        return true;
    }
    if ((cabecalho.idFrom == idGrdExecucoes || cabecalho.idFrom == idGrdPedidos) &&
        cabecalho.code == LVN_GETINFOTIPW) {
        MostrarDicaGrade(Linhas(cabecalho.idFrom == idGrdExecucoes),
                         *reinterpret_cast<NMLVGETINFOTIPW*>(lParam));
        return true;
    }
    if (cabecalho.idFrom != idGrdExecucoes || cabecalho.code != LVN_ITEMCHANGED) return false;
    SelecaoMudou(*reinterpret_cast<const NMLISTVIEW*>(lParam));
    return true;
}

}  // namespace tessora::win32
