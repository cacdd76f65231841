#include "app/historico/texto_json.h"

#include <cstdio>

namespace tessora::app {

std::string TextoJson(std::string_view texto) {
    std::string json = "\"";
    for (const char c : texto) {
        switch (c) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\r':
                json += "\\r";
                break;
            case '\t':
                json += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    json += escape;
                } else {
                    json += c;
                }
        }
    }
    return json + "\"";
}

std::string NumeroJson(const std::optional<int64_t>& valor) {
    return valor ? std::to_string(*valor) : "null";
}

}  // namespace tessora::app
