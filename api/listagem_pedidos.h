#pragma once

#include <string>
#include <vector>

#include "api/cliente_http.h"
#include "comum/resultado.h"

namespace tessora::api {

// The new orders' ids, in the order of the answer with duplicates kept, or why the API's list
// could not be had (the transport's message, the status line with the answer's "message", or
// what the answer lacked). A failure never reads as an empty list, so a refused token or a
// lapsed certificate is never taken for a day without orders.
using ListagemPedidos = Resultado<std::vector<std::string>>;

// The listing as read from the answer's decoded text, by the rules below.
ListagemPedidos LerListagemPedidos(std::string_view texto);

// The ids of the orders that the ERP has not registered yet (GET "/pedidos"). A failed
// request, an error status, an unreadable answer, one that is no JSON object, one whose first
// member "success" is not the literal true, one without a "data" array, and one with an entry
// that is no object or a new order without a usable id (a non-empty string or an integer) are
// failures with their reason.
ListagemPedidos ListarPedidosNovos(ClienteHttp& cliente);

}  // namespace tessora::api
