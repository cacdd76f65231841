#pragma once

#include <string>

#include "api/cliente_http.h"
#include "comum/resultado.h"

namespace tessora::api {

// Reports an order imported into the ERP to the API as registered: PATCH
// "/pedidos/<id>/erp-registro" (id percent-encoded) with the body "{}". Accepted when the
// answer says it succeeded; else refused with its "message" as text, or
// "Erro não identificado na API" without one; "Resposta inválida da API" for an answer that is
// not readable JSON; the answer's body for an error status; the failure's message when no
// answer came. Raises ErroTipoInvalido for an answer that is JSON but no object.
Resultado<> RegistrarPedidoNoErp(ClienteHttp& cliente, const std::string& idPedido);

}  // namespace tessora::api
