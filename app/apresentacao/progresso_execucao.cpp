#include "app/apresentacao/progresso_execucao.h"

namespace tessora::app {

std::string TextoEmExecucao(const std::optional<ProgressoExecucao>& progresso) {
    std::string texto = "Sincronizando...";
    if (progresso) {
        texto += " Pedido " + std::to_string(progresso->atual) + " de " +
                 std::to_string(progresso->total);
    }
    return texto;
}

RotuloStatus RotuloEmExecucao(const std::optional<ProgressoExecucao>& progresso) {
    return {TextoEmExecucao(progresso), "", false};
}

}  // namespace tessora::app
