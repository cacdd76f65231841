#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "db/conexao_erp.h"

namespace tessora::db {

// The process name under which a connection that imports orders attaches (ASCII, so that it
// compares the same whatever the character sets); copies of the program on one database find
// each other's import connections by it in the server's monitoring tables.
inline constexpr std::string_view kProcessoImportacao = "tessoraService-importacao-pedidos";

// Another import connection, as the server shows it.
struct CopiaImportando {
    std::string pid;       // empty when the server does not know it
    std::string endereco;  // empty for a connection on the server's own machine without network
};

// Of the import connections on this database, the one attached first imports and the later
// ones leave their orders for another run: gives the earlier import connection that is still
// attached, or nothing when this connection may import.
//
// This serialises copies without locking anything: no row of the ERP is held, so no ERP
// operation waits or fails for it. It is safe because the server's attachment numbers only
// grow and an import connection carries its name from its attach on: of two copies attached at
// the same time, the later one always sees the earlier one, and the earlier one only ever sees
// later ones. Once the earlier one detaches, its orders are committed, and the check for an
// earlier import finds them. Ask once per order, inside its transaction, before anything else.
std::optional<CopiaImportando> CopiaAnteriorImportando(ConexaoErp& conexao);

}  // namespace tessora::db
