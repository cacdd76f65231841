#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace Firebird {
class IMaster;
}

namespace tessora::db {

// The file names of the Firebird client library, in the order they are tried: on Windows
// "gds32.dll", the name the ERP's installation provides, then "fbclient.dll".
const std::vector<std::string>& NomesBibliotecaCliente();

// Loads the first of `nomes` that the program folder, then the system's search order,
// provides as a usable client library, and takes its master interface. When none can be
// used, raises ErroBancoDados saying why in the operator's words: no library, a library of
// the other bitness, a file that is no library, or a library without the master interface.
Firebird::IMaster* CarregarClienteFirebird(const std::filesystem::path& pastaPrograma,
                                           const std::vector<std::string>& nomes);

}  // namespace tessora::db
