// The resident service records its runs with where they came from.
#include <gtest/gtest.h>

#include "app/configuracoes/configuracoes_historico.h"
#include "app/historico/leitura_historico.h"
#include "app/servico/servico_residente.h"
#include "avisos_gravados.h"
#include "hospedeiro_falso.h"
#include "instalacao_erp_teste.h"
#include "painel_gravado.h"
#include "pedidos_sem_novos.h"

namespace tessora::app {
namespace {

TEST(HistoricoServicoTest, ExecucoesPeloBotaoEPeloTemporizadorFicamNoHistorico) {
    testes::InstalacaoErpTeste erp;
    erp.InstalarPrograma();
    testes::HospedeiroFalso hospedeiro;
    testes::AvisosGravados avisos;
    testes::PainelGravado painel;
    testes::PedidosSemNovos pedidos;
    ServicoResidente servico({erp.Executavel()}, hospedeiro, hospedeiro, avisos, painel, pedidos);
    ASSERT_TRUE(servico.Iniciar()) << (avisos.mensagens.empty() ? "" : avisos.mensagens[0]);

    servico.SincronizarAgora();
    ASSERT_TRUE(hospedeiro.ServirAte([&] { return hospedeiro.terminadas.size() == 1; }));
    servico.DefinirProcessoAtivo(true);
    servico.AjustarIntervaloSincronizacao("1");
    EXPECT_EQ(hospedeiro.temporizadores.at(Temporizador::Sincronizacao), std::chrono::minutes(1));
    servico.Tique(Temporizador::Sincronizacao);
    ASSERT_TRUE(hospedeiro.ServirAte([&] { return hospedeiro.terminadas.size() == 2; }));

    std::vector<std::string> origens;
    for (const auto& e : LeituraHistorico(ObterArquivoHistorico(erp.Executavel())).Execucoes({})) {
        origens.push_back(e.origem);
    }
    EXPECT_EQ(origens, (std::vector<std::string>{"botao", "temporizador"}));
    EXPECT_TRUE(hospedeiro.terminadas[1].Normal());
}

}  // namespace
}  // namespace tessora::app
