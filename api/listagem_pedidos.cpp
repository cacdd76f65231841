#include "api/listagem_pedidos.h"

#include "api/json_consulta.h"
#include "api/json_leitura.h"
#include "comum/erros.h"
#include "comum/texto.h"

namespace tessora::api {

namespace {
std::string TextoDaResposta(ClienteHttp& cliente) {
    try {
        return cliente.Get("/pedidos");
    } catch (const ErroHttp& e) {
        return e.TextoErro();  // an error answer is read like any other
    } catch (const ErroTransporte& e) {
        return e.what();  // never reads as JSON
    }
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

std::vector<std::string> ListarPedidosNovos(ClienteHttp& cliente) {
    std::vector<std::string> ids;
    const auto resposta = LerRespostaJson(TextoDaResposta(cliente));
    if (!resposta || !PrimeiroMembroPermite(*resposta)) return ids;
    const JsonValor* dados = JsonValorPorNome(*resposta, "data");
    const JsonLista* pedidos = dados ? dados->ComoLista() : nullptr;
    if (!pedidos) return ids;
    for (const JsonValor& elemento : *pedidos) {
        const JsonObjeto* pedido = elemento.ComoObjeto();
        if (!pedido) throw ErroTipoInvalido();
        if (!AparaBrancos(JsonTextoPorNome(*pedido, "registrado_erp_em")).empty()) continue;
        if (!IguaisSemCaixaAscii(JsonTextoPorNome(*pedido, "tipo"), "Pedido")) continue;
        ids.push_back(JsonTextoPorNome(*pedido, "id"));
    }
    return ids;
}

}  // namespace tessora::api
