#include "api/listagem_pedidos.h"

#include <optional>

#include "api/json_consulta.h"
#include "api/json_leitura.h"
#include "comum/erros.h"
#include "comum/texto.h"

namespace tessora::api {

namespace {
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
}  // namespace

ListagemPedidos LerListagemPedidos(std::string_view texto) {
    const auto resposta = LerRespostaJson(texto);
    if (!resposta) return ListagemPedidos::ComFalha("a resposta da API não é um JSON legível");
    if (!PrimeiroMembroPermite(*resposta)) {
        return ListagemPedidos::ComFalha(
            ComMensagem("a API não confirmou o sucesso da consulta", MensagemDaResposta(resposta)));
    }
    const JsonValor* dados = JsonValorPorNome(*resposta, "data");
    const JsonLista* pedidos = dados ? dados->ComoLista() : nullptr;
    if (!pedidos) return ListagemPedidos::ComFalha("a resposta da API não traz a lista de pedidos");

    std::vector<std::string> ids;
    for (const JsonValor& elemento : *pedidos) {
        const JsonObjeto* pedido = elemento.ComoObjeto();
        if (!pedido) throw ErroTipoInvalido();
        if (!AparaBrancos(JsonTextoPorNome(*pedido, "registrado_erp_em")).empty()) continue;
        if (!IguaisSemCaixaAscii(JsonTextoPorNome(*pedido, "tipo"), "Pedido")) continue;
        ids.push_back(JsonTextoPorNome(*pedido, "id"));
    }
    return ListagemPedidos::ComPedidos(std::move(ids));
}

ListagemPedidos ListarPedidosNovos(ClienteHttp& cliente) {
    std::string texto;
    try {
        texto = cliente.Get("/pedidos", LimiteResposta::Listagem);
    } catch (const ErroHttp& e) {
        return ListagemPedidos::ComFalha(ComMensagem(e.what(), MensagemDoErro(e.TextoErro())));
    } catch (const ErroTransporte& e) {
        return ListagemPedidos::ComFalha(e.what());
    }
    return LerListagemPedidos(texto);
}

}  // namespace tessora::api
