#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace tessora::app {

// The API address and trust settings of the service settings file.
struct ConfiguracoesApi {
    std::string urlBaseApi;
    std::string arquivoCertificados;
    // Nothing: the client's own stall limit. Tests shorten it to provoke timeouts quickly.
    std::optional<std::chrono::milliseconds> limiteLeitura{};
    // Nothing: the client's own limit for an order's or a customer's answer. Tests lower it to
    // refuse answers of a modest size.
    std::optional<size_t> tamanhoMaximoResposta{};
};

// The API root built into the program.
const char* UrlBaseApiPadrao();

}  // namespace tessora::app
