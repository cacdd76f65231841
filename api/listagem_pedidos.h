#pragma once

#include <string>
#include <vector>

#include "api/cliente_http.h"

namespace tessora::api {

// The ids of the orders that the ERP has not registered yet (GET "/pedidos"), in the
// order of the answer, duplicates kept. Any failure of the request, and an answer that
// does not say it succeeded, gives an empty list. Raises ErroTipoInvalido for an answer
// that is JSON but no object, or an order entry that is no object.
std::vector<std::string> ListarPedidosNovos(ClienteHttp& cliente);

}  // namespace tessora::api
