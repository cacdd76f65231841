#pragma once

#include <string>
#include <utility>
#include <vector>

#include "api/cliente_http.h"

namespace tessora::api {

// The outcome of one listing: the new orders' ids, or why the API's list could not be had.
// A failure never reads as an empty list, so a refused token or a lapsed certificate is
// never taken for a day without orders.
class [[nodiscard]] ListagemPedidos {
  public:
    static ListagemPedidos ComPedidos(std::vector<std::string> ids) {
        return ListagemPedidos(true, std::move(ids), {});
    }
    static ListagemPedidos ComFalha(std::string motivo) {
        return ListagemPedidos(false, {}, std::move(motivo));
    }

    bool Obtida() const noexcept { return obtida_; }
    // In the order of the answer, duplicates kept; empty when the listing failed.
    const std::vector<std::string>& Ids() const noexcept { return ids_; }
    // The transport's message, the status line with the answer's "message", or what the
    // answer lacked.
    const std::string& MotivoFalha() const noexcept { return motivoFalha_; }

  private:
    ListagemPedidos(bool obtida, std::vector<std::string> ids, std::string motivo)
        : obtida_(obtida), ids_(std::move(ids)), motivoFalha_(std::move(motivo)) {}

    bool obtida_;
    std::vector<std::string> ids_;
    std::string motivoFalha_;
};

// The listing as read from the answer's decoded text, by the rules below.
ListagemPedidos LerListagemPedidos(std::string_view texto);

// The ids of the orders that the ERP has not registered yet (GET "/pedidos"). A failed
// request, an error status, an unreadable answer, one that is no JSON object, one whose first
// member "success" is not the literal true, one without a "data" array, and one with an entry
// that is no object or a new order without a usable id (a non-empty string or an integer) are
// failures with their reason.
ListagemPedidos ListarPedidosNovos(ClienteHttp& cliente);

}  // namespace tessora::api
