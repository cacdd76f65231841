#pragma once

#include <cstdint>
#include <string>

#include "comum/resultado.h"
#include "db/conexao_erp.h"

namespace tessora::importacao {

// A customer of the app as an ERP person.
struct TDadosPessoaApp {
    int32_t ID_PESSOA = 0;  // set from IncluirPessoaApp's result; the writer does not read it
    std::string ID_APP_FORCA_VENDA;
    std::string NM_PESSOA;
    std::string NM_PESQUISA;
    std::string NO_CNPJ_CPF;
    std::string NO_IE_RG;
    std::string TP_PESSOA;             // "J" with a CNPJ, "F" otherwise
    std::string CT_CONTRIBUINTE_ICMS;  // ICMS taxpayer flag
    std::string CT_CATEGORIA;          // "R", "I" or "C"
    // Optional keys: 0 or less is written as NULL.
    int32_t ID_TABELA_PRECO = 0;
    int32_t ID_VENDEDOR = 0;
    int32_t ID_TP_PAGTO = 0;
    int32_t ID_PLANO_PAGTO = 0;
    int32_t ID_TP_FRETE = 0;
    int32_t ID_ST_CREDITO = 0;
};

// One address of a person; the ST_ flags ("S"/"N") give its roles.
struct TDadosEnderecoPessoaApp {
    int32_t ID_END_PESSOA = 0;  // the writer allocates its own key
    int32_t ID_PESSOA = 0;
    int32_t ID_CIDADE = 0;  // 0 (no city) is written as NULL
    std::string NO_CEP;
    std::string NM_LOGRADOURO;
    std::string DS_NUMERO;
    std::string DS_COMPLEMENTO;
    std::string NM_BAIRRO;
    std::string ST_FATURA;
    std::string ST_ENTREGA;
    std::string ST_COBRANCA;
    std::string ST_CORRESP;
};

// One contact of a person; the ST_ flags are "S"/"N".
struct TDadosContatoPessoaApp {
    int32_t ID_CONTATO_PESSOA = 0;  // the writer allocates its own key
    int32_t ID_PESSOA = 0;
    std::string NO_FONE;
    std::string NM_CONTATO;
    std::string NM_E_MAIL;
    std::string ST_FONE_PRINCIPAL;
    std::string ST_EMAIL_PRINCIPAL;
    std::string ST_CONTATO_COBRANCA;
    std::string ST_CONTATO_COMERCIAL;
    std::string ST_CONTATO_ENTREGA;
    std::string ST_EMAIL_NFE;
};

// The writers insert one row under a key of ProximoId and give that key, or the database's
// refusal of the insert (a refused statement leaves the transaction usable). They run
// in the caller's transaction and never commit; failures to allocate a key (or, for the
// person, its code) are raised.

// A customer (CT_CLIENTE 'S', active, registered today, with a fresh person code).
Resultado<int32_t> IncluirPessoaApp(db::ConexaoErp& conexao, const TDadosPessoaApp& pessoa);
Resultado<int32_t> IncluirEnderecoPessoaApp(db::ConexaoErp& conexao,
                                            const TDadosEnderecoPessoaApp& endereco);
Resultado<int32_t> IncluirContatoPessoaApp(db::ConexaoErp& conexao,
                                           const TDadosContatoPessoaApp& contato);

}  // namespace tessora::importacao
