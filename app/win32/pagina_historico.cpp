#include "app/win32/pagina_historico.h"

#include <commdlg.h>

#include <exception>
#include <fstream>
#include <string>

#include "app/apresentacao/colunas_historico.h"
#include "app/historico/formatos_historico.h"
#include "app/win32/controles_win32.h"
#include "plataforma/texto_windows.h"

namespace tessora::win32 {

namespace {
// Enough to see the last days of automatic runs; older ones are found by the search.
constexpr int64_t kExecucoesMostradas = 500;

enum : int {
    idCkbSomenteFalhas = 200,
    idEdtPesquisaPedido,
    idBtnExportarCsv,
    idGrdExecucoes,
    idGrdPedidos,
};

// Every column as wide as its widest text or its title.
void AjustarColunas(HWND grade, size_t colunas) {
    for (size_t coluna = 0; coluna < colunas; ++coluna) {
        SendMessageW(grade, LVM_SETCOLUMNWIDTH, coluna, LVSCW_AUTOSIZE_USEHEADER);
    }
}

template <size_t N>
HWND Grade(HWND pai, int id, const std::array<const char*, N>& colunas, Retangulo lugar,
           HFONT fonte, size_t primeiraContagem = N) {
    const HWND grade = CriarControle(
        pai, WC_LISTVIEWW, "",
        WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
        lugar, id, fonte, WS_EX_CLIENTEDGE);
    SendMessageW(grade, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP);
    for (size_t i = 0; i < N; ++i) {
        std::wstring titulo = plataforma::Utf16(colunas[i]);
        LVCOLUMNW coluna{};
        coluna.mask = LVCF_TEXT | LVCF_FMT;
        coluna.fmt = i >= primeiraContagem ? LVCFMT_RIGHT : LVCFMT_LEFT;
        coluna.pszText = titulo.data();
        SendMessageW(grade, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&coluna));
    }
    AjustarColunas(grade, N);
    return grade;
}

void DefinirCelula(HWND grade, int linha, size_t coluna, const std::string& texto) {
    std::wstring largo = plataforma::Utf16(texto);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = linha;
    item.iSubItem = static_cast<int>(coluna);
    item.pszText = largo.data();
    SendMessageW(grade, coluna == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0,
                 reinterpret_cast<LPARAM>(&item));
}

int LinhaSelecionada(HWND grade) {
    return static_cast<int>(
        SendMessageW(grade, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void Selecionar(HWND grade, int linha) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(grade, LVM_SETITEMSTATE, static_cast<WPARAM>(linha),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageW(grade, LVM_ENSUREVISIBLE, static_cast<WPARAM>(linha), FALSE);
}
}  // namespace

PaginaHistorico::PaginaHistorico(HWND janela, const RECT& area, HFONT f,
                                 std::filesystem::path arquivoHistorico, Avisos& avisos)
    : arquivoHistorico_(std::move(arquivoHistorico)), avisos_(avisos) {
    tsHistorico = CriarPagina(janela, area);
    const HWND p = tsHistorico;
    ckbSomenteFalhas =
        CriarControle(p, WC_BUTTONW, "Somente falhas", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                      {10, 6, 130, 22}, idCkbSomenteFalhas, f);
    CriarControle(p, WC_STATICW, "Pedido:", WS_VISIBLE | SS_NOPREFIX, {150, 8, 50, 18}, 0, f);
    edtPesquisaPedido = CriarControle(p, WC_EDITW, "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                      {202, 6, 160, 22}, idEdtPesquisaPedido, f, WS_EX_CLIENTEDGE);
    SendMessageW(edtPesquisaPedido, EM_SETCUEBANNER, FALSE,
                 reinterpret_cast<LPARAM>(L"id do pedido no APP"));
    CriarControle(p, WC_BUTTONW, "Exportar CSV...", WS_VISIBLE | WS_TABSTOP, {458, 3, 120, 28},
                  idBtnExportarCsv, f);
    grdExecucoes = Grade(p, idGrdExecucoes, app::kColunasExecucao, {10, 34, 568, 100}, f,
                         app::kPrimeiraContagemExecucao);
    grdPedidos = Grade(p, idGrdPedidos, app::kColunasPedido, {10, 138, 568, 92}, f);
    lblSituacaoHistorico =
        CriarControle(p, WC_STATICW, "", WS_VISIBLE | SS_NOPREFIX, {10, 232, 568, 18}, 0, f);
}

const app::ExecucaoRegistrada& PaginaHistorico::Execucao(int linha) const {
    return execucoes_.at(execucoes_.size() - 1 - static_cast<size_t>(linha));
}

const app::ExecucaoRegistrada* PaginaHistorico::ExecucaoNaLinha(int linha) const {
    if (linha < 0 || linha >= static_cast<int>(execucoes_.size())) return nullptr;
    return &Execucao(linha);
}

const app::PedidoRegistrado* PaginaHistorico::PedidoNaLinha(int linha) const {
    const auto* execucao = ExecucaoNaLinha(LinhaSelecionada(grdExecucoes));
    if (!execucao || linha < 0 || static_cast<size_t>(linha) >= execucao->pedidos.size()) {
        return nullptr;
    }
    return &execucao->pedidos[static_cast<size_t>(linha)];
}

void PaginaHistorico::Atualizar() {
    // Whoever looks at the newest run goes on to the newest after a new one.
    const int atual = LinhaSelecionada(grdExecucoes);
    // Row ids start at 1: 0 names no run.
    const int64_t selecionada = atual > 0 ? Execucao(atual).id : 0;

    std::vector<app::ExecucaoRegistrada> lista;
    std::string situacao;
    if (!std::filesystem::exists(arquivoHistorico_)) {
        situacao = "Nenhuma execução registrada.";
    } else {
        try {
            const bool soFalhas = SendMessageW(ckbSomenteFalhas, BM_GETCHECK, 0, 0) == BST_CHECKED;
            std::string pedido = LerTexto(edtPesquisaPedido);
            pedido.erase(0, pedido.find_first_not_of(" \t"));
            pedido.erase(pedido.find_last_not_of(" \t") + 1);
            lista =
                app::LeituraHistorico(arquivoHistorico_)
                    .Execucoes(
                        {.soFalhas = soFalhas, .pedido = pedido, .ultimas = kExecucoesMostradas});
        } catch (const std::exception& e) {
            situacao = "Histórico indisponível: " + std::string(e.what());
        }
    }
    DefinirTexto(lblSituacaoHistorico, situacao);
    execucoes_ = std::move(lista);

    SendMessageW(grdExecucoes, WM_SETREDRAW, FALSE, 0);
    SendMessageW(grdExecucoes, LVM_DELETEALLITEMS, 0, 0);
    int linha = -1;
    for (int i = 0; i < static_cast<int>(execucoes_.size()); ++i) {
        const auto& execucao = Execucao(i);
        for (size_t coluna = 0; coluna < app::kColunasExecucao.size(); ++coluna) {
            DefinirCelula(grdExecucoes, i, coluna, app::CelulaExecucao(execucao, coluna));
        }
        if (execucao.id == selecionada) linha = i;
    }
    AjustarColunas(grdExecucoes, app::kColunasExecucao.size());
    SendMessageW(grdExecucoes, WM_SETREDRAW, TRUE, 0);
    if (!execucoes_.empty()) {
        Selecionar(grdExecucoes, linha >= 0 ? linha : 0);
    } else {
        MostrarPedidosDaExecucao(-1);
    }
}

void PaginaHistorico::MostrarPedidosDaExecucao(int linha) {
    SendMessageW(grdPedidos, WM_SETREDRAW, FALSE, 0);
    SendMessageW(grdPedidos, LVM_DELETEALLITEMS, 0, 0);
    if (linha >= 0 && linha < static_cast<int>(execucoes_.size())) {
        const auto& pedidos = Execucao(linha).pedidos;
        for (size_t i = 0; i < pedidos.size(); ++i) {
            for (size_t coluna = 0; coluna < app::kColunasPedido.size(); ++coluna) {
                DefinirCelula(grdPedidos, static_cast<int>(i), coluna,
                              app::CelulaPedido(pedidos[i], coluna));
            }
        }
    }
    AjustarColunas(grdPedidos, app::kColunasPedido.size());
    SendMessageW(grdPedidos, WM_SETREDRAW, TRUE, 0);
}

void PaginaHistorico::btnExportarCsvClick() {
    wchar_t arquivo[MAX_PATH] = L"historico.csv";
    OPENFILENAMEW dialogo{};
    dialogo.lStructSize = sizeof dialogo;
    dialogo.hwndOwner = GetAncestor(tsHistorico, GA_ROOT);
    dialogo.lpstrFilter = L"Arquivos CSV (*.csv)\0*.csv\0Todos (*)\0*.*\0";
    dialogo.lpstrFile = arquivo;
    dialogo.nMaxFile = MAX_PATH;
    dialogo.lpstrTitle = L"Exportar histórico";
    dialogo.lpstrDefExt = L"csv";
    dialogo.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialogo)) return;
    std::ofstream saida(std::filesystem::path(arquivo), std::ios::binary);
    if (saida) app::EscreverHistoricoCsv(execucoes_, saida);
    if (saida.flush()) return;
    avisos_.MostrarMensagem("Não foi possível gravar o arquivo " + plataforma::Utf8(arquivo) + ".",
                            kTituloPrograma, IconeAviso::Erro);
}

// Runs and orders that failed in red, as on the other page.
LRESULT PaginaHistorico::DesenharLinha(bool execucoes, NMLVCUSTOMDRAW& desenho) const {
    if (desenho.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (desenho.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    const auto linha = static_cast<int>(desenho.nmcd.dwItemSpec);
    bool falhou = false;
    if (execucoes) {
        const auto* execucao = ExecucaoNaLinha(linha);
        falhou = execucao && execucao->Falhou();
    } else {
        const auto* pedido = PedidoNaLinha(linha);
        falhou = pedido && pedido->Falhou();
    }
    if (falhou) desenho.clrText = RGB(0xb0, 0x00, 0x20);
    return CDRF_DODEFAULT;
}

// A run's reason for not ending normally, an order's message, as on the other page.
void PaginaHistorico::MostrarDica(bool execucoes, NMLVGETINFOTIPW& dica) const {
    if (dica.cchTextMax <= 0) return;
    std::string texto;
    if (execucoes) {
        if (const auto* execucao = ExecucaoNaLinha(dica.iItem)) texto = execucao->motivo;
    } else {
        if (const auto* pedido = PedidoNaLinha(dica.iItem)) texto = pedido->mensagem;
    }
    lstrcpynW(dica.pszText, plataforma::Utf16(texto).c_str(), dica.cchTextMax);
}

bool PaginaHistorico::Comando(int controle, int notificacao) {
    switch (controle) {
        case idCkbSomenteFalhas:
            if (notificacao == BN_CLICKED) Atualizar();
            return true;
        case idEdtPesquisaPedido:
            if (notificacao == EN_CHANGE) Atualizar();
            return true;
        case idBtnExportarCsv:
            if (notificacao == BN_CLICKED) btnExportarCsvClick();
            return true;
    }
    return false;
}

bool PaginaHistorico::Notificacao(const NMHDR& cabecalho, LPARAM lParam, LRESULT& resultado) {
    if ((cabecalho.idFrom == idGrdExecucoes || cabecalho.idFrom == idGrdPedidos) &&
        cabecalho.code == NM_CUSTOMDRAW) {
        resultado = DesenharLinha(cabecalho.idFrom == idGrdExecucoes,
                                  *reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
        return true;
    }
    if ((cabecalho.idFrom == idGrdExecucoes || cabecalho.idFrom == idGrdPedidos) &&
        cabecalho.code == LVN_GETINFOTIPW) {
        MostrarDica(cabecalho.idFrom == idGrdExecucoes,
                    *reinterpret_cast<NMLVGETINFOTIPW*>(lParam));
        return true;
    }
    if (cabecalho.idFrom != idGrdExecucoes || cabecalho.code != LVN_ITEMCHANGED) return false;
    const auto& mudanca = *reinterpret_cast<const NMLISTVIEW*>(lParam);
    if ((mudanca.uChanged & LVIF_STATE) && (mudanca.uNewState & LVIS_SELECTED) &&
        !(mudanca.uOldState & LVIS_SELECTED)) {
        MostrarPedidosDaExecucao(mudanca.iItem);
    }
    return true;
}

}  // namespace tessora::win32
