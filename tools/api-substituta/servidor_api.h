#pragma once

#include <httplib.h>
#include <sys/types.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string_view>

#include "estado_api.h"
#include "falhas_api.h"
#include "regras_api.h"

namespace tessora::api_substituta {

struct ArquivosServidor {
    std::filesystem::path estado;
    std::filesystem::path regras;
    std::filesystem::path registro;
    std::filesystem::path falhas;  // empty: no random failures
};

// Answers the API's requests from the state file, kept in memory and read again only when the
// file has changed since (tests may rewrite it at any time); an acknowledgement writes it back at
// once. Records every request; applies the test rules first, then the random failures.
class ServidorApi {
  public:
    explicit ServidorApi(ArquivosServidor arquivos);

    // Called from the HTTP server's worker threads.
    void Atender(const httplib::Request& requisicao, httplib::Response& resposta);
    // Wakes delayed answers, so that the server stops at once.
    void Encerrar();

  private:
    void Registrar(const httplib::Request& requisicao, std::string_view caminho,
                   std::string_view consulta);
    void ResponderPelaApi(const httplib::Request& requisicao, std::string_view caminho,
                          httplib::Response& resposta);
    // Sends the rule's body one byte at a time, each after its pause.
    void Gotejar(const RegraApi& regra, httplib::Response& resposta);
    // False when the server is stopping.
    bool Esperar(std::chrono::milliseconds atraso);
    // Drawn for every request in the order they arrive, so that the sequence of failures
    // follows from the seed and the sequence of requests.
    Falha SortearFalha(const std::optional<ConfiguracaoFalhas>& configuracao);

    struct MarcaArquivo {
        ino_t inode;
        off_t tamanho;
        time_t segundos;
        long nanossegundos;
        bool operator==(const MarcaArquivo&) const = default;
    };
    static MarcaArquivo Marca(const std::filesystem::path& arquivo);
    // Under mutexEstado_.
    const EstadoApi& EstadoAtual();
    void GravarEstado();

    const ArquivosServidor arquivos_;
    std::optional<EstadoApi> estado_;
    MarcaArquivo marcaEstado_{};
    std::mutex mutexEstado_;
    std::mutex mutexRegistro_;
    std::mutex mutexEspera_;
    std::mutex mutexFalhas_;
    SorteioFalhas sorteio_;
    std::condition_variable espera_;
    bool encerrando_ = false;
};

}  // namespace tessora::api_substituta
