#include "db/consultas_erp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "banco_teste.h"
#include "comum/erros.h"
#include "db/conexao_erp.h"
#include "db/leitura_coluna.h"

namespace tessora::db {
namespace {

using Resultado = std::variant<int32_t, std::string>;

const ColunaTexto kIdApp{50, false};  // the test schema's ID_APP_FORCA_VENDA

struct CasoConsulta {
    const char* nome;
    std::function<Resultado(ConexaoErp&)> chamar;
    std::string comando;  // empty: not checked
    Resultado esperado;
};

class ConsultasErpTest : public ::testing::Test {
  protected:
    ConsultasErpTest() {
        conexao.DefinirRastro([this](std::string_view comando) { rastro.emplace_back(comando); });
        conexao.Abrir();
    }

    // Each look-up sends exactly one statement and gives the expected value.
    void Verificar(const std::vector<CasoConsulta>& casos) {
        for (const auto& caso : casos) {
            rastro.clear();
            EXPECT_EQ(caso.chamar(conexao), caso.esperado) << caso.nome;
            if (caso.comando.empty()) continue;
            ASSERT_EQ(rastro.size(), 1u) << caso.nome;
            EXPECT_EQ(rastro.front(), caso.comando) << caso.nome;
        }
    }

    testes::PastaTemporaria pasta{"tessora-consultas"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};
    ConexaoErp conexao{banco.Nome()};
    std::vector<std::string> rastro;
};

TEST_F(ConsultasErpTest, CadaConsultaEnviaSeuComandoELeOValorDaSemente) {
    Verificar({
        {"LerParametro", [](auto& c) { return LerParametro(c, "ID_EMPRESA_APP_FORCA_VENDA"); },
         " select ID_EMPRESA_APP_FORCA_VENDA from TAB_PARAMETRO where ID_PARAMETRO = 1", "1"},
        {"LerParametro texto", [](auto& c) { return LerParametro(c, "DS_TOKEN_APP_FORCA_VENDA"); },
         " select DS_TOKEN_APP_FORCA_VENDA from TAB_PARAMETRO where ID_PARAMETRO = 1",
         "token-demonstracao"},
        {"TipoMovEstoqueDaNatureza", [](auto& c) { return TipoMovEstoqueDaNatureza(c, 1); },
         " select tno.id_tp_mov_estoque from tab_nat_operacao tno where tno.id_nat_operacao =  1",
         2},
        {"ImprimeNotaDaNatureza", [](auto& c) { return ImprimeNotaDaNatureza(c, 2); },
         " select tno.st_imprime_nota from tab_nat_operacao tno where tno.id_nat_operacao =  2",
         "N"},
        {"PessoaPorCnpjCpf", [](auto& c) { return PessoaPorCnpjCpf(c, "30506070000187"); },
         " select cp.id_pessoa from cad_pessoa cp where cp.no_cnpj_cpf = '30506070000187'", 5},
        {"CidadeDoEndereco", [](auto& c) { return CidadeDoEndereco(c, 4, "st_fatura"); },
         " select cep.id_cidade from cad_end_pessoa cep where cep.id_pessoa = 4 and cep.st_fatura "
         "= 'S'",
         2},
        {"EnderecoDaPessoa", [](auto& c) { return EnderecoDaPessoa(c, 4, "st_entrega"); },
         " select cep.id_end_pessoa from cad_end_pessoa cep where cep.id_pessoa = 4 and "
         "cep.st_entrega = 'S'",
         3},
        {"EstadoDoEndereco", [](auto& c) { return EstadoDoEndereco(c, 5, "st_fatura"); },
         " select tc.sg_estado from cad_end_pessoa cep inner join tab_cidade tc on (tc.id_cidade = "
         "cep.id_cidade) "
         "where cep.id_pessoa = 5 and cep.st_fatura = 'S'",
         "PR"},
        {"PessoaPorVendedorApp", [](auto& c) { return PessoaPorVendedorApp(c, "vend-102"); },
         " select pe.id_pessoa from cad_pessoa pe where pe.ID_VENDEDOR_APP_FORCA_VENDA = "
         "'vend-102'",
         3},
        {"TipoFretePorDescricao", [](auto& c) { return TipoFretePorDescricao(c, "FOB"); },
         " select ftf.id_tp_frete from fix_tp_frete ftf where ftf.ds_tp_frete = 'FOB'", 2},
        {"SeriePedidoDoVendedor", [](auto& c) { return SeriePedidoDoVendedor(c, 2); },
         " select pe.DS_SERIE_PEDIDO_APP_FORCA_VENDA from cad_pessoa pe where pe.id_pessoa = 2",
         "PV1"},
        {"ProdutoPorIdApp", [](auto& c) { return ProdutoPorIdApp(c, "prod-503"); },
         " select cp.id_produto from cad_produto cp where cp.id_app_forca_venda = 'prod-503'", 3},
        {"DescricaoNotaDoProduto", [](auto& c) { return DescricaoNotaDoProduto(c, 3); },
         " select cp.DS_PRODUTO_NF from cad_produto cp where cp.id_produto = 3",
         "FEIJÃO CARIOCA TIPO 1 1KG"},
        {"PlanoPagtoDaPessoa", [](auto& c) { return PlanoPagtoDaPessoa(c, 4); },
         " select pe.id_plano_pagto from cad_pessoa pe where pe.id_pessoa = 4", 2},
        {"TipoPagtoDaPessoa", [](auto& c) { return TipoPagtoDaPessoa(c, 5); },
         " select pe.id_tp_pagto from cad_pessoa pe where pe.id_pessoa = 5", 2},
        {"PessoaPorIdApp", [](auto& c) { return PessoaPorIdApp(c, "cli-2001", kIdApp); },
         " select cp.id_pessoa from cad_pessoa cp where cp.ID_APP_FORCA_VENDA = 'cli-2001' and "
         "cp.ID_APP_FORCA_VENDA || '|' = 'cli-2001|'",
         4},
        {"CategoriaDaPessoa", [](auto& c) { return CategoriaDaPessoa(c, 4); },
         " select cp.CT_CATEGORIA from cad_pessoa cp where cp.id_pessoa = 4", "R"},
    });
}

TEST_F(ConsultasErpTest, SemLinhaOuComNuloDaZeroOuTextoVazio) {
    // Person 2 gets an address without city: the address is found, its city and state are not.
    banco.Executar(
        "insert into CAD_END_PESSOA (ID_END_PESSOA, ID_PESSOA, ID_CIDADE, ST_FATURA) values (9, 2, "
        "null, 'S')");
    Verificar({
        {"natureza inexistente", [](auto& c) { return TipoMovEstoqueDaNatureza(c, 5); },
         " select tno.id_tp_mov_estoque from tab_nat_operacao tno where tno.id_nat_operacao =  5",
         0},
        {"natureza inexistente, texto", [](auto& c) { return ImprimeNotaDaNatureza(c, 99); }, "",
         ""},
        {"CNPJ desconhecido", [](auto& c) { return PessoaPorCnpjCpf(c, "00000000000"); }, "", 0},
        {"sem endereco com o papel", [](auto& c) { return CidadeDoEndereco(c, 4, "st_instala"); },
         "", 0},
        {"sem endereco, estado", [](auto& c) { return EstadoDoEndereco(c, 3, "st_fatura"); }, "",
         ""},
        {"endereco sem cidade", [](auto& c) { return CidadeDoEndereco(c, 2, "st_fatura"); }, "", 0},
        {"endereco sem cidade, o endereco",
         [](auto& c) { return EnderecoDaPessoa(c, 2, "st_fatura"); }, "", 9},
        {"endereco sem cidade, estado", [](auto& c) { return EstadoDoEndereco(c, 2, "st_fatura"); },
         "", ""},
        {"produto desconhecido", [](auto& c) { return ProdutoPorIdApp(c, "prod-999"); }, "", 0},
        {"produto inexistente, descricao", [](auto& c) { return DescricaoNotaDoProduto(c, 99); },
         "", ""},
        {"vendedor desconhecido", [](auto& c) { return PessoaPorVendedorApp(c, "vend-999"); }, "",
         0},
        {"serie de pessoa 0", [](auto& c) { return SeriePedidoDoVendedor(c, 0); }, "", ""},
        {"plano nulo", [](auto& c) { return PlanoPagtoDaPessoa(c, 2); }, "", 0},
        {"tipo de pagamento nulo", [](auto& c) { return TipoPagtoDaPessoa(c, 1); }, "", 0},
        {"serie nula", [](auto& c) { return SeriePedidoDoVendedor(c, 4); }, "", ""},
        {"categoria nula", [](auto& c) { return CategoriaDaPessoa(c, 2); }, "", ""},
        {"id do app vazio", [](auto& c) { return PessoaPorIdApp(c, "", kIdApp); }, "", 0},
        {"id do app com espaço no fim",
         [](auto& c) { return PessoaPorIdApp(c, "cli-2001 ", kIdApp); }, "", 0},
    });
}

TEST_F(ConsultasErpTest, TextoDoArgumentoViajaComoUmSoValor) {
    banco.Executar(
        "insert into CAD_PESSOA (ID_PESSOA, NM_PESSOA, ID_APP_FORCA_VENDA) values (6, 'O''Brien', "
        "'o''brien')");
    banco.Executar("insert into FIX_TP_FRETE (ID_TP_FRETE, DS_TP_FRETE) values (5, 'Próprio')");
    Verificar({
        {"aspa dobrada", [](auto& c) { return PessoaPorIdApp(c, "o'brien", kIdApp); },
         " select cp.id_pessoa from cad_pessoa cp where cp.ID_APP_FORCA_VENDA = 'o''brien' and "
         "cp.ID_APP_FORCA_VENDA || '|' = 'o''brien|'",
         6},
        {"tentativa de sair das aspas",
         [](auto& c) { return PessoaPorIdApp(c, "x' or '1'='1", kIdApp); },
         " select cp.id_pessoa from cad_pessoa cp where cp.ID_APP_FORCA_VENDA = 'x'' or ''1''=''1' "
         "and cp.ID_APP_FORCA_VENDA || '|' = 'x'' or ''1''=''1|'",
         0},
        {"acento", [](auto& c) { return TipoFretePorDescricao(c, "Próprio"); }, "", 5},
    });
}

TEST_F(ConsultasErpTest, ErrosDoBancoChegamAoChamador) {
    EXPECT_THROW(LerParametro(conexao, "COLUNA_INEXISTENTE"), ErroBancoDados);
    EXPECT_THROW(ConsultarInteiro(conexao, "select 1 as A from rdb$database", "B"), ErroBancoDados);
}

TEST_F(ConsultasErpTest, InteiroLidoDoBancoCabeEm32BitsOuFalha) {
    EXPECT_EQ(
        ConsultarInteiro(conexao, "select cast(-7 as bigint) as Valor from rdb$database", "VALOR"),
        -7);
    EXPECT_EQ(
        ConsultarInteiro(conexao, "select cast(12 as numeric(18,0)) as V from rdb$database", "v"),
        12);
    try {
        ConsultarInteiro(conexao, "select cast(12.5 as numeric(15,4)) as V from rdb$database", "V");
        ADD_FAILURE() << "a fraction was read as an integer";
    } catch (const ErroConversao& erro) {
        EXPECT_STREQ(erro.what(), "'12.5000' is not a valid integer value");
    }
    EXPECT_THROW(
        ConsultarInteiro(conexao, "select cast(2147483648 as bigint) as V from rdb$database", "V"),
        ErroConversao);
}

}  // namespace
}  // namespace tessora::db
