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
    int status = 0;          // of an error status
};

// Whether the API could not give the document, so that asking again later may: no answer, an
// unreadable one, or an error status other than 404 (the API's word that there is no such
// document, as is an answer without "success" or without "data").
[[nodiscard]] bool DocumentoNaoObtido(const DocumentoApp& documento);

// Why the document brought no "data", in words for the operator.
[[nodiscard]] std::string TextoFalhaDocumento(FalhaDocumentoApp falha, const std::string& mensagem);

// GET `caminho` and its "data". An answer that is JSON but no object raises ErroTipoInvalido.
[[nodiscard]] DocumentoApp LerDocumentoApp(api::ClienteHttp& cliente, const std::string& caminho);

}  // namespace tessora::importacao
