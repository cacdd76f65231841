#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "api/cliente_http.h"
#include "db/conexao_erp.h"
#include "importacao/dados_operacao.h"

namespace tessora::importacao {

struct ResultadoImportacao {
    // "OK" when the order is in the ERP; "ERRO" when its header could not be written;
    // otherwise the failure (an error answer's body, a transport message, or empty text).
    std::string texto;
    // The order was already in the ERP: nothing was written, it was acknowledged again.
    bool jaIncluido = false;
    // Another connection was importing an order (another copy of the program on the same
    // database): nothing was written, and the order is left for a later run.
    bool outraCopiaImportando = false;
    // Of an order written now: its operation's key and number, and whether its customer
    // was registered with it.
    int32_t idNfComercio = 0;
    int32_t nrNotaFiscal = 0;
    bool clienteCadastrado = false;
};

// The answer to GET "/pedidos/<id>", or what the request raised, kept until the order's turn,
// so that an order fetched ahead fails exactly as one fetched at its turn.
class DocumentoPedido {
  public:
    // Fetched now; never raises: a failure is kept.
    static DocumentoPedido Buscar(api::ClienteHttp& cliente, const std::string& id);
    // Fetched when first asked for, on the caller's thread.
    static DocumentoPedido QuandoPedido(api::ClienteHttp& cliente, const std::string& id);
    static DocumentoPedido ComErro(std::exception_ptr erro);

    // The answer's body; raises what the request raised.
    const std::string& Corpo() const;

  private:
    mutable std::string corpo_;
    mutable std::exception_ptr erro_;
    // Until a fetch put off until now has been made.
    mutable api::ClienteHttp* clienteAdiado_ = nullptr;
    std::string id_;
};

// Whether the API is to be told that the order is in the ERP.
bool RegistrarNaApi(const ResultadoImportacao& resultado);

// The order's database work in one transaction, from its document fetched beforehand; an
// order already in the ERP is left as it is, whatever its document. Acknowledges nothing.
ResultadoImportacao GravarPedido(db::ConexaoErp& conexao, api::ClienteHttp& cliente,
                                 const std::string& id, const DocumentoPedido& documento);

// One app order into the ERP as one operation with its customer, items and notes, all in
// one transaction; acknowledged to the API only once that is committed. Errors that leave
// the import undo everything the order wrote. While one connection imports an order, an
// import on another connection to the same database does not wait: it leaves its order.
ResultadoImportacao ImportarPedido(db::ConexaoErp& conexao, api::ClienteHttp& cliente,
                                   const std::string& id);

// The header row under a key from SP_GEN_MOV_NF_COMERCIO_ID; 0 when the insert failed.
// A failure to draw the key raises.
int32_t IncluirOperacaoComercialApp(db::ConexaoErp& conexao,
                                    const TDadosOperacaoComercialApp& operacao);

// Appends "Pedido capturado do APP em dd/mm/yyyy hh:mm:ss"; "OK" or "ERRO".
std::string AnotarPedidoCapturado(db::ConexaoErp& conexao,
                                  const TDadosOperacaoComercialApp& operacao);

}  // namespace tessora::importacao
