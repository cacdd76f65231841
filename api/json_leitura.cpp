#include "api/json_leitura.h"

#include "api/texto_resposta.h"
#include "comum/erros.h"

namespace tessora {

std::optional<JsonDocumento> LerRespostaJson(std::string_view texto) {
    auto documento = AnalisarJson(TextoRespostaParaAscii(texto, kFolgaAnaliseJson));
    if (documento && documento->Raiz().Tipo() != JsonTipo::Objeto) throw ErroTipoInvalido();
    return documento;
}

}  // namespace tessora
