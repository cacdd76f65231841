#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "api/cliente_http.h"
#include "db/conexao_erp.h"
#include "importacao/conferencia_totais.h"
#include "importacao/dados_operacao.h"
#include "importacao/decisoes_pedido.h"
#include "importacao/documento_app.h"

namespace tessora::importacao {

struct PreviaItem {
    TDadosItensOperacaoComercialApp item;  // ID_PRODUTO 0: the ERP does not know the product
    std::string produtoApp;                // the app's product id
};

// What the import of one order would do, found by the import's own reads and decisions.
struct PreviaPedido {
    std::string idApp;
    // The import would refuse the order, write nothing and not acknowledge it: why (the ERP
    // cannot hold its id or its customer's id exactly, or the customer's document cannot be
    // had). Nothing more is read then.
    std::string recusa;
    // Already in the ERP: a run writes nothing and only acknowledges it again; nothing more
    // is read.
    bool jaIncluido = false;
    // The order's document could not be had (a run would not include the order): why.
    FalhaDocumentoApp falhaLeitura = FalhaDocumentoApp::Nenhuma;
    std::string mensagemLeitura;

    int32_t nrNotaFiscal = 0;
    std::string idClienteApp;
    std::string cnpjCpf;
    int32_t idEmpresa = 0;
    ClientePedido cliente;  // for Cadastro, idPessoa stands for a person not registered yet
    // Cadastro by an earlier order of the same run: this one finds that person.
    bool clienteDePedidoAnterior = false;
    // When the company stands in: why the customer could not be registered.
    FalhaDocumentoApp falhaCliente = FalhaDocumentoApp::Nenhuma;
    std::string mensagemCliente;

    int32_t idNatOperacao = 0;
    SituacaoPedido situacao;  // the header's, before the items
    std::vector<PreviaItem> itens;
    ConferenciaTotais totais;

    bool ProdutoNaoEncontrado() const;
    // After the items: an unknown product marks the operation with status 1.
    int32_t SituacaoFinal() const { return ProdutoNaoEncontrado() ? 1 : situacao.idStNf; }
};

// What the orders previewed earlier in the same run would write, and later ones find.
struct GravacoesPrevistas {
    std::set<std::string> pedidos;
    std::set<std::string> clientes;  // the app's ids of customers to be registered
};

// Reads the order as ImportarPedido would (the ERP through `conexao`, the order's and, for a
// customer the ERP lacks, the customer's document from the API) and writes nothing: no key is
// drawn, no customer registered, nothing acknowledged. Errors that would leave the import
// (a "data" or element that is no object, a TAB_PARAMETRO column without an integer, an
// amount beyond the ERP's columns, database errors) pass on.
// The orders of one run are previewed in listing order with the same `anteriores`.
[[nodiscard]] PreviaPedido PreverPedido(db::ConexaoErp& conexao, api::ClienteHttp& cliente,
                                        const std::string& id, GravacoesPrevistas& anteriores);

}  // namespace tessora::importacao
