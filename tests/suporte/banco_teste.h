#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "pasta_temporaria.h"

namespace tessora::testes {

// A fresh embedded ERP database built from the test schema and seed, for one test.
class BancoTeste {
  public:
    explicit BancoTeste(const std::filesystem::path& arquivo);
    const std::string& Nome() const { return nome_; }

    // Runs a statement on a connection of its own and commits it.
    void Executar(std::string_view comando) const;
    // The first row's column of a query on a connection of its own.
    std::optional<std::string> Ler(std::string_view comando, std::string_view coluna) const;

  private:
    std::string nome_;
};

// Points the embedded engine at a lock folder of this process, so tests never share
// lock files with a running server or with each other.
void PrepararFirebirdEmbarcado();

std::filesystem::path PastaFontes();

}  // namespace tessora::testes
