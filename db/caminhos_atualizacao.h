#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tessora::db {

// Where the self-update looks, derived from the server INI location after each attach.
struct CaminhosAtualizacao {
    std::string nomeExecutavel;           // file name of the running executable
    std::string pastaMestre;              // "Update" beside the folder of the server INI
    std::string pastaMestreCodificada;    // pastaMestre with blanks as "§"
    std::string pastaProgramaCodificada;  // program folder with blanks as "§"
};

// pastaMestre is the location up to its second-to-last separator followed by "Update"
// (the separator ending the location does not count). With a single separator, "Update"
// sits beside the server INI; with none there is no master folder and it is empty.
CaminhosAtualizacao DefinirCaminhosAtualizacao(std::string_view localIniServidor,
                                               const std::filesystem::path& executavel);

}  // namespace tessora::db
