#include "db/biblioteca_cliente.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "arquivos_teste.h"
#include "banco_teste.h"
#include "comum/erros.h"
#include "db/conexao_erp.h"
#include "plataforma/biblioteca_dinamica.h"

namespace tessora::db {
namespace {

using ::testing::AllOf;
using ::testing::EndsWith;
using ::testing::StartsWith;

// The message of the failure to load the client library under these names.
std::string Falha(const std::filesystem::path& pasta, const std::vector<std::string>& nomes) {
    try {
        CarregarClienteFirebird(pasta, nomes);
    } catch (const ErroBancoDados& e) {
        return e.what();
    }
    ADD_FAILURE() << "a biblioteca foi carregada";
    return {};
}

// The first bytes of a library of the given bitness in this system's format: enough for
// the system to refuse it and for its header to be read.
std::string CabecalhoBiblioteca(int bits) {
#ifdef _WIN32
    std::string bytes(0x100, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3C] = '\x80';  // the PE header's offset
    bytes.replace(0x80, 4, std::string("PE\0\0", 4));
    bytes.replace(0x84, 2, bits == 32 ? std::string("\x4c\x01", 2) : std::string("\x64\x86", 2));
    return bytes;
#else
    std::string bytes(64, '\0');
    bytes.replace(0, 4,
                  "\x7f"
                  "ELF");
    bytes[4] = bits == 32 ? '\1' : '\2';
    return bytes;
#endif
}

class BibliotecaClienteTest : public ::testing::Test {
  protected:
    testes::PastaTemporaria pasta{"tessora-cliente"};
    // The name the program tries first, in a folder of its own.
    std::filesystem::path Primeira() const { return pasta.Caminho() / NomesBibliotecaCliente()[0]; }
    static std::string Texto(const std::filesystem::path& caminho) {
        const std::u8string texto = caminho.u8string();
        return std::string(texto.begin(), texto.end());
    }
};

TEST_F(BibliotecaClienteTest, NenhumaBibliotecaNomeiaOsArquivosProcurados) {
    EXPECT_EQ(Falha(pasta.Caminho(), {"tessora-sem-cliente-1", "tessora-sem-cliente-2"}),
              "A biblioteca cliente do Firebird (tessora-sem-cliente-1, tessora-sem-cliente-2) "
              "não foi encontrada na pasta do programa nem no sistema");
}

TEST_F(BibliotecaClienteTest, ArquivoDoNomeQueNaoEhBibliotecaEhNomeadoComOMotivo) {
    testes::GravarArquivo(Primeira(), "isto não é uma biblioteca");
    EXPECT_THAT(Falha(pasta.Caminho(), NomesBibliotecaCliente()),
                StartsWith("O arquivo " + Texto(Primeira()) +
                           " não pôde ser carregado como biblioteca cliente do Firebird: "));
}

TEST_F(BibliotecaClienteTest, BibliotecaDeOutraArquiteturaPedeAVersaoCerta) {
    const int outra = plataforma::kBitsPrograma == 64 ? 32 : 64;
    testes::GravarArquivo(Primeira(), CabecalhoBiblioteca(outra));
    EXPECT_EQ(plataforma::BitsBinario(Primeira()), outra);
    EXPECT_EQ(Falha(pasta.Caminho(), NomesBibliotecaCliente()),
              "A biblioteca cliente do Firebird " + Texto(Primeira()) + " é de " +
                  std::to_string(outra) + " bits e este programa é de " +
                  std::to_string(plataforma::kBitsPrograma) + " bits: use a versão de " +
                  std::to_string(outra) + " bits do tessora Service");
}

TEST_F(BibliotecaClienteTest, BibliotecaSemAsFuncoesDoClienteEhRecusadaPelaPrimeiraQueFalta) {
#ifdef _WIN32
    const std::string sistema = "kernel32.dll";
#else
    const std::string sistema = "libm.so.6";
#endif
    EXPECT_THAT(Falha(pasta.Caminho(), {sistema}),
                AllOf(StartsWith("A biblioteca cliente do Firebird "),
                      EndsWith(" não oferece isc_attach_database")));
}

#ifdef _WIN32
// No client library is installed here: the first connection fails with the reason, and
// the program itself started without it.
TEST(ConexaoSemBibliotecaClienteTest, FalhaDaConexaoDizQueABibliotecaFalta) {
    ConexaoErp conexao("C:\\ERP\\Dados\\ERP.FDB");
    try {
        conexao.Abrir();
        FAIL() << "a conexão foi aberta";
    } catch (const ErroBancoDados& e) {
        EXPECT_STREQ(e.what(),
                     "A biblioteca cliente do Firebird (gds32.dll, fbclient.dll) não foi "
                     "encontrada na pasta do programa nem no sistema");
    }
}
#else
TEST_F(BibliotecaClienteTest, UmNomeSeguinteServeQuandoOPrimeiroEhRecusado) {
    testes::GravarArquivo(pasta.Caminho() / "cliente-quebrado.so", "não é biblioteca");
    EXPECT_NE(CarregarClienteFirebird(pasta.Caminho(), {"cliente-quebrado.so", "libfbclient.so.2"})
                  .isc_attach_database,
              nullptr);
}
#endif

}  // namespace
}  // namespace tessora::db
