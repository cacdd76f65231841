#include "app/win32/janela_pedidos_com_falha.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "app/apresentacao/texto_log.h"
#include "app/win32/controles_win32.h"
#include "app/win32/grade_win32.h"
#include "plataforma/texto_windows.h"

namespace tessora::win32 {

namespace {
constexpr wchar_t kClasse[] = L"TfrmPedidosComFalha";

enum : int {
    idGrdPedidosComFalha = 300,
    idMemMensagem,
    idBtnTentarNovamente,
    idBtnCopiarMensagem,
    idBtnFechar,
};

// Design pixels of the layout.
constexpr int kMargem = 8;
constexpr int kAlturaMensagem = 96;
constexpr int kAlturaSituacao = 18;
constexpr int kAlturaBotao = 28;
constexpr int kLarguraBotao = 120;
}  // namespace

JanelaPedidosComFalha::JanelaPedidosComFalha(std::filesystem::path arquivoHistorico, HFONT f,
                                             HICON icone, HICON iconePequeno,
                                             TentarNovamente tentarNovamente)
    : apresentacao_(app::PedidosComFalhaDoArquivo(std::move(arquivoHistorico))),
      tentarNovamente_(std::move(tentarNovamente)) {
    const HINSTANCE instancia = GetModuleHandleW(nullptr);
    RegistrarClasseJanela(kClasse, Procedimento, icone, iconePequeno);

    CreateWindowExW(0, kClasse, plataforma::Utf16(app::kTituloPedidosComFalha).c_str(),
                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                    nullptr, nullptr, instancia, this);
    const HWND w = frmPedidosComFalha;
    grdPedidosComFalha =
        CriarGrade(w, idGrdPedidosComFalha, app::kColunasPedidoComFalha,
                   app::kPrimeiraContagemPedidoComFalha, {kMargem, kMargem, 100, 100}, f);
    memMensagem = CriarControle(
        w, WC_EDITW, "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
        {kMargem, 0, 100, kAlturaMensagem}, idMemMensagem, f, WS_EX_CLIENTEDGE);
    lblSituacao = CriarControle(w, WC_STATICW, "", WS_VISIBLE | SS_NOPREFIX,
                                {kMargem, 0, 100, kAlturaSituacao}, 0, f);
    btnTentarNovamente =
        CriarControle(w, WC_BUTTONW, app::kTentarNovamente, WS_VISIBLE | WS_TABSTOP,
                      {0, 0, kLarguraBotao, kAlturaBotao}, idBtnTentarNovamente, f);
    btnCopiarMensagem = CriarControle(w, WC_BUTTONW, app::kCopiarMensagem, WS_VISIBLE | WS_TABSTOP,
                                      {0, 0, kLarguraBotao, kAlturaBotao}, idBtnCopiarMensagem, f);
    btnFechar = CriarControle(w, WC_BUTTONW, app::kFechar, WS_VISIBLE | WS_TABSTOP,
                              {0, 0, kLarguraBotao, kAlturaBotao}, idBtnFechar, f);
    CentrarComAreaCliente(w, 760, 420);
    MostrarSelecionado();
}

JanelaPedidosComFalha::~JanelaPedidosComFalha() { DestroyWindow(frmPedidosComFalha); }

void JanelaPedidosComFalha::Abrir() {
    Atualizar();
    ShowWindow(frmPedidosComFalha, SW_SHOWNORMAL);
    SetForegroundWindow(frmPedidosComFalha);
}

void JanelaPedidosComFalha::Atualizar() {
    const std::optional<size_t> linha = apresentacao_.Atualizar();
    DefinirTexto(lblSituacao, apresentacao_.Situacao());
    PreencherGrade(grdPedidosComFalha, apresentacao_.Linhas(), app::kColunasPedidoComFalha.size());
    // Filling the list told it no row is selected; the presenter's choice comes after.
    apresentacao_.Selecionar(linha);
    if (linha) SelecionarLinhaGrade(grdPedidosComFalha, static_cast<int>(*linha));
    MostrarSelecionado();
}

void JanelaPedidosComFalha::DefinirEmExecucao(bool emExecucao) {
    apresentacao_.DefinirEmExecucao(emExecucao);
    MostrarSelecionado();
}

void JanelaPedidosComFalha::MostrarSelecionado() {
    // The edit control breaks lines at CR LF only.
    DefinirTexto(memMensagem, app::LinhaDoLog(apresentacao_.Mensagem(), "\r\n"));
    EnableWindow(btnTentarNovamente, apresentacao_.PedidoParaTentarNovamente().has_value());
    EnableWindow(btnCopiarMensagem, apresentacao_.LinhaSelecionada().has_value());
}

void JanelaPedidosComFalha::SelecaoMudou(const NMLISTVIEW& mudanca) {
    if (!(mudanca.uChanged & LVIF_STATE) || mudanca.iItem < 0) return;
    const bool antes = mudanca.uOldState & LVIS_SELECTED;
    const bool agora = mudanca.uNewState & LVIS_SELECTED;
    if (agora && !antes) {
        apresentacao_.Selecionar(static_cast<size_t>(mudanca.iItem));
    } else if (antes && !agora && apresentacao_.LinhaSelecionada() == size_t(mudanca.iItem)) {
        apresentacao_.Selecionar(std::nullopt);
    } else {
        return;
    }
    MostrarSelecionado();
}

void JanelaPedidosComFalha::Dispor(int largura, int altura) {
    const int margem = Escalar(kMargem);
    const int botao = Escalar(kAlturaBotao);
    const int larguraBotao = Escalar(kLarguraBotao);
    const int util = std::max(0, largura - 2 * margem);
    const int yBotoes = altura - margem - botao;
    const int ySituacao = yBotoes - margem / 2 - Escalar(kAlturaSituacao);
    const int yMensagem = ySituacao - margem / 2 - Escalar(kAlturaMensagem);
    MoveWindow(grdPedidosComFalha, margem, margem, util, std::max(0, yMensagem - 2 * margem), TRUE);
    MoveWindow(memMensagem, margem, yMensagem, util, Escalar(kAlturaMensagem), TRUE);
    MoveWindow(lblSituacao, margem, ySituacao, util, Escalar(kAlturaSituacao), TRUE);
    MoveWindow(btnTentarNovamente, margem, yBotoes, larguraBotao, botao, TRUE);
    MoveWindow(btnCopiarMensagem, 2 * margem + larguraBotao, yBotoes, larguraBotao, botao, TRUE);
    MoveWindow(btnFechar, largura - margem - larguraBotao, yBotoes, larguraBotao, botao, TRUE);
}

LRESULT CALLBACK JanelaPedidosComFalha::Procedimento(HWND janela, UINT mensagem, WPARAM wParam,
                                                     LPARAM lParam) {
    auto* esta = DonoDaJanela(janela, mensagem, lParam, &JanelaPedidosComFalha::frmPedidosComFalha);
    if (!esta || !esta->btnFechar) return DefWindowProcW(janela, mensagem, wParam, lParam);
    return esta->Tratar(mensagem, wParam, lParam);
}

LRESULT JanelaPedidosComFalha::Tratar(UINT mensagem, WPARAM wParam, LPARAM lParam) {
    switch (mensagem) {
        case WM_SIZE:
            Dispor(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_GETMINMAXINFO: {
            auto& limites = *reinterpret_cast<MINMAXINFO*>(lParam);
            limites.ptMinTrackSize = {Escalar(480), Escalar(300)};
            return 0;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case idBtnTentarNovamente:
                    if (const auto pedido = apresentacao_.PedidoParaTentarNovamente())
                        tentarNovamente_(*pedido);
                    return 0;
                case idBtnCopiarMensagem:
                    Copiar(frmPedidosComFalha, apresentacao_.Mensagem());
                    return 0;
                case idBtnFechar:
                    ShowWindow(frmPedidosComFalha, SW_HIDE);
                    return 0;
            }
            break;
        case WM_NOTIFY: {
            const auto& cabecalho = *reinterpret_cast<const NMHDR*>(lParam);
            if (cabecalho.idFrom != idGrdPedidosComFalha) break;
            switch (cabecalho.code) {
                case NM_CUSTOMDRAW:
                    return DesenharLinhaGrade(apresentacao_.Linhas(),
                                              *reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
                case LVN_GETINFOTIPW:
                    MostrarDicaGrade(apresentacao_.Linhas(),
                                     *reinterpret_cast<NMLVGETINFOTIPW*>(lParam));
                    return 0;
                case LVN_ITEMCHANGED:
                    SelecaoMudou(*reinterpret_cast<const NMLISTVIEW*>(lParam));
                    return 0;
            }
            break;
        }
        case WM_CLOSE:
            ShowWindow(frmPedidosComFalha, SW_HIDE);
            return 0;
    }
    return DefWindowProcW(frmPedidosComFalha, mensagem, wParam, lParam);
}

}  // namespace tessora::win32
