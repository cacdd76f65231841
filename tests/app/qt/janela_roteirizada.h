#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "aplicacao_qt.h"
#include "app/qt/frm_principal.h"
#include "avisos_gravados.h"
#include "instalacao_erp_teste.h"
#include "pedidos_roteirizados.h"

namespace tessora::testes {

// The main window started in a temporary ERP installation, its runs' orders and their
// outcomes set by the test.
class JanelaRoteirizadaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AplicacaoQt();
        erp.InstalarPrograma();
        janela = std::make_unique<qt::TfrmPrincipal>(
            app::ServicoResidente::Opcoes{erp.Executavel()}, avisos, pedidos, true);
        ASSERT_TRUE(janela->FormCreate());
    }

    // In the main window, or in its child of that name (a page, a window of its own).
    template <typename Controle>
    Controle* Achar(const char* nome, const char* dentro = nullptr) const {
        const QObject* pai = dentro ? janela->findChild<QWidget*>(dentro) : janela.get();
        auto* controle = pai ? pai->findChild<Controle*>(nome) : nullptr;
        EXPECT_NE(controle, nullptr) << nome;
        return controle;
    }

    InstalacaoErpTeste erp;
    AvisosGravados avisos;
    PedidosRoteirizados pedidos;
    std::unique_ptr<qt::TfrmPrincipal> janela;
};

}  // namespace tessora::testes
