#include "importacao/decisoes_pedido.h"

#include "comum/inteiros.h"
#include "db/consultas_erp.h"
#include "importacao/cliente_indisponivel.h"

namespace tessora::importacao {

int32_t EmpresaDosPedidos(db::ConexaoErp& conexao) {
    return ExigirInteiro(db::LerParametro(conexao, "ID_EMPRESA_APP_FORCA_VENDA"),
                         InteiroEntreBrancos);
}

int32_t NaturezaDosPedidos(db::ConexaoErp& conexao) {
    return ExigirInteiro(db::LerParametro(conexao, "ID_NAT_OPER_SUG_OP_COM_APP_VEND"),
                         InteiroEntreBrancos);
}

Resultado<db::ColunaTexto> ColunaDoIdPedido(db::ConexaoErp& conexao, std::string_view id) {
    const db::ColunaTexto coluna =
        db::LerColunaTexto(conexao, "MOV_NF_COMERCIO", "ID_APP_FORCA_VENDA");
    if (const auto motivo = db::MotivoTextoInexato(id, coluna)) {
        return Recusa{"o id do pedido não cabe exatamente no banco de dados: " + *motivo};
    }
    return coluna;
}

ClientePedido EscolherCliente(db::ConexaoErp& conexao, const std::string& idCliente,
                              int32_t idEmpresa, const CadastroCliente& cadastrar) {
    const db::ColunaTexto coluna = db::LerColunaTexto(conexao, "CAD_PESSOA", "ID_APP_FORCA_VENDA");
    if (const auto motivo = db::MotivoTextoInexato(idCliente, coluna)) {
        throw ErroClienteIndisponivel("o id do cliente " + idCliente +
                                      " não cabe exatamente no banco de dados: " + *motivo);
    }
    if (const int32_t pessoa = db::PessoaPorIdApp(conexao, idCliente, coluna); pessoa != 0) {
        return {pessoa, OrigemCliente::IdApp};
    }
    if (const int32_t pessoa = cadastrar(idCliente); pessoa != 0) {
        return {pessoa, OrigemCliente::Cadastro};
    }
    return {idEmpresa, OrigemCliente::Empresa};
}

SituacaoPedido SituacaoDoPedido(db::ConexaoErp& conexao, bool clienteEhEmpresa,
                                int32_t idNatOperacao, std::string_view cnpjCpf) {
    if (clienteEhEmpresa) return {1, db::PessoaPorCnpjCpf(conexao, cnpjCpf)};
    return {db::ImprimeNotaDaNatureza(conexao, idNatOperacao) == "S" ? 3 : 5, std::nullopt};
}

}  // namespace tessora::importacao
