// An answer's bytes under each charset the API may declare: decoding, JSON reading, the
// look-ups and the listing must never crash, and decoding always gives valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "api/decodificacao_resposta.h"
#include "api/json_consulta.h"
#include "api/json_leitura.h"
#include "api/listagem_pedidos.h"
#include "comum/codigo_pagina.h"
#include "comum/erros.h"

namespace {
constexpr std::string_view kTipos[] = {
    "application/json",
    "application/json; charset=utf-8",
    "application/json; charset=windows-1252",
    "application/json; charset=ISO-8859-1",
    "text/html; charset=\"x-desconhecido\"",
};

bool Utf8Valido(std::string_view texto) {
    for (size_t pos = 0; pos < texto.size();) {
        const auto sequencia = tessora::LerSequenciaUtf8(texto, pos);
        if (!sequencia) return false;
        pos += sequencia->tamanho;
    }
    return true;
}

void LerComoResposta(std::string_view texto) {
    try {
        const auto resposta = tessora::LerRespostaJson(texto);
        static_cast<void>(tessora::RespostaComSucesso(resposta));
        for (const char* membro : {"success", "message", "data", "id", "valor_produtos"}) {
            static_cast<void>(tessora::JsonTextoPorNome(resposta, membro));
        }
    } catch (const tessora::ErroTipoInvalido&) {
        // JSON that is no object: refused by design
    }
    // Whatever the answer, a listing or a failure with its reason, never an error.
    const tessora::api::ListagemPedidos listagem = tessora::api::LerListagemPedidos(texto);
    if (!listagem.Aceito() && listagem.Motivo().empty()) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    if (tamanho == 0) return 0;
    const std::string_view tipo = kTipos[dados[0] % std::size(kTipos)];
    const std::string_view corpo(reinterpret_cast<const char*>(dados) + 1, tamanho - 1);
    const std::string texto = tessora::api::DecodificarCorpoResposta(corpo, tipo);
    if (!Utf8Valido(texto)) std::abort();
    LerComoResposta(texto);
    return 0;
}
