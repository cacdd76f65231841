#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "api/cliente_http.h"
#include "comum/resultado.h"
#include "db/conexao_erp.h"
#include "importacao/conferencia_totais.h"
#include "importacao/dados_operacao.h"

namespace tessora::importacao {

enum class DesfechoImportacao {
    Incluido,  // written into the ERP now
    // The order was already in the ERP: nothing was written, it was acknowledged again.
    JaIncluido,
    // Another copy of the program imports orders into the same database now: nothing was read
    // or written, and the order is left for a later run. The reason names that copy's process.
    OutraCopiaImportando,
    // The ERP cannot hold the order's id exactly as the app sent it: nothing was read or
    // written, and the order is not acknowledged.
    IdInexato,
    // The order's customer could not be had (ErroClienteIndisponivel): nothing is kept, and
    // the order is left for a later run.
    ClienteIndisponivel,
    // The API did not give the order: its error answer's body, a transport message, or
    // nothing for an answer without the order.
    PedidoNaoObtido,
    // The database refused the header, with its message; nothing of the order is kept.
    CabecalhoRecusado,
};

// Of an order written now: its operation's key and number, and whether its customer was
// registered with it.
struct OperacaoGravada {
    int32_t idNfComercio = 0;
    int32_t nrNotaFiscal = 0;
    bool clienteCadastrado = false;
    // The company stands in for the customer: the app's customer was neither in the ERP nor
    // registered from the API.
    bool empresaNoLugarDoCliente = false;
    // Why its customer could not be registered, when the company stands in for it: the
    // database's or the API's words.
    std::string motivoClienteRecusado{};
    // The items written otherwise than sent (the placeholder product) or left out, in the words
    // of the operation's notes.
    std::vector<std::string> avisosItens{};
    // Of an order written now: whether its amounts agree (they are written as sent all the same).
    std::optional<ConferenciaTotais> totais{};
};

struct [[nodiscard]] ResultadoImportacao {
    DesfechoImportacao desfecho;
    std::string motivo{};  // why the order was not written, as the API or the database said it,
                           // or in words for the log
    std::optional<OperacaoGravada> operacao{};  // of an order written now
    // The customer as the order's document names it (name, CNPJ or CPF), for the operator to
    // find the order by; empty when the document was not read.
    std::string cliente{};
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
    // The bytes its body holds; none until a fetch put off has been made.
    size_t Tamanho() const { return corpo_.size(); }

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
// order already in the ERP is left as it is, whatever its document. Acknowledges nothing. A
// document refused for its size raises its ErroRespostaGrandeDemais, which names the limit.
ResultadoImportacao GravarPedido(db::ConexaoErp& conexao, api::ClienteHttp& cliente,
                                 const std::string& id, const DocumentoPedido& documento);

// One app order into the ERP as one operation with its customer, items and notes, all in
// one transaction; acknowledged to the API only once that is committed. Errors that leave
// the import undo everything the order wrote. While another copy of the program imports into
// the same database (db::CopiaAnteriorImportando), the order is left for a later run.
ResultadoImportacao ImportarPedido(db::ConexaoErp& conexao, api::ClienteHttp& cliente,
                                   const std::string& id);

// The header row under a key from SP_GEN_MOV_NF_COMERCIO_ID: that key, or the database's
// refusal of the insert. A failure to draw the key raises.
Resultado<int32_t> IncluirOperacaoComercialApp(db::ConexaoErp& conexao,
                                               const TDadosOperacaoComercialApp& operacao);

// Appends "Pedido capturado do APP em dd/mm/yyyy hh:mm:ss", or says why the database refused.
Resultado<> AnotarPedidoCapturado(db::ConexaoErp& conexao,
                                  const TDadosOperacaoComercialApp& operacao);

}  // namespace tessora::importacao
