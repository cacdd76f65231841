#pragma once

#include <filesystem>
#include <string_view>

namespace tessora::testes {

// A folder of its own under the system's temporary folder, removed by the destructor.
class PastaTemporaria {
  public:
    explicit PastaTemporaria(std::string_view prefixo = "tessora");
    ~PastaTemporaria();
    PastaTemporaria(const PastaTemporaria&) = delete;
    PastaTemporaria& operator=(const PastaTemporaria&) = delete;
    const std::filesystem::path& Caminho() const { return caminho_; }

  private:
    std::filesystem::path caminho_;
};

}  // namespace tessora::testes
