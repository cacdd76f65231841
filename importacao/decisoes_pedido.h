#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "comum/resultado.h"
#include "db/coluna_texto.h"
#include "db/conexao_erp.h"

namespace tessora::importacao {

// The decisions of an order's import that need no write, shared by the import and by the
// preview of what it would do.

// The company that issues the app's orders, and their suggested nature of operation, from
// TAB_PARAMETRO; a column that holds no integer raises ErroConversao.
int32_t EmpresaDosPedidos(db::ConexaoErp& conexao);
int32_t NaturezaDosPedidos(db::ConexaoErp& conexao);

// The column that holds the app's order ids, or why it cannot hold this one exactly as the app
// sent it. Such an order is refused: neither the check for an earlier import nor the header
// could tell it from another id ("r-Ł" and "r-Ń" would both be "r-?").
[[nodiscard]] Resultado<db::ColunaTexto> ColunaDoIdPedido(db::ConexaoErp& conexao,
                                                          std::string_view id);

enum class OrigemCliente {
    IdApp,     // an ERP person carries the app's customer id
    Cadastro,  // registered from the app's customer document
    Empresa,   // neither: the company stands in
};

struct ClientePedido {
    int32_t idPessoa = 0;
    OrigemCliente origem = OrigemCliente::Empresa;
};

// Gives the key of the person it registers for the app's customer id, or 0 when it did not.
using CadastroCliente = std::function<int32_t(const std::string& idCliente)>;

// The person with exactly the app's customer id; else the one `cadastrar` registers; else the
// company. An id that the ERP cannot hold exactly raises ErroClienteIndisponivel: the person
// found by it could be another customer's.
[[nodiscard]] ClientePedido EscolherCliente(db::ConexaoErp& conexao, const std::string& idCliente,
                                            int32_t idEmpresa, const CadastroCliente& cadastrar);

inline constexpr std::string_view kNotaClienteNaoEncontrado = "; Cliente do APP não encontrado";

struct SituacaoPedido {
    int32_t idStNf = 0;
    // When the company stands in: the person with the order's CNPJ/CPF, 0 when none has it.
    std::optional<int32_t> pessoaPorCnpjCpf;

    // The company stands in and no person has the order's CNPJ/CPF either: the observations
    // end with kNotaClienteNaoEncontrado.
    bool ClienteNaoEncontrado() const { return pessoaPorCnpjCpf == 0; }
};

// The header's status: 1 (needs attention) when the company stands in for the customer; else
// 3 when the nature of operation prints its note (exactly "S"), 5 otherwise.
[[nodiscard]] SituacaoPedido SituacaoDoPedido(db::ConexaoErp& conexao, bool clienteEhEmpresa,
                                              int32_t idNatOperacao, std::string_view cnpjCpf);

}  // namespace tessora::importacao
