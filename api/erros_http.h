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

// Why a request produced no answer, as far as the operator can mend it.
enum class CausaTransporte {
    SemResposta,  // name resolution, connection, a stalled read, a connection closed, a time-out
    CertificadoRecusado,     // the server's certificate failed verification
    CertificadoForaDoPrazo,  // ... because it has expired or is not valid yet, as the PC's clock
                             // says
    TokenInvalido,           // the token cannot travel in a header
    Configuracao,            // the settings make no request: certificate file, API address
};

// The request produced no answer: name resolution, connection, TLS handshake or certificate,
// a read that stalled beyond the limit, a connection closed without answer, or a request that
// could not be composed. The message says which, the cause what to mend.
class ErroTransporte : public Erro {
  public:
    explicit ErroTransporte(const std::string& mensagem,
                            CausaTransporte causa = CausaTransporte::SemResposta)
        : Erro(mensagem), causa_(causa) {}

    CausaTransporte Causa() const noexcept { return causa_; }

  private:
    CausaTransporte causa_;
};

// The answer's body grew beyond the limit set for it, which the message names.
class ErroRespostaGrandeDemais : public ErroTransporte {
  public:
    explicit ErroRespostaGrandeDemais(size_t limite)
        : ErroTransporte("Resposta da API maior que o limite de " + std::to_string(limite) +
                         " bytes") {}
};

}  // namespace tessora::api
