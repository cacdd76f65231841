#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "api/erros_http.h"

namespace tessora::api {

struct ConfiguracaoApi {
    // The API root, e.g. "https://api.example/api", without trailing slash.
    std::string urlBase;
    // PEM file of the only certificate authorities to trust; empty means the system's trust store.
    std::string arquivoCertificados;
    // Called afresh for every request, so that a token changed in the ERP applies at once.
    std::function<std::string()> obterToken;
    // A request fails when no byte moves for this long (connecting, handshake, waiting for or
    // reading the answer). Zero or less means no limit.
    std::chrono::milliseconds limiteLeitura{60000};
    // A request fails when it has not ended after this long, however steadily the bytes trickle
    // in; generous, since a listing can be large. Zero or less means no limit.
    std::chrono::milliseconds limiteTotal{std::chrono::minutes(10)};
    // An answer whose body grows beyond this many bytes is refused instead of filling memory;
    // ample for one order's or customer's document or an acknowledgement.
    size_t tamanhoMaximoResposta = 16u * 1024 * 1024;
    // The same for the listing, which holds every new order; far above the largest listing a
    // real API sends.
    size_t tamanhoMaximoListagem = 256u * 1024 * 1024;
};

// Which of the limits above an answer is held to.
enum class LimiteResposta { Documento, Listagem };

class SessaoHttp;

// HTTPS requests to the sales-force app API: TLS 1.2 with the server certificate verified,
// JSON headers, the bearer token, no redirects followed. A client keeps its connection alive
// from one request to the next, so one client serves one run and is used by one thread at a
// time; nothing outlives it.
class ClienteHttp {
  public:
    // Reads the certificate file here, once: a file that cannot be read fails every request.
    explicit ClienteHttp(ConfiguracaoApi configuracao);
    ~ClienteHttp();
    ClienteHttp(ClienteHttp&&) noexcept;
    ClienteHttp& operator=(ClienteHttp&&) noexcept;

    // A client of the same run for another thread: the same settings and certificates, TLS
    // sessions resumed from either, a connection of its own; its token from `obterToken`. Once
    // `interrupcao` holds true, its requests give up (within a second or so) with ErroTransporte.
    ClienteHttp OutroCliente(std::function<std::string()> obterToken,
                             const std::atomic<bool>* interrupcao = nullptr) const;

    // `caminho` is appended to the base address as given ("/pedidos"). Both return the
    // answer's body decoded to UTF-8; a status outside 2xx raises ErroHttp, a failure to
    // get an answer ErroTransporte, an answer beyond its limit ErroRespostaGrandeDemais.
    std::string Get(std::string_view caminho, LimiteResposta limite = LimiteResposta::Documento);
    // The body is sent as given.
    std::string Patch(std::string_view caminho, std::string_view corpo);

  private:
    struct LiberarCurl {
        void operator()(void* curl) const;
    };

    ClienteHttp(std::shared_ptr<const SessaoHttp> sessao, std::function<std::string()> obterToken,
                const std::atomic<bool>* interrupcao);
    std::string Executar(const char* metodo, std::string_view caminho,
                         std::optional<std::string_view> corpo, LimiteResposta limite);

    std::shared_ptr<const SessaoHttp> sessao_;
    std::function<std::string()> obterToken_;
    const std::atomic<bool>* interrupcao_;
    std::unique_ptr<void, LiberarCurl> curl_;  // made at the first request, then reused
};

}  // namespace tessora::api
