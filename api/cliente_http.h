#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
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
    // far above the largest listing a real API sends.
    size_t tamanhoMaximoResposta = 256u * 1024 * 1024;
};

// HTTPS requests to the sales-force app API: TLS 1.2 with the server certificate verified,
// JSON headers, the bearer token, no redirects followed, nothing kept between requests.
class ClienteHttp {
  public:
    explicit ClienteHttp(ConfiguracaoApi configuracao);

    // `caminho` is appended to the base address as given ("/pedidos"). Both return the
    // answer's body decoded to UTF-8; a status outside 2xx raises ErroHttp, a failure to
    // get an answer ErroTransporte.
    std::string Get(std::string_view caminho) const;
    // The body is sent as given.
    std::string Patch(std::string_view caminho, std::string_view corpo) const;

  private:
    std::string Executar(const char* metodo, std::string_view caminho,
                         std::optional<std::string_view> corpo) const;

    ConfiguracaoApi configuracao_;
};

}  // namespace tessora::api
