#pragma once

#include <filesystem>

#include "banco_teste.h"

namespace tessora::testes {

// An ERP installation in a temporary folder: the program folder "Servico" with the ERP
// INI, the data folder "Dados" with the server INI and a fresh database, and beside it the
// master folder "Update" that the self-update compares with.
class InstalacaoErpTeste {
  public:
    InstalacaoErpTeste();

    const std::filesystem::path& PastaPrograma() const { return programa_; }
    const std::filesystem::path& PastaDados() const { return dados_; }
    std::filesystem::path Executavel() const { return programa_ / "tessoraService"; }
    std::filesystem::path PastaMestre() const { return raiz_.Caminho() / "Update"; }
    const BancoTeste& Banco() const { return banco_; }
    // Puts the program into the program folder (a copy of `origem`, or a stand-in) and the
    // same file, with the same last-write time, into the master folder together with a
    // stand-in updater: the self-update at start-up then finds the program current.
    void InstalarPrograma(const std::filesystem::path& origem = {}) const;
    // Rewrites the server INI's "Database" section.
    void DefinirBanco(const std::string& servidor, const std::string& path,
                      const std::string& name) const;

  private:
    PastaTemporaria raiz_{"tessora-erp"};
    std::filesystem::path programa_;
    std::filesystem::path dados_;
    BancoTeste banco_;
};

}  // namespace tessora::testes
