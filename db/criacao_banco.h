#pragma once

#include <string_view>

namespace tessora::db {

// Creates an empty ERP database (dialect 3, default character set WIN1252) under the
// ERP's credentials; a local path makes it through the embedded engine. Writes are not
// forced to disk: these databases are for tests and demonstrations.
void CriarBancoDados(std::string_view nomeBanco);

}  // namespace tessora::db
