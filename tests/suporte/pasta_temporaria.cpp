#include "pasta_temporaria.h"

#include <random>
#include <stdexcept>
#include <string>

namespace tessora::testes {

namespace fs = std::filesystem;

// Creating the folder is the test of its name: a name taken by another process is drawn again.
PastaTemporaria::PastaTemporaria(std::string_view prefixo) {
    std::random_device aleatorio;
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        const auto candidato =
            fs::temp_directory_path() / (std::string(prefixo) + "-" + std::to_string(aleatorio()));
        if (fs::create_directory(candidato)) {
            caminho_ = candidato;
            return;
        }
    }
    throw std::runtime_error("não criou a pasta temporária");
}

PastaTemporaria::~PastaTemporaria() {
    std::error_code erro;
    fs::remove_all(caminho_, erro);
}

}  // namespace tessora::testes
