// The resident service records its runs with where they came from.
#include <gtest/gtest.h>

#include "aplicacao_qt.h"
#include "app/configuracoes_historico.h"
#include "app/leitura_historico.h"
#include "app/ui/servico_residente.h"
#include "avisos_gravados.h"
#include "instalacao_erp_teste.h"
#include "pedidos_sem_novos.h"

namespace tessora::ui {
namespace {

using namespace std::chrono_literals;

class PainelMudo : public app::PainelExecucao {
  public:
    void HabilitarSincronizarAgora(bool) override {}
    void ExibirUltimaAtualizacao(const std::string&) override {}
    void LimparLog() override {}
    void AcrescentarLinhaLog(const std::string&) override {}
};

TEST(HistoricoServicoTest, ExecucoesPeloBotaoEPeloTemporizadorFicamNoHistorico) {
    testes::AplicacaoQt();
    testes::InstalacaoErpTeste erp;
    erp.InstalarPrograma();
    testes::AvisosGravados avisos;
    PainelMudo painel;
    testes::PedidosSemNovos pedidos;
    ServicoResidente servico({erp.Executavel(), 20ms}, avisos, painel, pedidos);
    ASSERT_TRUE(servico.Iniciar()) << (avisos.mensagens.empty() ? "" : avisos.mensagens[0]);
    const auto arquivo = app::ObterArquivoHistorico(erp.Executavel());
    const auto origens = [&] {
        std::vector<std::string> lista;
        if (!std::filesystem::exists(arquivo)) return lista;
        for (const auto& e : app::LeituraHistorico(arquivo).Execucoes({})) {
            if (e.termino) lista.push_back(e.origem);
        }
        return lista;
    };

    servico.SincronizarAgora();
    ASSERT_TRUE(
        testes::Aguardar([&] { return !servico.EmExecucao() && origens().size() == 1; }, 60s));
    servico.DefinirProcessoAtivo(true);
    servico.AjustarIntervaloSincronizacao("1");
    ASSERT_TRUE(testes::Aguardar([&] { return origens().size() >= 2; }, 60s));
    servico.DefinirProcessoAtivo(false);
    ASSERT_TRUE(testes::Aguardar([&] { return !servico.EmExecucao(); }));
    EXPECT_EQ(origens().at(0), "botao");
    EXPECT_EQ(origens().at(1), "temporizador");
}

}  // namespace
}  // namespace tessora::ui
