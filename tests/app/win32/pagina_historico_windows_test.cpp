// The Windows history page over a small history written through the history itself: its lists,
// the failures filter and the search, driven through its controls; and the history's own
// window, which follows its size.
#include <windows.h>

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/configuracoes/leitura_configuracoes.h"
#include "app/execucao/execucao_sincronizacao.h"
#include "app/historico/historico_execucoes.h"
#include "app/win32/janela_historico.h"
#include "app/win32/pagina_historico.h"
#include "grade_teste.h"
#include "pasta_temporaria.h"
#include "plataforma/texto_windows.h"

namespace tessora::win32 {
namespace {

using namespace std::chrono_literals;
using testes::ColunaGrade;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class SemAvisos : public Avisos {
  public:
    void MostrarMensagem(std::string_view texto, std::string_view, IconeAviso) override {
        ADD_FAILURE() << texto;
    }
    void SolicitarEncerramento() override {}
};

// The page's window hands its controls' messages to the page, as the main window does.
PaginaHistorico* paginaAtual = nullptr;

LRESULT CALLBACK Procedimento(HWND janela, UINT mensagem, WPARAM wParam, LPARAM lParam) {
    if (paginaAtual && mensagem == WM_COMMAND) {
        paginaAtual->Comando(LOWORD(wParam), HIWORD(wParam));
        return 0;
    }
    if (paginaAtual && mensagem == WM_NOTIFY) {
        LRESULT resultado = 0;
        paginaAtual->Notificacao(*reinterpret_cast<const NMHDR*>(lParam), lParam, resultado);
        return resultado;
    }
    return DefWindowProcW(janela, mensagem, wParam, lParam);
}

class PaginaHistoricoWindowsTest : public ::testing::Test {
  protected:
    testes::PastaTemporaria pasta;
    std::filesystem::path executavel = pasta.Caminho() / "tessoraService.exe";
    SemAvisos avisos;
    HWND janela = nullptr;
    std::unique_ptr<PaginaHistorico> pagina;
    HWND grdExecucoes = nullptr;
    HWND grdPedidos = nullptr;
    int janelasPedidas = 0;

    void SetUp() override {
        WNDCLASSW classe{};
        classe.lpfnWndProc = Procedimento;
        classe.hInstance = GetModuleHandleW(nullptr);
        classe.lpszClassName = L"PaginaHistoricoTeste";
        RegisterClassW(&classe);
        janela = CreateWindowExW(0, classe.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 640, 320,
                                 nullptr, nullptr, classe.hInstance, nullptr);
        ASSERT_TRUE(janela);
        pagina = std::make_unique<PaginaHistorico>(janela, RECT{0, 0, 600, 260}, Fonte(),
                                                   app::ObterArquivoHistorico(executavel), avisos,
                                                   [this] { ++janelasPedidas; });
        paginaAtual = pagina.get();
        Grades(pagina->Pagina(), grdExecucoes, grdPedidos);
        ASSERT_TRUE(grdExecucoes && grdPedidos);
    }

    static HFONT Fonte() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

    // The two lists of a page, told apart by their columns.
    static void Grades(HWND pagina, HWND& execucoes, HWND& pedidos) {
        for (HWND grade = FindWindowExW(pagina, nullptr, WC_LISTVIEWW, nullptr); grade;
             grade = FindWindowExW(pagina, grade, WC_LISTVIEWW, nullptr)) {
            const HWND cabecalho = reinterpret_cast<HWND>(SendMessageW(grade, LVM_GETHEADER, 0, 0));
            (SendMessageW(cabecalho, HDM_GETITEMCOUNT, 0, 0) == 8 ? execucoes : pedidos) = grade;
        }
    }

    void TearDown() override {
        paginaAtual = nullptr;
        pagina.reset();
        DestroyWindow(janela);
    }

