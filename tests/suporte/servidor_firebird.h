#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

#include "pasta_temporaria.h"

namespace tessora::testes {

// A Firebird server of the test's own, listening on a free port of 127.0.0.1 only: its root
// folder (configuration, security database holding SYSDBA with the program's password, lock
// and temporary folders, data folder) is a temporary folder of its own, so an installed
// server, its settings and its users are never read or changed. The destructor stops it and
// removes the folder.
class ServidorFirebirdTeste {
  public:
    ServidorFirebirdTeste();
    ~ServidorFirebirdTeste();
    ServidorFirebirdTeste(const ServidorFirebirdTeste&) = delete;
    ServidorFirebirdTeste& operator=(const ServidorFirebirdTeste&) = delete;

    // "127.0.0.1/PORT": the host part of a database name, as an ERP's server INI gives it.
    const std::string& Host() const { return host_; }
    // The folder for databases created through this server.
    std::filesystem::path PastaDados() const { return raiz_.Caminho() / "dados"; }
    // "127.0.0.1/PORT:<data folder>/<arquivo>".
    std::string NomeBanco(const std::string& arquivo) const;
    // What isql prints (errors too) when it runs `script` as SYSDBA on a database of this
    // server (`banco` as NomeBanco gives it), texts in UTF-8.
    std::string Isql(const std::string& banco, const std::string& script) const;

  private:
    void Parar() noexcept;

    PastaTemporaria raiz_{"tessora-fbservidor"};
    std::string host_;
    pid_t processo_ = -1;
};

}  // namespace tessora::testes
