#include <gtest/gtest.h>

#include "app/apresentacao/versao_programa.h"
#include "app/configuracoes/leitura_configuracoes.h"
#include "app/servico/intervalo_sincronizacao.h"
#include "arquivos_teste.h"
#include "banco_teste.h"
#include "comum/erros.h"

namespace tessora::app {
namespace {

using std::chrono::milliseconds;

TEST(ConfiguracoesServicoTest, ArquivoIniDerivadoDoExecutavel) {
    EXPECT_EQ(ObterArquivoIni("/opt/erp/tessoraService"), "/opt/erp/tessoraService.ini");
    EXPECT_EQ(ObterArquivoIni("/opt/erp/tessoraService.exe"), "/opt/erp/tessoraService.ini");
}

TEST(ConfiguracoesServicoTest, LeituraComPadroes) {
    struct Caso {
        const char* conteudo;  // nullptr: no file
        bool ativo;
        std::string minutos;
    };
    const Caso casos[] = {
        {nullptr, false, "5"},
        {"[AppForcaVendas]\r\nProcessoAtivo=S\r\n", true, "5"},
        {"[appforcavendas]\r\nprocessoativo=s\r\ntempoesperaatualizacao= 05 \r\n", false, "05"},
        {"[AppForcaVendas]\r\nProcessoAtivo=Sim\r\nTempoEsperaAtualizacao=\r\n", false,
         ""},  // present but empty
        {"[Outra]\r\nProcessoAtivo=S\r\nTempoEsperaAtualizacao=9\r\n", false, "5"},
        {"[AppForcaVendas]\r\nProcessoAtivo=\"S\"\r\nTempoEsperaAtualizacao='10'\r\n", true, "10"},
    };
    testes::PastaTemporaria pasta("tessora-config");
    const auto arquivo = pasta.Caminho() / "tessoraService.ini";
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.conteudo ? caso.conteudo : "(no file)");
        std::filesystem::remove(arquivo);
        if (caso.conteudo) testes::GravarArquivo(arquivo, caso.conteudo);
        const auto lidas = LerConfiguracoes(pasta.Caminho() / "tessoraService").servico;
        EXPECT_EQ(lidas.processoAtivo, caso.ativo);
        EXPECT_EQ(lidas.tempoEsperaAtualizacao, caso.minutos);
    }
    // Values are cut to 2047 characters, whole characters.
    testes::GravarArquivo(arquivo, "[AppForcaVendas]\r\nTempoEsperaAtualizacao=" +
                                       std::string(3000, '\xE9') + "\r\n");
    EXPECT_EQ(
        LerConfiguracoes(pasta.Caminho() / "tessoraService").servico.tempoEsperaAtualizacao.size(),
        2047u * 2);
}

TEST(IntervaloSincronizacaoTest, MinutosParaOTemporizador) {
    const std::pair<const char*, std::optional<milliseconds>> validos[] = {
        {"5", milliseconds(300000)},  {"05", milliseconds(300000)},
        {" 7", milliseconds(420000)}, {"+2", milliseconds(120000)},
        {"0", std::nullopt},          {"35791", milliseconds(2147460000)},
    };
    for (const auto& [texto, intervalo] : validos)
        EXPECT_EQ(IntervaloSincronizacao(texto), intervalo) << texto;

    for (const char* texto : {"", "-", "1,5", "1.5", "7 ", "abc", "2147483648", "0x10"}) {
        try {
            IntervaloSincronizacao(texto);
            ADD_FAILURE() << texto;
        } catch (const ErroConversao& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(texto) + "' is not a valid integer value");
        }
    }
    for (const char* texto : {"35792", "-1", "2147483647"}) {
        EXPECT_THROW(IntervaloSincronizacao(texto), Erro) << texto;
    }
}

TEST(VersaoProgramaTest, DataDaUltimaGravacaoDoExecutavel) {
    testes::PastaTemporaria pasta("tessora-versao");
    const auto executavel = pasta.Caminho() / "tessoraService";
    testes::GravarArquivo(executavel, "programa");
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 15;
    local.tm_hour = 14;
    local.tm_min = 5;
    local.tm_sec = 59;
    local.tm_isdst = -1;
    const auto instante = std::chrono::system_clock::from_time_t(std::mktime(&local));
    std::filesystem::last_write_time(executavel, std::chrono::file_clock::from_sys(instante));
    EXPECT_EQ(TextoVersao(executavel), "Versão: 15/03/2024 14:05");
}

}  // namespace
}  // namespace tessora::app
