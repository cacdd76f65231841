// The Windows failing orders' window over a small history written through the history itself:
// its rows, the whole message, "Tentar novamente" and the resizing, driven through its controls.
#include <windows.h>

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/configuracoes/leitura_configuracoes.h"
#include "app/historico/historico_execucoes.h"
#include "app/win32/janela_pedidos_com_falha.h"
#include "grade_teste.h"
#include "pasta_temporaria.h"
#include "plataforma/texto_windows.h"

namespace tessora::win32 {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

std::string Texto(HWND janela) {
    std::wstring texto(static_cast<size_t>(GetWindowTextLengthW(janela)) + 1, L'\0');
    texto.resize(
        static_cast<size_t>(GetWindowTextW(janela, texto.data(), static_cast<int>(texto.size()))));
    return plataforma::Utf8(texto);
}

class PedidosComFalhaWindowsTest : public ::testing::Test {
  protected:
    testes::PastaTemporaria pasta;
    std::filesystem::path executavel = pasta.Caminho() / "tessoraService.exe";
    std::vector<std::string> tentativas;
    JanelaPedidosComFalha janela{app::ObterArquivoHistorico(executavel),
                                 static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), nullptr,
                                 nullptr,
                                 [this](const std::string& id) { tentativas.push_back(id); }};

    HWND Controle(const wchar_t* classe, const wchar_t* texto = nullptr) const {
        return FindWindowExW(janela.Janela(), nullptr, classe, texto);
    }
    HWND Grade() const { return Controle(WC_LISTVIEWW); }
    HWND Mensagem() const { return Controle(WC_EDITW); }
    HWND Tentar() const { return Controle(WC_BUTTONW, L"Tentar novamente"); }

    // p-1 refused by the database twice, p-2 failed once, p-3 failed and then went in.
    void GravarFalhas() {
        app::HistoricoExecucoes historico{app::LerConfiguracoes(executavel).historico};
        const auto inicio = std::chrono::system_clock::now() - 1h;
        app::ResultadoPedido recusado{"p-1", app::DesfechoPedido::NaoIncluido,
                                      "Não foi possível incluir o pedido: p-1 no sistema"};
        recusado.observacao = "Operação recusada pelo banco de dados: produto 12 inexistente";
        for (int i = 0; i < 2; ++i) {
            historico.ExecucaoIniciada(app::OrigemExecucao::Temporizador, inicio + i * 10min);
            historico.PedidoProcessado(recusado);
            historico.PedidoProcessado({"p-3", app::DesfechoPedido::Erro, "Erro"});
            if (i == 1) {
                historico.PedidoProcessado({"p-2", app::DesfechoPedido::Erro, "Tempo esgotado"});
                historico.PedidoProcessado(
                    {"p-3", app::DesfechoPedido::Incluido, "Pedido incluído."});
            }
            historico.ExecucaoTerminada(
                {inicio + i * 10min, app::FimExecucao::Concluida, inicio + i * 10min + 1s, ""});
        }
    }
};

TEST_F(PedidosComFalhaWindowsTest, LinhasMensagemInteiraETentarNovamente) {
    GravarFalhas();
    janela.Abrir();
    EXPECT_TRUE(IsWindowVisible(janela.Janela()));
    EXPECT_EQ(Texto(janela.Janela()), "Pedidos com falha");
    ASSERT_EQ(SendMessageW(Grade(), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(testes::TextoCelula(Grade(), 0, 0), "p-1");
    EXPECT_EQ(testes::TextoCelula(Grade(), 0, 1), "2");
    EXPECT_EQ(testes::TextoCelula(Grade(), 1, 0), "p-2");
    EXPECT_EQ(Texto(Mensagem()),
              "Não foi possível incluir o pedido: p-1 no sistema\r\nOperação recusada pelo banco "
              "de dados: produto 12 inexistente");

    LVITEMW selecao{};
    selecao.stateMask = LVIS_SELECTED;
    selecao.state = LVIS_SELECTED;
    SendMessageW(Grade(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&selecao));
    EXPECT_EQ(Texto(Mensagem()), "Tempo esgotado");
    SendMessageW(Tentar(), BM_CLICK, 0, 0);
    EXPECT_THAT(tentativas, ElementsAre("p-2"));

    janela.DefinirEmExecucao(true);
    EXPECT_FALSE(IsWindowEnabled(Tentar()));
    janela.DefinirEmExecucao(false);
    EXPECT_TRUE(IsWindowEnabled(Tentar()));

    SendMessageW(janela.Janela(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(janela.Janela()));
}

TEST_F(PedidosComFalhaWindowsTest, SemFalhasNadaATentarEAJanelaCresceComOsControles) {
    janela.Abrir();
    EXPECT_EQ(SendMessageW(Grade(), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_TRUE(Controle(WC_STATICW, L"Nenhum pedido com falha."));
    EXPECT_FALSE(IsWindowEnabled(Tentar()));

    RECT antes{};
    GetWindowRect(Grade(), &antes);
    SetWindowPos(janela.Janela(), nullptr, 0, 0, 1000, 700, SWP_NOZORDER | SWP_NOMOVE);
    RECT depois{};
    GetWindowRect(Grade(), &depois);
    EXPECT_GT(depois.right - depois.left, antes.right - antes.left);
    EXPECT_GT(depois.bottom - depois.top, antes.bottom - antes.top);
    RECT fechar{};
    GetWindowRect(Controle(WC_BUTTONW, L"Fechar"), &fechar);
    RECT area{};
    GetWindowRect(janela.Janela(), &area);
    EXPECT_LT(area.right - fechar.right, 40);  // kept at the right edge
}

}  // namespace
}  // namespace tessora::win32