    // The tooltip that the list asks of its page for that row.
    static std::string Dica(HWND grade, int linha) {
        wchar_t texto[512] = L"texto da célula";
        NMLVGETINFOTIPW dica{};
        dica.hdr = {grade, static_cast<UINT_PTR>(GetDlgCtrlID(grade)), LVN_GETINFOTIPW};
        dica.pszText = texto;
        dica.cchTextMax = 512;
        dica.iItem = linha;
        SendMessageW(GetParent(grade), WM_NOTIFY, dica.hdr.idFrom, reinterpret_cast<LPARAM>(&dica));
        return plataforma::Utf8(texto);
    }

    HWND Controle(const wchar_t* classe, const wchar_t* texto) const {
        return FindWindowExW(pagina->Pagina(), nullptr, classe, texto);
    }

    // A run that failed to write p-1, then one that wrote p-2.
    void GravarDuasExecucoes() {
        app::HistoricoExecucoes historico{app::LerConfiguracoes(executavel).historico};
        const auto inicio = std::chrono::system_clock::now() - 1h;
        historico.ExecucaoIniciada(app::OrigemExecucao::Temporizador, inicio);
        historico.PedidoProcessado(
            {"p-1", app::DesfechoPedido::NaoIncluido, "Não foi possível incluir o pedido"});
        historico.ExecucaoTerminada({inicio, app::FimExecucao::Concluida, inicio + 3s, ""});
        historico.ExecucaoIniciada(app::OrigemExecucao::Botao, inicio + 10min);
        app::ResultadoPedido incluido{
            "p-2", app::DesfechoPedido::Incluido, "Pedido incluído no sistema.", 7, 5007, true};
        incluido.cliente = "Padaria D'Ouro (12.345.678/0001-95)";
        historico.PedidoProcessado(incluido);
        historico.ExecucaoTerminada(
            {inicio + 10min, app::FimExecucao::Concluida, inicio + 11min, ""});
    }
};

TEST_F(PaginaHistoricoWindowsTest, SemHistoricoDizQueNadaFoiRegistrado) {
    pagina->Atualizar();
    EXPECT_EQ(SendMessageW(grdExecucoes, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_TRUE(Controle(WC_STATICW, L"Nenhuma execução registrada."));
}

TEST_F(PaginaHistoricoWindowsTest, ExecucoesEPedidosComFiltroEPesquisa) {
    GravarDuasExecucoes();
    pagina->Atualizar();
    // Newest first, the newest selected with its orders.
    EXPECT_THAT(ColunaGrade(grdExecucoes, 4), ElementsAre("0", "1"));  // failures
    EXPECT_THAT(ColunaGrade(grdPedidos, 0), ElementsAre("p-2"));
    EXPECT_THAT(ColunaGrade(grdPedidos, 3), ElementsAre("7"));
    EXPECT_THAT(ColunaGrade(grdPedidos, 5), ElementsAre("Padaria D'Ouro (12.345.678/0001-95)"));
    EXPECT_THAT(ColunaGrade(grdExecucoes, 2), ElementsAre("botão", "automático"));

    // An older run chosen stays chosen when the page is read again.
    LVITEMW selecao{};
    selecao.stateMask = LVIS_SELECTED;
    selecao.state = LVIS_SELECTED;
    SendMessageW(grdExecucoes, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&selecao));
    EXPECT_THAT(ColunaGrade(grdPedidos, 0), ElementsAre("p-1"));
    pagina->Atualizar();
    EXPECT_THAT(ColunaGrade(grdPedidos, 0), ElementsAre("p-1"));

    SendMessageW(Controle(WC_BUTTONW, L"Falhas e avisos"), BM_CLICK, 0, 0);
    EXPECT_THAT(ColunaGrade(grdExecucoes, 4), ElementsAre("1"));
    EXPECT_THAT(ColunaGrade(grdPedidos, 1), ElementsAre("não incluído"));

    const HWND pesquisa = FindWindowExW(pagina->Pagina(), nullptr, WC_EDITW, nullptr);
    SetWindowTextW(pesquisa, L" P-2 ");
    EXPECT_THAT(ColunaGrade(grdExecucoes, 0), IsEmpty());
    SendMessageW(Controle(WC_BUTTONW, L"Falhas e avisos"), BM_CLICK, 0, 0);
    EXPECT_THAT(ColunaGrade(grdPedidos, 0), ElementsAre("p-2"));
    // The ERP's number, the customer's name or document.
    for (const wchar_t* texto : {L"5007", L"padaria d'", L"345.678"}) {
        SetWindowTextW(pesquisa, texto);
        EXPECT_THAT(ColunaGrade(grdPedidos, 0), ElementsAre("p-2"));
    }
    SetWindowTextW(pesquisa, L"5008");
    EXPECT_THAT(ColunaGrade(grdPedidos, 0), IsEmpty());

    // The compact page's way to the history's own window.
    SendMessageW(Controle(WC_BUTTONW, L"Abrir em janela"), BM_CLICK, 0, 0);
    EXPECT_EQ(janelasPedidas, 1);
}

TEST_F(PaginaHistoricoWindowsTest, JanelaPropriaAcompanhaOTamanho) {
    GravarDuasExecucoes();
    JanelaHistorico historico(Fonte(), app::ObterArquivoHistorico(executavel), avisos);
    EXPECT_FALSE(IsWindowVisible(historico.Janela()));
    historico.Mostrar();
    EXPECT_TRUE(IsWindowVisible(historico.Janela()));
    EXPECT_TRUE(GetWindowLongW(historico.Janela(), GWL_STYLE) & WS_THICKFRAME);
    const HWND paginaJanela = FindWindowExW(historico.Janela(), nullptr, nullptr, nullptr);
    HWND execucoes = nullptr, pedidos = nullptr;
    Grades(paginaJanela, execucoes, pedidos);
    ASSERT_TRUE(execucoes && pedidos);
    EXPECT_THAT(ColunaGrade(execucoes, 2), ElementsAre("botão", "automático"));
    EXPECT_FALSE(FindWindowExW(paginaJanela, nullptr, WC_BUTTONW, L"Abrir em janela"));

    const auto largura = [](HWND controle) {
        RECT area{};
        GetClientRect(controle, &area);
        return static_cast<int>(area.right);
    };
    SetWindowPos(historico.Janela(), nullptr, 0, 0, 700, 420, SWP_NOMOVE | SWP_NOZORDER);
    const int estreita = largura(pedidos);
    SetWindowPos(historico.Janela(), nullptr, 0, 0, 1300, 700, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_GE(largura(pedidos), estreita + 550);
    // The last column takes what the others leave.
    int colunas = 0;
    for (int coluna = 0; coluna < 7; ++coluna) {
        colunas += static_cast<int>(SendMessageW(pedidos, LVM_GETCOLUMNWIDTH, coluna, 0));
    }
    EXPECT_EQ(colunas, largura(pedidos));

    // Closing it keeps it for the next time.
    SendMessageW(historico.Janela(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(historico.Janela()));
    EXPECT_TRUE(IsWindow(historico.Janela()));
}

TEST_F(PaginaHistoricoWindowsTest, DicasComOMotivoDaExecucaoEAMensagemDoPedido) {
    GravarDuasExecucoes();
    {
        app::HistoricoExecucoes historico{app::LerConfiguracoes(executavel).historico};
        const auto inicio = std::chrono::system_clock::now();
        historico.ExecucaoIniciada(app::OrigemExecucao::Temporizador, inicio);
        historico.ExecucaoTerminada({inicio, app::FimExecucao::SemListagem, inicio + 1s,
                                     "HTTP/1.1 401 Unauthorized: Token inválido"});
    }
    pagina->Atualizar();
    EXPECT_EQ(Dica(grdExecucoes, 0), "HTTP/1.1 401 Unauthorized: Token inválido");
    EXPECT_EQ(Dica(grdExecucoes, 1), "");  // ended normally
    EXPECT_EQ(Dica(grdExecucoes, 3), "");  // no such row

    LVITEMW selecao{};
    selecao.stateMask = LVIS_SELECTED;
    selecao.state = LVIS_SELECTED;
    SendMessageW(grdExecucoes, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&selecao));
    EXPECT_EQ(Dica(grdPedidos, 0), "Não foi possível incluir o pedido");
    EXPECT_EQ(Dica(grdPedidos, 1), "");
}

}  // namespace
}  // namespace tessora::win32
