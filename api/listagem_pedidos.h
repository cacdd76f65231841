#pragma once

#include <string>
#include <vector>

#include "api/cliente_http.h"
#include "comum/resultado.h"

namespace tessora::api {

// What kept the list of new orders away, as far as the operator can mend it.
enum class ProblemaListagem {
    TokenRecusado,           // the API answered 401 or 403, or the token cannot be sent
    CertificadoRecusado,     // the server's certificate failed verification
    CertificadoForaDoPrazo,  // ... for its dates alone: expired or not valid yet
    ApiInacessivel,          // no answer: name resolution, connection, time-out, connection closed
    ErroApi,       // another error status, an answer that cannot be read or lacks the list
    Configuracao,  // the settings make no request: certificate file, API address
};

// Why the list could not be had: the transport's message, the status line with the answer's
// "message", or what the answer lacked; and which kind of trouble that is.
struct FalhaListagem {
    std::string motivo;
    ProblemaListagem problema = ProblemaListagem::ErroApi;
};

// The new orders' ids, in the order of the answer with duplicates kept, or why the API's list
// could not be had. A failure never reads as an empty list, so a refused token or a lapsed
// certificate is never taken for a day without orders.
using ListagemPedidos = Resultado<std::vector<std::string>, FalhaListagem>;

// The listing as read from the answer's decoded text, by the rules below.
ListagemPedidos LerListagemPedidos(std::string_view texto);

// The ids of the orders that the ERP has not registered yet (GET "/pedidos"). A failed
// request, an error status, an unreadable answer, one that is no JSON object, one whose first
// member "success" is not the literal true, one without a "data" array, and one with an entry
// that is no object or a new order without a usable id (a non-empty string or an integer) are
// failures with their reason.
ListagemPedidos ListarPedidosNovos(ClienteHttp& cliente);

}  // namespace tessora::api
