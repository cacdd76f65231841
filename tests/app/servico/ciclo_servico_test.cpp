#include "app/servico/ciclo_servico.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/configuracoes/leitura_configuracoes.h"
#include "arquivos_teste.h"
#include "avisos_gravados.h"
#include "comum/erros.h"
#include "instalacao_erp_teste.h"

namespace tessora::app {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string Ler(const std::filesystem::path& caminho) {
    std::ifstream entrada(caminho, std::ios::binary);
    std::stringstream conteudo;
    conteudo << entrada.rdbuf();
    return conteudo.str();
}

class CicloServicoTest : public ::testing::Test {
  protected:
    CicloServicoTest() { erp.InstalarPrograma(); }
    DesfechoInicio Iniciar() {
        return IniciarServico(erp.Executavel(), LerConfiguracoes(erp.Executavel()), avisos,
                              caminhos, estado);
    }
    std::string PastaDados() const { return erp.PastaDados().string() + "/"; }
    std::filesystem::path Lock() const { return erp.PastaDados() / "tessoraService.lock"; }
    std::filesystem::path Ini() const { return erp.PastaPrograma() / "tessoraService.ini"; }

    testes::InstalacaoErpTeste erp;
    testes::AvisosGravados avisos;
    db::CaminhosAtualizacao caminhos;
    EstadoServico estado;
};

TEST_F(CicloServicoTest, InicioCompletoSeguraOLockECarregaAsConfiguracoes) {
    testes::GravarArquivo(Ini(),
                          "[AppForcaVendas]\r\nProcessoAtivo=S\r\nTempoEsperaAtualizacao=12\r\n");
    ASSERT_EQ(Iniciar(), DesfechoInicio::Residente);
    EXPECT_TRUE(avisos.mensagens.empty());
    ASSERT_TRUE(estado.configuracoes);
    EXPECT_TRUE(estado.configuracoes->processoAtivo);
    EXPECT_EQ(estado.configuracoes->tempoEsperaAtualizacao, "12");
    EXPECT_EQ(caminhos.nomeExecutavel, "tessoraService");  // the attach refreshed the update paths
    EXPECT_FALSE(ArquivoLock::Adquirir(erp.Executavel(), PastaDados()));  // held

    FecharServico(erp.Executavel(), {false, "7"}, estado);
    EXPECT_EQ(Ler(Ini()), "[AppForcaVendas]\r\nProcessoAtivo=N\r\nTempoEsperaAtualizacao=7\r\n");
    EXPECT_FALSE(std::filesystem::exists(Lock()));
}

TEST_F(CicloServicoTest, OutraCopiaEmExecucaoMostraOAvisoEEncerraSemTocarNoLockDela) {
    const auto outra = ArquivoLock::Adquirir(erp.Executavel(), PastaDados());
    ASSERT_TRUE(outra);
    EXPECT_EQ(Iniciar(), DesfechoInicio::Encerrar);
    EXPECT_EQ(avisos.mensagens,
              std::vector<std::string>{"Aviso do Sistema|" + MensagemOutraCopia(erp.Executavel()) +
                                       "|informacao"});
    EXPECT_TRUE(std::filesystem::exists(Lock()));
    EXPECT_FALSE(estado.configuracoes);
    EXPECT_TRUE(caminhos.nomeExecutavel.empty());  // no connection was made
}

TEST_F(CicloServicoTest, FalhasDaInicializacaoEncerramSemDeixarLock) {
    struct Caso {
        const char* descricao;
        std::function<void()> preparar;
        ::testing::Matcher<std::vector<std::string>> mensagens;
    };
    // Each case keeps what the earlier ones broke.
    const Caso casos[] = {
        {"updater missing from the master folder",
         [&] { std::filesystem::remove(erp.PastaMestre() / "tessoraAtualizador"); },
         ElementsAre("Aviso do Sistema|Não foi encontrado o tessora Atualizador no Servidor. Entre "
                     "em contato com o "
                     "suporte técnico da tessora.|nenhum")},
        {"refused attach, shown with its reason",
         [&] { erp.DefinirBanco("", PastaDados(), "NAO_EXISTE.FDB"); },
         ElementsAre(
             AllOf(StartsWith("tessora Service|Não foi possível conectar ao banco de dados: "),
                   HasSubstr("NAO_EXISTE.FDB"), EndsWith("|erro")))},
        {"server INI missing", [&] { std::filesystem::remove(erp.PastaDados() / "servidor.ini"); },
         ElementsAre("Aviso do Sistema|Não foi encontrado o arquivo de inicialização dentro da "
                     "pasta tessora Empresa|erro")},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        caso.preparar();
        avisos.mensagens.clear();
        EXPECT_EQ(Iniciar(), DesfechoInicio::Encerrar);
        EXPECT_THAT(avisos.mensagens, caso.mensagens);
        EXPECT_FALSE(estado.lock);
        EXPECT_FALSE(std::filesystem::exists(Lock()));
        EXPECT_FALSE(estado.configuracoes);
    }
}

TEST_F(CicloServicoTest, FechamentoSemConfiguracoesCarregadasNaoAsSobrescreve) {
    testes::GravarArquivo(Ini(), "[AppForcaVendas]\r\nProcessoAtivo=S\r\n");
    estado.lock.emplace(std::move(*ArquivoLock::Adquirir(erp.Executavel(), PastaDados())));
    FecharServico(erp.Executavel(), {false, "0"}, estado);
    EXPECT_EQ(Ler(Ini()), "[AppForcaVendas]\r\nProcessoAtivo=S\r\n");
    EXPECT_FALSE(std::filesystem::exists(Lock()));
}

TEST_F(CicloServicoTest, ConfiguracoesQueNaoPodemSerGravadasMantemOLock) {
    std::filesystem::create_directory(Ini());  // a folder where the file should be
    estado.lock.emplace(std::move(*ArquivoLock::Adquirir(erp.Executavel(), PastaDados())));
    estado.configuracoes = ConfiguracoesServico{};
    EXPECT_THROW(FecharServico(erp.Executavel(), {true, "5"}, estado), Erro);
    EXPECT_TRUE(estado.lock);
    EXPECT_TRUE(std::filesystem::exists(Lock()));
}

}  // namespace
}  // namespace tessora::app
