#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "api/cliente_http.h"
#include "api/json_analise.h"

namespace tessora::importacao {

// Why a document of the API brought no "data".
enum class FalhaDocumentoApp {
    Nenhuma,
    SemId,         // no id to ask for: no request was made
    StatusDeErro,  // an answer with an error status
    Transporte,    // no answer: connection, TLS, timeout
    Ilegivel,      // not readable JSON
    SemSucesso,    // "success" not true
    SemDados,      // no "data" member (or, for a customer, one that is no object)
};

// What a GET of one order's or customer's document gave.
struct DocumentoApp {
    std::optional<JsonDocumento> resposta{};
    const JsonValor* dados = nullptr;  // the "data" member, inside `resposta`
    FalhaDocumentoApp falha = FalhaDocumentoApp::Nenhuma;
    std::string mensagem{};  // the status line, or the transport's message
};

// GET `caminho` and its "data". An answer that is JSON but no object raises ErroTipoInvalido.
[[nodiscard]] DocumentoApp LerDocumentoApp(api::ClienteHttp& cliente, const std::string& caminho);

}  // namespace tessora::importacao
