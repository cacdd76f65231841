#include "manutencao/data_arquivo.h"

#include <algorithm>
#include <cstdio>

#include "plataforma/tempo_arquivo.h"

namespace tessora::manutencao {

std::string TextoDataArquivo(const std::filesystem::path& caminho) {
    const auto local = plataforma::UltimaGravacaoLocal(caminho);
    if (!local || local->ano < 1980 || local->ano > 2107) return {};
    // The packed form keeps seconds in two-second steps (a leap second stays in the last).
    const int segundo = std::min(local->segundo, 59) / 2 * 2;
    char texto[64];
    if (local->hora == 0 && local->minuto == 0 && segundo == 0) {
        std::snprintf(texto, sizeof texto, "%02d/%02d/%04d", local->dia, local->mes, local->ano);
    } else {
        std::snprintf(texto, sizeof texto, "%02d/%02d/%04d %02d:%02d:%02d", local->dia, local->mes,
                      local->ano, local->hora, local->minuto, segundo);
    }
    return texto;
}

}  // namespace tessora::manutencao
