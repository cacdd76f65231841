#include "importacao/pessoa_app.h"

#include <string_view>
#include <vector>

#include "comum/data.h"
#include "comum/data_hora.h"
#include "comum/erros.h"
#include "db/consulta.h"
#include "db/proximo_id.h"
#include "db/valores_sql.h"
#include "importacao/codigo_pessoa.h"

namespace tessora::importacao {

namespace {

std::string ChaveOpcional(int32_t id) {
    return db::EscolherTexto(id > 0, db::InteiroSql(id), "NULL");
}

}  // namespace

Resultado<int32_t> IncluirPessoaApp(db::ConexaoErp& conexao, const TDadosPessoaApp& pessoa) {
    const int32_t id = db::ProximoId("CAD_PESSOA", "ID_PESSOA", conexao);
    const Data cadastro = HojeLocal();
    const std::string codigo = ProximoCodigoPessoa(conexao);
    const std::string sim = db::TextoSql("S");
    const std::string nao = db::TextoSql("N");

    std::vector<std::string> valores = {
        db::InteiroSql(id),
        db::TextoSql(codigo),
        db::TextoSql(pessoa.NM_PESSOA),
        db::TextoSql(pessoa.NM_PESQUISA),
        db::DataSql(cadastro),
        db::TextoSql(pessoa.NO_CNPJ_CPF),
        db::TextoSql(pessoa.NO_IE_RG),
        sim,  // CT_CLIENTE
    };
    valores.insert(valores.end(), 15, nao);  // CT_FORNECEDOR through CT_OUTROS_9
    valores.insert(valores.end(),
                   {
                       db::TextoSql(pessoa.TP_PESSOA), db::TextoSql(pessoa.CT_CATEGORIA),
                       db::TextoSql(pessoa.CT_CONTRIBUINTE_ICMS),
                       ChaveOpcional(pessoa.ID_TABELA_PRECO), ChaveOpcional(pessoa.ID_VENDEDOR),
                       ChaveOpcional(pessoa.ID_PLANO_PAGTO), ChaveOpcional(pessoa.ID_TP_PAGTO),
                       ChaveOpcional(pessoa.ID_TP_FRETE), ChaveOpcional(pessoa.ID_ST_CREDITO),
                       sim,  // ST_ATIVO_INATIVO
                   });
    valores.insert(valores.end(), 24, nao);  // ST_SELECIONADO through ST_RENOVACAO_AUTOMATICA
    valores.insert(valores.end(), {
                                      db::TextoSql(pessoa.ID_APP_FORCA_VENDA),
                                      db::TextoSql("1"),  // ST_SITUACAO_APP
                                      db::TextoSql("Incluído pelo representante"),
                                  });

    const std::string comando = db::ComandoComValores(
        " INSERT INTO CAD_PESSOA ( ID_PESSOA, CD_PESSOA, NM_PESSOA, NM_PESQUISA, DT_CADASTRO, "
        "NO_CNPJ_CPF, NO_IE_RG, CT_CLIENTE, CT_FORNECEDOR, CT_FABRICA, CT_TRANSPORT, CT_EMPRESA, "
        "CT_FUNCIONARIO, CT_REPRESENT, CT_OUTROS, CT_OUTROS_2, CT_OUTROS_3, CT_OUTROS_4, "
        "CT_OUTROS_5, CT_OUTROS_6, CT_OUTROS_7, CT_OUTROS_8, CT_OUTROS_9, TP_PESSOA, CT_CATEGORIA, "
        "CT_CONTRIBUINTE_ICMS, ID_TABELA_PRECO, ID_VENDEDOR, ID_PLANO_PAGTO, ID_TP_PAGTO, "
        "ID_TP_FRETE, ID_ST_CREDITO, ST_ATIVO_INATIVO, ST_SELECIONADO, ST_TRIB_PIS, "
        "ST_TRIB_COFINS, ST_TRIB_CSLL, ST_TRIB_IRPJ, ST_TRIB_ISS, ST_INCLUIR_VALOR_PROD_BASE_ISS, "
        "ST_ATUALIZAR_POTENCIAL, CT_AVALIACAO_META_VENDA, ST_CREDITO_FAT, ST_COMIISAO_AD2, "
        "ST_CREDITO_FAT2, ST_COMIISAO_AD3, ST_CREDITO_FAT3, ST_COMIISAO_AD4, ST_CREDITO_FAT4, "
        "ST_COMIISAO_AD5, ST_CREDITO_FAT5, ST_GENERICO_CAPTURA_XML, ST_VENDEDOR_CLIENTAR, "
        "ST_ANTECIPAR_VENCTO_DIA_UTIL, ST_CONTRATO, CT_MENSALISTA, ST_RENOVACAO_AUTOMATICA, "
        "ID_APP_FORCA_VENDA, ST_SITUACAO_APP, DS_MENSAGEM_API_APP) VALUES (",
        valores);
    return db::ExecutarSeAceito(conexao, comando).ComValor(id);
}

Resultado<int32_t> IncluirEnderecoPessoaApp(db::ConexaoErp& conexao,
                                            const TDadosEnderecoPessoaApp& endereco) {
    const int32_t id = db::ProximoId("CAD_END_PESSOA", "ID_END_PESSOA", conexao);
    const std::string nao = db::TextoSql("N");
    const std::string comando = db::ComandoComValores(
        " INSERT INTO CAD_END_PESSOA (ID_END_PESSOA, ID_PESSOA, ID_CIDADE, NO_CEP, NM_LOGRADOURO, "
        "DS_NUMERO, DS_COMPLEMENTO, NM_BAIRRO, ST_FATURA, ST_ENTREGA, ST_COBRANCA, ST_CORRESP, "
        "ST_INSTALA, ST_COMERCIAL, ST_RESIDENCIAL, ST_CONJUGE) VALUES (",
        {
            db::InteiroSql(id),
            db::InteiroSql(endereco.ID_PESSOA),
            ChaveOpcional(endereco.ID_CIDADE),
            db::TextoSql(endereco.NO_CEP),
            db::TextoSql(endereco.NM_LOGRADOURO),
            db::TextoSql(endereco.DS_NUMERO),
            db::TextoSql(endereco.DS_COMPLEMENTO),
            db::TextoSql(endereco.NM_BAIRRO),
            db::TextoSql(endereco.ST_FATURA),
            db::TextoSql(endereco.ST_ENTREGA),
            db::TextoSql(endereco.ST_COBRANCA),
            db::TextoSql(endereco.ST_CORRESP),
            nao,  // ST_INSTALA, ST_COMERCIAL, ST_RESIDENCIAL, ST_CONJUGE
            nao,
            nao,
            nao,
        });
    return db::ExecutarSeAceito(conexao, comando).ComValor(id);
}

Resultado<int32_t> IncluirContatoPessoaApp(db::ConexaoErp& conexao,
                                           const TDadosContatoPessoaApp& contato) {
    const int32_t id = db::ProximoId("CAD_CONTATO_PESSOA", "ID_CONTATO_PESSOA", conexao);
    const std::string nao = db::TextoSql("N");
    const std::string comando = db::ComandoComValores(
        " INSERT INTO CAD_CONTATO_PESSOA ( ID_CONTATO_PESSOA, ID_PESSOA, NO_FONE, NM_CONTATO, "
        "NM_E_MAIL, ST_FONE_PRINCIPAL, ST_FAX_PRINCIPAL, ST_EMAIL_PRINCIPAL, ST_CONTATO_COBRANCA, "
        "ST_CONTATO_COMERCIAL, ST_CONTATO_ENTREGA, ST_EMAIL_NFE, ST_EMAIL_COMISSAO, "
        "ST_RECEBEDOR_ENTREGA) VALUES (",
        {
            db::InteiroSql(id),
            db::InteiroSql(contato.ID_PESSOA),
            db::TextoSql(contato.NO_FONE),
            db::TextoSql(contato.NM_CONTATO),
            db::TextoSql(contato.NM_E_MAIL),
            db::TextoSql(contato.ST_FONE_PRINCIPAL),
            nao,  // ST_FAX_PRINCIPAL
            db::TextoSql(contato.ST_EMAIL_PRINCIPAL),
            db::TextoSql(contato.ST_CONTATO_COBRANCA),
            db::TextoSql(contato.ST_CONTATO_COMERCIAL),
            db::TextoSql(contato.ST_CONTATO_ENTREGA),
            db::TextoSql(contato.ST_EMAIL_NFE),
            nao,
            nao,
        });
    return db::ExecutarSeAceito(conexao, comando).ComValor(id);
}

}  // namespace tessora::importacao
