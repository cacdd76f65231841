#pragma once

#include <filesystem>

#include "banco_teste.h"

namespace tessora::testes {

// An ERP installation in a temporary folder: the program folder "Servico" with the ERP
// INI, the data folder "Dados" with the server INI and a fresh database.
class InstalacaoErpTeste {
public:
    InstalacaoErpTeste();

    const std::filesystem::path& PastaPrograma() const { return programa_; }
    const std::filesystem::path& PastaDados() const { return dados_; }
    std::filesystem::path Executavel() const { return programa_ / "tessoraService"; }
    const BancoTeste& Banco() const { return banco_; }
    // Rewrites the server INI's "Database" section.
    void DefinirBanco(const std::string& servidor, const std::string& path, const std::string& name) const;

private:
    PastaTemporaria raiz_{"tessora-erp"};
    std::filesystem::path programa_;
    std::filesystem::path dados_;
    BancoTeste banco_;
};

}  // namespace tessora::testes
