#include "app/apresentacao/texto_log.h"

namespace tessora::app {

std::string LinhaDoLog(std::string_view linha, std::string_view quebra) {
    std::string texto;
    texto.reserve(linha.size());
    for (size_t i = 0; i < linha.size(); ++i) {
        if (linha[i] != '\r' && linha[i] != '\n') {
            texto += linha[i];
            continue;
        }
        if (linha[i] == '\r' && i + 1 < linha.size() && linha[i + 1] == '\n') ++i;
        texto += quebra;
    }
    return texto;
}

std::string CopiaDoLog(std::string_view log, std::string_view quebra) {
    std::string texto(log);
    if (!texto.empty()) texto += quebra;
    return texto;
}

}  // namespace tessora::app
