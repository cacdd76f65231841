#include "api/registro_erp.h"

#include <optional>

#include "api/caminho_api.h"
#include "api/json_consulta.h"
#include "api/json_leitura.h"

namespace tessora::api {

Resultado<> RegistrarPedidoNoErp(ClienteHttp& cliente, const std::string& idPedido) {
    std::string corpoResposta;
    try {
        corpoResposta = cliente.Patch(CaminhoRegistroErp(idPedido), "{}");
    } catch (const ErroHttp& e) {
        return Recusa{e.TextoErro()};
    } catch (const ErroTransporte& e) {
        return Recusa{e.what()};
    }
    const std::optional<JsonDocumento> resposta = LerRespostaJson(corpoResposta);
    if (!resposta) return Recusa{"Resposta inválida da API"};
    if (RespostaComSucesso(*resposta)) return {};
    if (JsonValorPorNome(*resposta, "message") == nullptr) {
        return Recusa{"Erro não identificado na API"};
    }
    return Recusa{JsonTextoPorNome(*resposta, "message")};
}

}  // namespace tessora::api
