#pragma once

#include <cstddef>
#include <string>

#include "comum/erros.h"

namespace tessora::api {

// The API answered with a status outside 2xx (redirects included, since none is followed).
// The message is the status line, e.g. "HTTP/1.1 404 Not Found"; the error text is the
// answer's body, decoded like a normal answer.
class ErroHttp : public Erro {
  public:
    ErroHttp(const std::string& linhaStatus, int status, std::string textoErro)
        : Erro(linhaStatus), status_(status), textoErro_(std::move(textoErro)) {}

    int Status() const noexcept { return status_; }
    const std::string& TextoErro() const noexcept { return textoErro_; }

  private:
    int status_;
    std::string textoErro_;
};

// The request produced no answer: name resolution, connection, TLS handshake or certificate,
// a read that stalled beyond the limit, a connection closed without answer, or a request that
// could not be composed. The message says which.
class ErroTransporte : public Erro {
  public:
    using Erro::Erro;
};

// The answer's body grew beyond the limit set for it, which the message names.
class ErroRespostaGrandeDemais : public ErroTransporte {
  public:
    explicit ErroRespostaGrandeDemais(size_t limite)
        : ErroTransporte("Resposta da API maior que o limite de " + std::to_string(limite) +
                         " bytes") {}
};

}  // namespace tessora::api
