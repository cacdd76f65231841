#pragma once

#include <string>

namespace tessora::testes {

// Makes sure the Firebird server listens on loopback, starting the installed service
// when it does not. Returns an explanation when it cannot, empty text when it runs.
std::string GarantirServidorFirebird();

// A folder the server owns, for databases created through it.
std::string PastaDadosServidor();

}  // namespace tessora::testes
