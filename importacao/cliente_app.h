#pragma once

#include <cstdint>
#include <string>

#include "api/cliente_http.h"
#include "comum/resultado.h"
#include "db/conexao_erp.h"
#include "importacao/cliente_indisponivel.h"
#include "importacao/documento_app.h"

namespace tessora::importacao {

// Registers the app's customer `idCliente` (GET "/clientes/<id>", the id percent-encoded) as
// a new ERP person: the CAD_PESSOA row, its billing address and, when the app gives one, a
// separate delivery address, the cities TAB_CIDADE lacks, and up to two contacts (the
// responsible person, the financial contact). Gives the new ID_PESSOA, or why the customer was
// not registered: blank id (no request made), the API's 404 (its status line), an answer that
// does not say "success" or has no "data" object (no reason), or an insert that the database
// refused (its message). A document that could not be had raises ErroClienteIndisponivel.
//
// Runs inside the caller's transaction under the savepoint "CLIENTE_APP" and never commits:
// a refused insert undoes every row of this registration, cities included. An answer that is
// JSON but no object raises ErroTipoInvalido; database errors outside the inserts (token, look-
// ups, keys, the person-code procedure) pass on, likewise after undoing this registration.
Resultado<int32_t> ImportarClienteApp(db::ConexaoErp& conexao, api::ClienteHttp& cliente,
                                      const std::string& idCliente);

// The customer's document as ImportarClienteApp reads it before it writes anything: "data"
// is an object when the customer can be registered from it. Raises ErroClienteIndisponivel
// when the document could not be had.
[[nodiscard]] DocumentoApp LerClienteApp(api::ClienteHttp& cliente, const std::string& idCliente);

}  // namespace tessora::importacao
