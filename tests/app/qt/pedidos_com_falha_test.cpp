// The failing orders' window after real runs in a temporary ERP installation: reached from
// the main page, the tray menu and a notification, and "Tentar novamente" for one order.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTableView>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/historico/leitura_historico.h"
#include "app/qt/janela_pedidos_com_falha.h"
#include "janela_roteirizada.h"

namespace tessora::qt {
namespace {

using ::testing::ElementsAre;

class PedidosComFalhaTest : public testes::JanelaRoteirizadaTest {
  protected:
    QWidget* Janela() const { return Achar<QWidget>("frmPedidosComFalha"); }
    QAction* Menu(const char* nome) const {
        return Achar<QSystemTrayIcon>("TrayIcon1")->contextMenu()->findChild<QAction*>(nome);
    }
    bool Terminou() const {
        return Achar<QPushButton>("btnForcarAtualizacaoAppForcaVenda")->isEnabled();
    }
    // The first cell and the message of each row.
    std::vector<std::string> Linhas() const {
        const QAbstractItemModel* modelo = Achar<QTableView>("grdPedidosComFalha")->model();
        std::vector<std::string> linhas;
        for (int linha = 0; linha < modelo->rowCount(); ++linha) {
            linhas.push_back(modelo->index(linha, 0).data().toString().toStdString() + "|" +
                             modelo->index(linha, 4).data().toString().toStdString());
        }
        return linhas;
    }
};

TEST_F(PedidosComFalhaTest, TentarNovamenteIncluiOPedidoQueOErpRecusouEleSaiDaLista) {
    using enum importacao::DesfechoImportacao;
    pedidos.lista = {"101", "102"};
    pedidos.resultados = {{"101", {Incluido}},
                          {"102", {CabecalhoRecusado, "produto 12 inexistente"}}};
    Menu("miSincronizarAgora")->trigger();
    ASSERT_TRUE(
        testes::Aguardar([&] { return Terminou() && Menu("miSincronizarAgora")->isEnabled(); },
                         std::chrono::seconds(60)));

    EXPECT_FALSE(Janela()->isVisible());
    Achar<QPushButton>("btnPedidosComFalha")->click();
    ASSERT_TRUE(Janela()->isVisible());
    EXPECT_EQ(Janela()->windowTitle(), "Pedidos com falha");
    EXPECT_THAT(Linhas(), ElementsAre("102|Não foi possível incluir o pedido: 102 no sistema / "
                                      "Operação recusada pelo banco de dados: produto 12 "
                                      "inexistente"));
    auto* mensagem = Achar<QPlainTextEdit>("memMensagem");
    EXPECT_EQ(mensagem->toPlainText(),
              "Não foi possível incluir o pedido: 102 no sistema\nOperação recusada pelo banco de "
              "dados: produto 12 inexistente");
    Achar<QPushButton>("btnCopiarMensagem")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), mensagem->toPlainText());

    // The product registered in the ERP; the API's list is not asked for.
    pedidos.resultados.at("102") = {Incluido};
    pedidos.lista = {"103"};
    const int listagens = pedidos.listagens;
    auto* tentar = Achar<QPushButton>("btnTentarNovamente");
    ASSERT_TRUE(tentar->isEnabled());
    tentar->click();
    EXPECT_FALSE(tentar->isEnabled());  // while its run goes
    ASSERT_TRUE(testes::Aguardar([&] { return Terminou(); }, std::chrono::seconds(60)));

    EXPECT_EQ(pedidos.listagens, listagens);
    const QStringList log =
        Achar<QPlainTextEdit>("memLogProcessamentoAppForcaVenda")->toPlainText().split('\n');
    ASSERT_EQ(log.size(), 4);
    EXPECT_TRUE(log[1].endsWith(" - Lendo pedido: 102"));
    EXPECT_TRUE(log[2].endsWith(" - Pedido incluído no sistema."));
    EXPECT_TRUE(Linhas().empty());
    EXPECT_EQ(Achar<QLabel>("lblSituacao")->text(), "Nenhum pedido com falha.");
    EXPECT_FALSE(tentar->isEnabled());

    const auto execucoes =
        app::LeituraHistorico(app::ObterArquivoHistorico(erp.Executavel())).Execucoes({});
    ASSERT_EQ(execucoes.size(), 2u);
    EXPECT_EQ(execucoes[1].origem, "repeticao");
    ASSERT_EQ(execucoes[1].pedidos.size(), 1u);
    EXPECT_EQ(execucoes[1].pedidos[0].desfecho, "incluido");
}

TEST_F(PedidosComFalhaTest, MenuDaBandejaENotificacaoAbremAJanela) {
    const QStringList textos = [&] {
        QStringList lista;
        for (const QAction* acao : Achar<QSystemTrayIcon>("TrayIcon1")->contextMenu()->actions())
            lista << acao->text();
        return lista;
    }();
    EXPECT_EQ(textos, (QStringList{"&Abrir tessora Service", "Sincronizar Agora",
                                   "Pedidos com falha", "", "&Sair"}));
    Menu("miPedidosComFalha")->trigger();
    EXPECT_TRUE(Janela()->isVisible());
    EXPECT_EQ(Achar<QLabel>("lblSituacao")->text(), "Nenhum pedido com falha.");
    Achar<QPushButton>("btnFechar")->click();
    EXPECT_FALSE(Janela()->isVisible());

    emit Achar<QSystemTrayIcon>("TrayIcon1")->messageClicked();
    EXPECT_TRUE(Janela()->isVisible());
}

}  // namespace
}  // namespace tessora::qt
