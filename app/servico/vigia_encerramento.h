#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "comum/avisos.h"

namespace tessora::app {

enum class SituacaoConexao {
    Liberada,     // no file, or any first line but the request
    Desconectar,  // first line exactly "DESCONECTAR"
    Inacessivel,  // the file is there but cannot be read
};

// "Conectado.txt" in the ERP data folder (found whatever its letter case), through which
// the ERP asks every copy that serves the folder to end.
SituacaoConexao LerSituacaoConexao(const std::string& pastaDados);

// The shutdown watch, asked every few seconds whether the program may go on.
class VigiaEncerramento {
  public:
    using Leitor = std::function<SituacaoConexao(const std::string& pastaDados)>;

    VigiaEncerramento(std::filesystem::path pastaPrograma, Avisos& avisos,
                      Leitor leitor = LerSituacaoConexao);

    // False when the ERP asks this copy to end. The data folder is located afresh each
    // time. A file that cannot be read is reported once per run of failed reads and lets
    // the program go on.
    bool ConexaoLiberada();

  private:
    std::filesystem::path pastaPrograma_;
    Avisos& avisos_;
    Leitor leitor_;
    bool falhaAvisada_ = false;
};

}  // namespace tessora::app
