#include "db/conexao_erp.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "banco_teste.h"
#include "comum/erros.h"
#include "db/consulta.h"
#include "db/firebird_interno.h"
#include "db/parametros_integracao.h"

namespace tessora::db {
namespace {

using namespace std::string_view_literals;

class ConexaoErpTest : public ::testing::Test {
  protected:
    testes::PastaTemporaria pasta{"tessora-conexao"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};

    static std::string Ler(ConexaoErp& conexao, std::string_view comando, std::string_view coluna) {
        Consulta consulta(conexao);
        AbrirConsulta(consulta, comando);
        return consulta.Valor(coluna).value_or("<null>");
    }
};

TEST_F(ConexaoErpTest, AnexaComoSysdbaSemConjuntoDeCaracteresEmLeituraConfirmadaSemEspera) {
    ConexaoErp conexao("  " + banco.Nome() + "  ");
    EXPECT_EQ(conexao.NomeBanco(), banco.Nome());
    EXPECT_FALSE(conexao.Aberta());
    conexao.Abrir();
    ASSERT_TRUE(conexao.Aberta());

    const char* anexo =
        "select a.MON$USER, a.MON$CHARACTER_SET_ID from MON$ATTACHMENTS a "
        "where a.MON$ATTACHMENT_ID = current_connection";
    EXPECT_EQ(Ler(conexao, anexo, "MON$USER"),
              "SYSDBA                         ");                 // CHAR keeps its padding
    EXPECT_EQ(Ler(conexao, anexo, "mon$character_set_id"), "0");  // NONE
    // Isolation 2: read committed, record version; lock timeout 0: no wait.
    const char* transacao =
        "select t.MON$ISOLATION_MODE, t.MON$LOCK_TIMEOUT, t.MON$READ_ONLY "
        "from MON$TRANSACTIONS t where t.MON$TRANSACTION_ID = current_transaction";
    EXPECT_EQ(Ler(conexao, transacao, "MON$ISOLATION_MODE"), "2");
    EXPECT_EQ(Ler(conexao, transacao, "MON$LOCK_TIMEOUT"), "0");
    EXPECT_EQ(Ler(conexao, transacao, "MON$READ_ONLY"), "0");
    conexao.Fechar();
    EXPECT_FALSE(conexao.Aberta());
    conexao.Fechar();  // closing twice does nothing
}

TEST_F(ConexaoErpTest, ConfirmacaoRetendoEFechamentoGravamOTrabalho) {
    banco.Executar("create table T_COMMIT (N integer)");
    ConexaoErp conexao(banco.Nome());
    conexao.Abrir();
    Consulta consulta(conexao);
    const auto contar = [&] {
        return banco.Ler("select count(*) as N from T_COMMIT", "N").value();
    };

    ExecutarComando(consulta, "insert into T_COMMIT values (1)", Confirmacao::Retendo);
    EXPECT_EQ(contar(), "1");  // visible to another connection at once
    const auto transacao = Ler(conexao, "select current_transaction as T from rdb$database", "T");

    ExecutarComando(consulta, "insert into T_COMMIT values (2)", Confirmacao::Nenhuma);
    EXPECT_EQ(contar(), "1");  // not yet committed
    // Commit retaining keeps the same transaction open.
    EXPECT_EQ(Ler(conexao, "select current_transaction as T from rdb$database", "T"), transacao);

    conexao.Fechar();  // commits before the detach
    EXPECT_EQ(contar(), "2");
}

TEST_F(ConexaoErpTest, ConexaoAbandonadaNaoConfirmaNada) {
    banco.Executar("create table T_ABANDONO (N integer)");
    {
        ConexaoErp conexao(banco.Nome());
        conexao.Abrir();
        Consulta consulta(conexao);
        ExecutarComando(consulta, "insert into T_ABANDONO values (1)", Confirmacao::Nenhuma);
    }
    EXPECT_EQ(banco.Ler("select count(*) as N from T_ABANDONO", "N"), "0");
}

TEST_F(ConexaoErpTest, ConexaoSomenteLeituraLeMasRecusaEscritas) {
    banco.Executar("create table T_LEITURA (N integer)");
    ConexaoErp conexao(banco.Nome(), ConexaoErp::Acesso::SomenteLeitura);
    conexao.Abrir();
    EXPECT_EQ(Ler(conexao,
                  "select t.MON$READ_ONLY from MON$TRANSACTIONS t "
                  "where t.MON$TRANSACTION_ID = current_transaction",
                  "MON$READ_ONLY"),
              "1");
    EXPECT_EQ(Ler(conexao, "select count(*) as N from T_LEITURA", "N"), "0");
    Consulta consulta(conexao);
    EXPECT_THROW(
        ExecutarComando(consulta, "insert into T_LEITURA values (1)", Confirmacao::Retendo),
        ErroBancoDados);
    // A new transaction after a commit is read-only too.
    conexao.Confirmar();
    EXPECT_THROW(ExecutarComando(consulta, "update TAB_PARAMETRO set ID_PARAMETRO = 1",
                                 Confirmacao::Nenhuma),
                 ErroBancoDados);
    conexao.Fechar();
    EXPECT_EQ(banco.Ler("select count(*) as N from T_LEITURA", "N"), "0");
}

TEST_F(ConexaoErpTest, TextosViajamEmWindows1252ERastroRecebeOComandoComposto) {
    banco.Executar("create table T_TEXTO (ID integer, NOME varchar(40), NOTA blob sub_type text)");
    ConexaoErp conexao(banco.Nome());
    std::vector<std::string> rastro;
    conexao.DefinirRastro([&](std::string_view comando) { rastro.emplace_back(comando); });
    conexao.Abrir();
    Consulta consulta(conexao);
    ExecutarComando(consulta, "insert into T_TEXTO values (1, 'São Paulo Ω', 'Conceição')",
                    Confirmacao::Retendo);
    ExecutarComando(consulta, "insert into T_TEXTO values (2, 'a\0b', null)"sv,
                    Confirmacao::Retendo);

    AbrirConsulta(consulta,
                  "select NOME, octet_length(NOME) as BYTES, NOTA from T_TEXTO where ID = 1");
    EXPECT_EQ(consulta.Valor("NOME"), "São Paulo ?");  // the code page lacks omega
    EXPECT_EQ(consulta.Valor("BYTES"), "11");          // one byte for "ã"
    EXPECT_EQ(consulta.Valor("NOTA"), "Conceição");
    AbrirConsulta(consulta, "select NOME from T_TEXTO where ID = 2");
    EXPECT_EQ(consulta.Valor("NOME"), "ab");  // NUL never reaches the statement
    conexao.Fechar();

    ASSERT_EQ(rastro.size(), 4u);
    EXPECT_EQ(rastro[0], "insert into T_TEXTO values (1, 'São Paulo Ω', 'Conceição')");
    EXPECT_EQ(rastro[2],
              "select NOME, octet_length(NOME) as BYTES, NOTA from T_TEXTO where ID = 1");
}

TEST_F(ConexaoErpTest, ConsultaBuscaTodasAsLinhasEPosicionaNaPrimeira) {
    banco.Executar("create table T_LINHAS (N integer, V numeric(15,4), D date)");
    banco.Executar("insert into T_LINHAS values (7, 12.5, '2024-03-15')");
    banco.Executar("insert into T_LINHAS values (8, null, null)");
    ConexaoErp conexao(banco.Nome());
    conexao.Abrir();
    Consulta consulta(conexao);
    AbrirConsulta(consulta, "select N, V, D from T_LINHAS order by N");
    EXPECT_EQ(consulta.QuantidadeLinhas(), 2u);
    EXPECT_EQ(consulta.Valor("n"), "7");
    EXPECT_EQ(consulta.Valor("V"), "12.5000");
    EXPECT_EQ(consulta.Valor("D"), "2024-03-15");
    EXPECT_THROW(consulta.Valor("X"), ErroBancoDados);

    AbrirConsulta(consulta, "select N from T_LINHAS where N = 0");
    EXPECT_FALSE(consulta.TemLinha());
    EXPECT_EQ(consulta.Valor("N"), std::nullopt);

    AbrirConsulta(consulta, "execute procedure SP_GEN_MOV_NF_COMERCIO_ID");
    const auto primeiro = std::stol(consulta.Valor("ID").value());
    AbrirConsulta(consulta, "execute procedure SP_GEN_MOV_NF_COMERCIO_ID");
    EXPECT_EQ(std::stol(consulta.Valor("ID").value()), primeiro + 1);
    conexao.Fechar();
}

TEST_F(ConexaoErpTest, CadaTipoChegaNoTextoDoMotor) {
    banco.Executar(
        "create table T_TIPOS (PEQUENO smallint, INTEIRO integer, GRANDE bigint, "
        "N42 numeric(4,2), N92 numeric(9,2), N184 numeric(18,4), REAL_ double precision, "
        "FLUTUANTE float, DATA_ date, HORA time, MOMENTO timestamp, FIXO char(5), "
        "VARIAVEL varchar(5), NOTA blob sub_type text, NADA integer)");
    banco.Executar(
        "insert into T_TIPOS values (-7, 2147483647, -9223372036854775808, -12.5, 1234567.89, "
        "-12345678901234.5678, 0.1, 2.5, '2024-02-29', '13:45:07.1234', "
        "'2024-02-29 23:59:59.9999', 'ab', 'ab ', 'nota', null)");
    ConexaoErp conexao(banco.Nome());
    conexao.Abrir();
    Consulta consulta(conexao);
    AbrirConsulta(consulta, "select * from T_TIPOS");
    const std::pair<const char*, std::optional<std::string>> casos[] = {
        {"PEQUENO", "-7"},
        {"INTEIRO", "2147483647"},
        {"GRANDE", "-9223372036854775808"},
        {"N42", "-12.50"},
        {"N92", "1234567.89"},
        {"N184", "-12345678901234.5678"},
        {"REAL_", "0.1000000000000000"},
        {"FLUTUANTE", "2.5000000"},
        {"DATA_", "2024-02-29"},
        {"HORA", "13:45:07.1234"},
        {"MOMENTO", "29-FEB-2024 23:59:59.9999"},
        {"FIXO", "ab   "},
        {"VARIAVEL", "ab "},
        {"NOTA", "nota"},
        {"NADA", std::nullopt},
    };
    for (const auto& [coluna, texto] : casos) EXPECT_EQ(consulta.Valor(coluna), texto) << coluna;
    conexao.Fechar();
}

TEST_F(ConexaoErpTest, BlobLongoEMuitasColunasChegamInteiros) {
    banco.Executar("create table T_LONGO (NOTA blob sub_type text)");
    // Longer than any one read, written by the engine in pieces of its own.
    banco.Executar(
        "insert into T_LONGO select cast(rpad('', 30000, 'abc') as blob sub_type text) || "
        "rpad('', 30000, 'xyz') from rdb$database");
    ConexaoErp conexao(banco.Nome());
    conexao.Abrir();
    Consulta consulta(conexao);
    AbrirConsulta(consulta, "select NOTA from T_LONGO");
    std::string esperado;
    while (esperado.size() < 30000) esperado += "abc";
    esperado.resize(30000);
    std::string fim;
    while (fim.size() < 30000) fim += "xyz";
    fim.resize(30000);
    EXPECT_EQ(consulta.Valor("NOTA"), esperado + fim);

    std::string colunas;
    for (int i = 1; i <= 50; ++i) {
        colunas += (i > 1 ? ", " : "") + std::to_string(i) + " as C" + std::to_string(i);
    }
    AbrirConsulta(consulta, "select " + colunas + " from rdb$database");
    EXPECT_EQ(consulta.Valor("C1"), "1");
    EXPECT_EQ(consulta.Valor("C50"), "50");
    conexao.Fechar();
}

TEST_F(ConexaoErpTest, ErrosDoBancoChegamComOTextoFormatado) {
    ConexaoErp conexao(banco.Nome());
    conexao.Abrir();
    Consulta consulta(conexao);
    try {
        AbrirConsulta(consulta, "select X from TABELA_QUE_NAO_EXISTE");
        FAIL() << "sem erro";
    } catch (const ErroBancoDados& e) {
        EXPECT_NE(std::string(e.what()).find("Table unknown"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("TABELA_QUE_NAO_EXISTE"), std::string::npos)
            << e.what();
    }
    // A failed statement leaves the connection usable.
    AbrirConsulta(consulta, "select 1 as UM from rdb$database");
    EXPECT_EQ(consulta.Valor("UM"), "1");
    conexao.Fechar();
}

// Clients before Firebird 2.0 have isc_interprete alone: the text must not depend on which.
TEST(TextoStatusTest, SemFbInterpretOTextoEhOMesmo) {
    testes::PrepararFirebirdEmbarcado();
    testes::PastaTemporaria pasta("tessora-status");
    const std::string nome = (pasta.Caminho() / "NAO_EXISTE.FDB").string();
    FuncoesCliente funcoes = interno::Cliente();
    ISC_STATUS_ARRAY status = {};
    AlcaFirebird anexo{};
    funcoes.isc_attach_database(status, 0, nome.c_str(), &anexo, 0, nullptr);
    ASSERT_TRUE(interno::Falhou(status));

    const std::string texto = interno::TextoStatus(funcoes, status);
    EXPECT_EQ(texto, "I/O error during \"open\" operation for file \"" + nome +
                         "\"\n-Error while trying to open file\n-No such file or directory");
    funcoes.fb_interpret = nullptr;
    EXPECT_EQ(interno::TextoStatus(funcoes, status), texto);
}

TEST(ConexaoErpSemBancoTest, AnexoRecusadoLancaEDeixaFechada) {
    testes::PrepararFirebirdEmbarcado();
    testes::PastaTemporaria pasta("tessora-semanexo");
    for (const std::string& nome :
         {(pasta.Caminho() / "NAO_EXISTE.FDB").string(), std::string("  ")}) {
        ConexaoErp conexao(nome);
        EXPECT_THROW(conexao.Abrir(), ErroBancoDados) << nome;
        EXPECT_FALSE(conexao.Aberta());
        EXPECT_NO_THROW(conexao.Fechar());
    }
}

TEST_F(ConexaoErpTest, SincronizacaoHabilitadaSoComSExato) {
    struct Caso {
        const char* valor;  // SQL literal
        bool habilitado;
    };
    const Caso casos[] = {{"'S'", true},  {"'s'", false}, {"' S'", false}, {"'S '", false},
                          {"'N'", false}, {"''", false},  {"null", false}};
    // Room for the blank: the ERP's flag column is a single character.
    banco.Executar(
        "alter table TAB_PARAMETRO alter ST_SINCRONIZAR_APP_FORCA_VENDA type varchar(3)");
    for (const auto& caso : casos) {
        banco.Executar(std::string("update TAB_PARAMETRO set ST_SINCRONIZAR_APP_FORCA_VENDA = ") +
                       caso.valor + " where ID_PARAMETRO = 1");
        ConexaoErp conexao(banco.Nome());
        conexao.Abrir();
        EXPECT_EQ(AppForcaVendaHabilitado(conexao), caso.habilitado) << caso.valor;
        conexao.Fechar();
    }
    banco.Executar("delete from TAB_PARAMETRO");
    ConexaoErp conexao(banco.Nome());
    conexao.Abrir();
    EXPECT_FALSE(AppForcaVendaHabilitado(conexao));
    EXPECT_EQ(ObterTokenAppForcaVenda(conexao), "");
    conexao.Fechar();
}

}  // namespace
}  // namespace tessora::db
