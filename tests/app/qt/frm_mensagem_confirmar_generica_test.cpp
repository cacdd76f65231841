#include "app/qt/frm_mensagem_confirmar_generica.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "aplicacao_qt.h"

namespace tessora::qt {
namespace {

using namespace std::chrono_literals;

int AvisosAbertos() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int abertos = 0;
    for (const QWidget* janela : QApplication::topLevelWidgets()) {
        if (qobject_cast<const TfrmMensagemConfirmarGenerica*>(janela)) ++abertos;
    }
    return abertos;
}

TEST(AvisoTest, AvisoSimplesFechaSozinhoDepoisDaEsperaSemPararAJanela) {
    testes::AplicacaoQt();
    struct Visto {
        QSize tamanho;
        bool caixaVisivel = true, botaoVisivel = true, painelVisivel = true;
        QString mensagem, titulo;
    } visto;
    bool viuDuranteAEspera = false;
    // Runs while ExibirAviso waits: the event loop goes on.
    QTimer::singleShot(100ms, [&] {
        const auto* aviso = frmMensagemConfirmarGenerica();
        ASSERT_NE(aviso, nullptr);
        viuDuranteAEspera = aviso->isVisible();
        visto = {aviso->size(),
                 aviso->findChild<QCheckBox*>("ckbConcordo")->isVisible(),
                 aviso->findChild<QPushButton*>("btnOk")->isVisible(),
                 aviso->findChild<QFrame*>("Panel1")->isVisible(),
                 aviso->findChild<QLabel*>("lblMensagem")->text(),
                 aviso->windowTitle()};
    });
    ExibirAviso(
        "O aplicativo /opt/erp/tessoraService já está sendo executado em outra sessão de trabalho.",
        ConfirmacaoAviso::Dispensada, FechamentoAviso::Sozinho, 400ms);

    EXPECT_TRUE(viuDuranteAEspera);
    EXPECT_EQ(visto.tamanho, QSize(540, 80));
    EXPECT_FALSE(visto.caixaVisivel || visto.botaoVisivel || visto.painelVisivel);
    EXPECT_EQ(visto.mensagem,
              "O aplicativo /opt/erp/tessoraService já está sendo executado em outra sessão de "
              "trabalho.");
    EXPECT_EQ(visto.titulo, "Aviso do Sistema");
    EXPECT_EQ(frmMensagemConfirmarGenerica(), nullptr);
    EXPECT_EQ(AvisosAbertos(), 0);
}

TEST(AvisoTest, ConfirmacaoSoFechaComACaixaMarcada) {
    testes::AplicacaoQt();
    ExibirAviso("Leia com atenção.", ConfirmacaoAviso::Exigida,
                FechamentoAviso::PeloOperador);  // returns at once
    QPointer<TfrmMensagemConfirmarGenerica> aviso = frmMensagemConfirmarGenerica();
    ASSERT_NE(aviso, nullptr);
    EXPECT_TRUE(aviso->isVisible());
    EXPECT_EQ(aviso->size(), QSize(540, 200));
    auto* caixa = aviso->findChild<QCheckBox*>("ckbConcordo");
    auto* ok = aviso->findChild<QPushButton*>("btnOk");
    EXPECT_EQ(caixa->text(), "Estou ciente destas informações.");
    EXPECT_TRUE(caixa->isVisible());
    EXPECT_TRUE(ok->isVisible());

    EXPECT_FALSE(ok->isEnabled());
    caixa->click();
    EXPECT_TRUE(ok->isEnabled());
    caixa->click();
    EXPECT_FALSE(ok->isEnabled());
    aviso->reject();  // Esc does not dismiss it
    EXPECT_TRUE(aviso->isVisible());

    caixa->click();
    ok->click();
    EXPECT_EQ(frmMensagemConfirmarGenerica(), nullptr);
    EXPECT_EQ(AvisosAbertos(), 0);
}

TEST(AvisoTest, SegundoAvisoAbreOutraJanelaEFecharQualquerUmLimpaAReferencia) {
    testes::AplicacaoQt();
    ExibirAviso("primeiro", ConfirmacaoAviso::Dispensada, FechamentoAviso::PeloOperador);
    QPointer<TfrmMensagemConfirmarGenerica> primeiro = frmMensagemConfirmarGenerica();
    ExibirAviso("segundo", ConfirmacaoAviso::Dispensada, FechamentoAviso::PeloOperador);
    QPointer<TfrmMensagemConfirmarGenerica> segundo = frmMensagemConfirmarGenerica();
    ASSERT_TRUE(primeiro && segundo);
    EXPECT_NE(primeiro, segundo);
    EXPECT_EQ(AvisosAbertos(), 2);

    primeiro->close();
    EXPECT_EQ(frmMensagemConfirmarGenerica(), nullptr);
    EXPECT_EQ(AvisosAbertos(), 1);
    segundo->close();
    EXPECT_EQ(AvisosAbertos(), 0);
}

}  // namespace
}  // namespace tessora::qt
