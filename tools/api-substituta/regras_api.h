#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessora::api_substituta {

// A behaviour that replaces the normal answer for one path, set by tests through a JSON file:
// [{"metodo": "GET", "caminho": "/api/pedidos", "status": 200,
//   "tipo_conteudo": "application/json; charset=iso-8859-1", "corpo_hex": "7b7d",
//   "cabecalhos": {"Location": "..."}, "atraso_ms": 0, "derrubar": false,
//   "derrubar_reutilizada": false, "gotejamento_ms": 0}]
// Only "caminho" is required; it is compared with the path exactly as the client sent it
// (before percent-decoding, without the query). An absent "metodo" matches every method.
// "derrubar" closes the connection without any answer, after the delay; "derrubar_reutilizada"
// does so only on a kept-alive connection that carried an earlier request, as a server that
// closes idle connections just as a request arrives, and answers on a fresh one. "gotejamento_ms"
// sends the body one byte at a time, each after that pause, as a server that trickles its answer.
struct RegraApi {
    std::string metodo;
    std::string caminho;
    int status = 200;
    std::string tipoConteudo = "application/json; charset=utf-8";
    std::string corpo;
    std::vector<std::pair<std::string, std::string>> cabecalhos;
    std::chrono::milliseconds atraso{0};
    bool derrubar = false;
    bool derrubarReutilizada = false;
    std::chrono::milliseconds gotejamento{0};
};

// A missing file holds no rules. Raises std::runtime_error when the file is unreadable.
std::vector<RegraApi> LerRegras(const std::filesystem::path& arquivo);

// The first rule for this method and raw path.
std::optional<RegraApi> RegraPara(const std::vector<RegraApi>& regras, std::string_view metodo,
                                  std::string_view caminho);

}  // namespace tessora::api_substituta
