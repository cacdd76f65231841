// The program without a window, driven by its own loop, in a temporary ERP installation.
#include "app/terminal/hospedeiro_terminal.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

#include "arquivos_teste.h"
#include "avisos_gravados.h"
#include "instalacao_erp_teste.h"
#include "painel_gravado.h"
#include "pedidos_sem_novos.h"
#include "plataforma/sinais_encerramento.h"

namespace tessora::app {
namespace {

using namespace std::chrono_literals;

std::string Ler(const std::filesystem::path& caminho) {
    std::ifstream entrada(caminho, std::ios::binary);
    std::stringstream conteudo;
    conteudo << entrada.rdbuf();
    return conteudo.str();
}

TEST(HospedeiroTerminalTest, TemporizadorExecutaAteOFimQueEsperaAExecucao) {
    const std::string configuracoes =
        "[AppForcaVendas]\r\nprocessoativo = S\r\nTempoEsperaAtualizacao=2\r\n";
    struct Caso {
        const char* descricao;
        // What happens during the third run.
        std::function<void(const testes::InstalacaoErpTeste&)> pedirFim;
        std::string gravado;  // the settings file afterwards
    };
    const Caso casos[] = {
        {"the ERP's request leaves the settings alone",
         [](const testes::InstalacaoErpTeste& erp) {
             testes::GravarArquivo(erp.PastaDados() / "Conectado.txt", "DESCONECTAR\r\n");
         },
         configuracoes},
        {"the system's request takes the close handling's way",
         [](const testes::InstalacaoErpTeste&) { ::raise(SIGTERM); },
         "[AppForcaVendas]\r\nProcessoAtivo=S\r\nTempoEsperaAtualizacao=2\r\n"},
    };
    const int sinais = plataforma::DesviarSinaisEncerramento();
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        testes::InstalacaoErpTeste erp;
        erp.InstalarPrograma();
        const auto ini = erp.PastaPrograma() / "tessoraService.ini";
        testes::GravarArquivo(ini, configuracoes);
        testes::AvisosGravados avisos;
        testes::PainelGravado painel;
        testes::PedidosSemNovos pedidos;
        std::vector<OrigemExecucao> execucoes;
        // One "minute" is 10 ms here; the watch looks every 5 ms.
        HospedeiroTerminal servico({erp.Executavel(), 10ms, 5ms,
                                    [&](const AmbienteExecucao& ambiente) {
                                        execucoes.push_back(ambiente.origem);
                                        if (execucoes.size() == 3) caso.pedirFim(erp);
                                        // Long enough for ticks of both timers to fall due.
                                        std::this_thread::sleep_for(30ms);
                                        return ResumoExecucao{{}, FimExecucao::Concluida};
                                    }},
                                   avisos, painel, pedidos);

        EXPECT_EQ(servico.Executar(sinais), 0);
        EXPECT_EQ(execucoes, std::vector<OrigemExecucao>(3, OrigemExecucao::Temporizador));
        EXPECT_FALSE(std::filesystem::exists(erp.PastaDados() / "tessoraService.lock"));
        EXPECT_EQ(Ler(ini), caso.gravado);
        EXPECT_TRUE(avisos.mensagens.empty());
    }
}

}  // namespace
}  // namespace tessora::app
