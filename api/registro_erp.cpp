#include "api/registro_erp.h"

#include <optional>

#include "api/caminho_api.h"
#include "api/json_consulta.h"
#include "api/json_leitura.h"

namespace tessora::api {

std::string RegistrarPedidoNoErp(ClienteHttp& cliente, const std::string& idPedido) {
    std::string corpoResposta;
    try {
        corpoResposta = cliente.Patch(CaminhoRegistroErp(idPedido), "{}");
    } catch (const ErroHttp& e) {
        return e.TextoErro();
    } catch (const ErroTransporte& e) {
        return e.what();
    }
    const std::optional<JsonDocumento> resposta = LerRespostaJson(corpoResposta);
    if (!resposta) return "Resposta inválida da API";
    if (RespostaComSucesso(*resposta)) return "OK";
    if (JsonValorPorNome(*resposta, "message") == nullptr) return "Erro não identificado na API";
    return JsonTextoPorNome(*resposta, "message");
}

}  // namespace tessora::api
