#include "api/listagem_pedidos.h"

#include <algorithm>
#include <optional>

#include "api/json_consulta.h"
#include "api/json_leitura.h"
#include "comum/erros.h"
#include "comum/texto.h"

namespace tessora::api {

namespace {
constexpr std::string_view kSemLista = "a resposta da API não traz a lista de pedidos";

ListagemPedidos Falha(std::string motivo, ProblemaListagem problema = ProblemaListagem::ErroApi) {
    return FalhaListagem{std::move(motivo), problema};
}

ProblemaListagem ProblemaDoTransporte(CausaTransporte causa) {
    switch (causa) {
        case CausaTransporte::SemResposta:
            return ProblemaListagem::ApiInacessivel;
        case CausaTransporte::CertificadoRecusado:
            return ProblemaListagem::CertificadoRecusado;
        case CausaTransporte::CertificadoForaDoPrazo:
            return ProblemaListagem::CertificadoForaDoPrazo;
        case CausaTransporte::TokenInvalido:
            return ProblemaListagem::TokenRecusado;
        case CausaTransporte::Configuracao:
            return ProblemaListagem::Configuracao;
    }
    return ProblemaListagem::ApiInacessivel;
}

// 401 and 403 are how an API refuses a token that is missing, wrong or revoked.
ProblemaListagem ProblemaDoStatus(int status) {
    return status == 401 || status == 403 ? ProblemaListagem::TokenRecusado
                                          : ProblemaListagem::ErroApi;
}

std::string MensagemDaResposta(const std::optional<JsonDocumento>& resposta) {
    return std::string(AparaBrancos(JsonTextoPorNome(resposta, "message")));
}

// An error answer's own explanation, when its body is a JSON object with a "message".
std::string MensagemDoErro(const std::string& textoErro) {
    try {
        return MensagemDaResposta(LerRespostaJson(textoErro));
    } catch (const ErroTipoInvalido&) {
        return {};  // JSON, but no object: nothing to quote
    }
}

std::string ComMensagem(std::string motivo, const std::string& mensagem) {
    return mensagem.empty() ? motivo : motivo + ": " + mensagem;
}

// Only the first member is looked at, and only the literal true passes.
bool PrimeiroMembroPermite(const JsonObjeto& resposta) {
    if (resposta.Membros().empty()) return true;
    const JsonMembro& primeiro = resposta.Membros().front();
    if (!IguaisSemCaixaAscii(primeiro.nome, "success")) return true;
    const bool* literal = primeiro.valor.ComoBooleano();
    return literal && *literal;
}

// The order's id as a request path can carry it: a non-empty string unchanged, an integer as
// written. Nothing for any other value: an order that cannot be fetched by its id.
std::optional<std::string> IdDoPedido(const JsonObjeto& pedido) {
    const JsonValor* id = JsonValorPorNome(pedido, "id");
    if (!id) return std::nullopt;
    if (const std::string_view* texto = id->ComoTexto()) {
        if (texto->empty()) return std::nullopt;
        return std::string(*texto);
    }
    if (const std::string_view* numero = id->TextoDoNumero()) {
        const std::string_view digitos = numero->substr(numero->starts_with('-') ? 1 : 0);
        if (std::ranges::all_of(digitos, [](char c) { return c >= '0' && c <= '9'; }))
            return std::string(*numero);
    }
    return std::nullopt;
}

}  // namespace

ListagemPedidos LerListagemPedidos(std::string_view texto) {
    std::optional<JsonDocumento> resposta;
    try {
        resposta = LerRespostaJson(texto);
    } catch (const ErroTipoInvalido&) {
        return Falha(std::string(kSemLista));  // JSON, but no object
    }
    if (!resposta) return Falha("a resposta da API não é um JSON legível");
    if (!PrimeiroMembroPermite(*resposta)) {
        return Falha(
            ComMensagem("a API não confirmou o sucesso da consulta", MensagemDaResposta(resposta)));
    }
    const JsonValor* dados = JsonValorPorNome(*resposta, "data");
    const JsonLista* pedidos = dados ? dados->ComoLista() : nullptr;
    if (!pedidos) return Falha(std::string(kSemLista));

    // A list with an entry that cannot be read is no list: leaving that order out would read
    // as if it were not new.
    std::vector<std::string> ids;
    for (const JsonValor& elemento : *pedidos) {
        const JsonObjeto* pedido = elemento.ComoObjeto();
        if (!pedido) return Falha(std::string(kSemLista));
        if (!AparaBrancos(JsonTextoPorNome(*pedido, "registrado_erp_em")).empty()) continue;
        if (!IguaisSemCaixaAscii(JsonTextoPorNome(*pedido, "tipo"), "Pedido")) continue;
        std::optional<std::string> id = IdDoPedido(*pedido);
        if (!id) return Falha(std::string(kSemLista));
        ids.push_back(std::move(*id));
    }
    return ids;
}

ListagemPedidos ListarPedidosNovos(ClienteHttp& cliente) {
    std::string texto;
    try {
        texto = cliente.Get("/pedidos", LimiteResposta::Listagem);
    } catch (const ErroHttp& e) {
        return Falha(ComMensagem(e.what(), MensagemDoErro(e.TextoErro())),
                     ProblemaDoStatus(e.Status()));
    } catch (const ErroRespostaGrandeDemais& e) {
        return Falha(e.what());  // an answer, but none that can be read
    } catch (const ErroTransporte& e) {
        return Falha(e.what(), ProblemaDoTransporte(e.Causa()));
    }
    return LerListagemPedidos(texto);
}

}  // namespace tessora::api
