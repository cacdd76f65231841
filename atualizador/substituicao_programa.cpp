#include "atualizador/substituicao_programa.h"

#include <stdexcept>
#include <system_error>
#include <thread>

#include "plataforma/processos.h"
#include "plataforma/sistema.h"

namespace tessora::atualizador {

namespace fs = std::filesystem;

namespace {
void AguardarFim(const fs::path& programa, std::chrono::milliseconds limiteEspera) {
    const auto fim = std::chrono::steady_clock::now() + limiteEspera;
    while (plataforma::ExecutavelEmExecucao(programa)) {
        if (std::chrono::steady_clock::now() >= fim) {
            throw std::runtime_error("O aplicativo " + programa.string() +
                                     " continua em execução.");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
}
}  // namespace

void SubstituirPrograma(const PedidoAtualizacao& pedido, std::chrono::milliseconds limiteEspera) {
    const auto copia = plataforma::LocalizarArquivo(pedido.pastaMestre / pedido.nomeExecutavel);
    if (!copia) {
        throw std::runtime_error("Não foi encontrado o arquivo " + pedido.nomeExecutavel +
                                 " na pasta " + pedido.pastaMestre.string() + ".");
    }
    const auto programa = pedido.pastaPrograma / pedido.nomeExecutavel;
    AguardarFim(programa, limiteEspera);

    const auto provisorio = pedido.pastaPrograma / ("." + pedido.nomeExecutavel + ".atualizando");
    try {
        fs::copy_file(*copia, provisorio, fs::copy_options::overwrite_existing);
        // A master folder on a share may not keep the executable bit: the former file's
        // permissions are the ones known to run.
        if (fs::exists(programa)) fs::permissions(provisorio, fs::status(programa).permissions());
        fs::last_write_time(provisorio, fs::last_write_time(*copia));
        fs::rename(provisorio, programa);
    } catch (const fs::filesystem_error& e) {
        std::error_code ignorado;
        fs::remove(provisorio, ignorado);
        throw std::runtime_error("Falha ao copiar " + copia->string() + " para " +
                                 programa.string() + ": " + e.code().message());
    }
}

}  // namespace tessora::atualizador
