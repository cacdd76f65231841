#pragma once

#include <filesystem>
#include <string>

#include "comum/avisos.h"

namespace tessora::db {

// The base name of the ERP's INI: "tessoraempresa4" when the program folder holds
// "tessoraempresa4.exe", else "tessoraempresa".
std::string NomeBaseErp(const std::filesystem::path& pastaPrograma);

// The ERP data folder with a trailing separator: the folder of the server INI named by
// the ERP INI or, without ERP INI, "Dados" beside the program folder. A missing server
// INI or data folder is reported through `avisos`, which is also asked to end the
// program; the text computed so far is returned all the same.
std::string ObterPastaDados(const std::filesystem::path& pastaPrograma, Avisos& avisos);

struct LocalBancoDados {
    std::string nomeBanco;         // "host:path+name", or "path+name" without host
    std::string localIniServidor;  // the server INI path as the ERP INI names it
};

// Reads the database string from the server INI named by the ERP INI; a missing server
// INI is reported like ObterPastaDados does.
LocalBancoDados ObterCaminhoBancoDados(const std::filesystem::path& pastaPrograma, Avisos& avisos);

}  // namespace tessora::db
