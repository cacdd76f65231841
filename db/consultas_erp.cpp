#include "db/consultas_erp.h"

#include "db/leitura_coluna.h"
#include "db/valores_sql.h"

namespace tessora::db {

namespace {
// " and cep.<role> = 'S'": the address that has the role.
std::string ComPapel(std::string_view colunaPapel) {
    return " and cep." + std::string(colunaPapel) + " = " + FlagSql(true);
}
}  // namespace

std::string LerParametro(ConexaoErp& conexao, std::string_view coluna) {
    const std::string comando =
        " select " + std::string(coluna) + " from TAB_PARAMETRO" + " where ID_PARAMETRO = 1";
    return ConsultarTexto(conexao, comando, coluna);
}

int32_t TipoMovEstoqueDaNatureza(ConexaoErp& conexao, int32_t idNatOperacao) {
    return ConsultarInteiro(
        conexao,
        " select tno.id_tp_mov_estoque from tab_nat_operacao tno where tno.id_nat_operacao =  " +
            InteiroSql(idNatOperacao),
        "id_tp_mov_estoque");
}

std::string ImprimeNotaDaNatureza(ConexaoErp& conexao, int32_t idNatOperacao) {
    return ConsultarTexto(
        conexao,
        " select tno.st_imprime_nota from tab_nat_operacao tno where tno.id_nat_operacao =  " +
            InteiroSql(idNatOperacao),
        "st_imprime_nota");
}

int32_t PessoaPorCnpjCpf(ConexaoErp& conexao, std::string_view cnpjCpf) {
    return ConsultarInteiro(
        conexao,
        " select cp.id_pessoa from cad_pessoa cp where cp.no_cnpj_cpf = " + TextoSql(cnpjCpf),
        "id_pessoa");
}

int32_t CidadeDoEndereco(ConexaoErp& conexao, int32_t idPessoa, std::string_view colunaPapel) {
    return ConsultarInteiro(conexao,
                            " select cep.id_cidade from cad_end_pessoa cep where cep.id_pessoa = " +
                                InteiroSql(idPessoa) + ComPapel(colunaPapel),
                            "id_cidade");
}

int32_t EnderecoDaPessoa(ConexaoErp& conexao, int32_t idPessoa, std::string_view colunaPapel) {
    return ConsultarInteiro(
        conexao,
        " select cep.id_end_pessoa from cad_end_pessoa cep where cep.id_pessoa = " +
            InteiroSql(idPessoa) + ComPapel(colunaPapel),
        "id_end_pessoa");
}

std::string EstadoDoEndereco(ConexaoErp& conexao, int32_t idPessoa, std::string_view colunaPapel) {
    return ConsultarTexto(
        conexao,
        " select tc.sg_estado from cad_end_pessoa cep inner join tab_cidade tc on (tc.id_cidade = "
        "cep.id_cidade) where cep.id_pessoa = " +
            InteiroSql(idPessoa) + ComPapel(colunaPapel),
        "sg_estado");
}

int32_t PessoaPorVendedorApp(ConexaoErp& conexao, std::string_view idVendedorApp) {
    return ConsultarInteiro(
        conexao,
        " select pe.id_pessoa from cad_pessoa pe where pe.ID_VENDEDOR_APP_FORCA_VENDA = " +
            TextoSql(idVendedorApp),
        "id_pessoa");
}

int32_t TipoFretePorDescricao(ConexaoErp& conexao, std::string_view descricao) {
    return ConsultarInteiro(
        conexao,
        " select ftf.id_tp_frete from fix_tp_frete ftf where ftf.ds_tp_frete = " +
            TextoSql(descricao),
        "id_tp_frete");
}

std::string SeriePedidoDoVendedor(ConexaoErp& conexao, int32_t idPessoaVendedor) {
    return ConsultarTexto(
        conexao,
        " select pe.DS_SERIE_PEDIDO_APP_FORCA_VENDA from cad_pessoa pe where pe.id_pessoa = " +
            InteiroSql(idPessoaVendedor),
        "DS_SERIE_PEDIDO_APP_FORCA_VENDA");
}

int32_t ProdutoPorIdApp(ConexaoErp& conexao, std::string_view idProdutoApp) {
    return ConsultarInteiro(
        conexao,
        " select cp.id_produto from cad_produto cp where cp.id_app_forca_venda = " +
            TextoSql(idProdutoApp),
        "id_produto");
}

std::string DescricaoNotaDoProduto(ConexaoErp& conexao, int32_t idProduto) {
    return ConsultarTexto(conexao,
                          " select cp.DS_PRODUTO_NF from cad_produto cp where cp.id_produto = " +
                              InteiroSql(idProduto),
                          "DS_PRODUTO_NF");
}

int32_t PlanoPagtoDaPessoa(ConexaoErp& conexao, int32_t idPessoa) {
    return ConsultarInteiro(
        conexao,
        " select pe.id_plano_pagto from cad_pessoa pe where pe.id_pessoa = " + InteiroSql(idPessoa),
        "id_plano_pagto");
}

int32_t TipoPagtoDaPessoa(ConexaoErp& conexao, int32_t idPessoa) {
    return ConsultarInteiro(
        conexao,
        " select pe.id_tp_pagto from cad_pessoa pe where pe.id_pessoa = " + InteiroSql(idPessoa),
        "id_tp_pagto");
}

int32_t PessoaPorIdApp(ConexaoErp& conexao, std::string_view idClienteApp,
                       const ColunaTexto& coluna) {
    return ConsultarInteiro(conexao,
                            " select cp.id_pessoa from cad_pessoa cp where " +
                                CondicaoTextoExato("cp.ID_APP_FORCA_VENDA", idClienteApp, coluna),
                            "id_pessoa");
}

std::string CategoriaDaPessoa(ConexaoErp& conexao, int32_t idPessoa) {
    return ConsultarTexto(
        conexao,
        " select cp.CT_CATEGORIA from cad_pessoa cp where cp.id_pessoa = " + InteiroSql(idPessoa),
        "CT_CATEGORIA");
}

bool PedidoJaIncluido(ConexaoErp& conexao, std::string_view idPedidoApp,
                      const ColunaTexto& coluna) {
    return ConsultarInteiro(conexao,
                            " select count(*) as QTDE from mov_nf_comercio mc where " +
                                CondicaoTextoExato("mc.ID_APP_FORCA_VENDA", idPedidoApp, coluna),
                            "QTDE") > 0;
}

}  // namespace tessora::db
