#include "regras_api.h"

#include <simdjson.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tessora::api_substituta {

namespace {
namespace od = simdjson::ondemand;

int ValorHex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw std::runtime_error("corpo_hex com caractere que não é hexadecimal");
}

std::string BytesDeHex(std::string_view hex) {
    if (hex.size() % 2 != 0) throw std::runtime_error("corpo_hex com quantidade ímpar de dígitos");
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2) {
        bytes += static_cast<char>(ValorHex(hex[i]) * 16 + ValorHex(hex[i + 1]));
    }
    return bytes;
}

std::string Texto(od::value valor) { return std::string(std::string_view(valor.get_string())); }

RegraApi LerRegra(od::object objeto) {
    RegraApi regra;
    for (auto campo : objeto) {
        const std::string chave(std::string_view(campo.unescaped_key()));
        od::value valor = campo.value();
        if (chave == "metodo") {
            regra.metodo = Texto(valor);
        } else if (chave == "caminho") {
            regra.caminho = Texto(valor);
        } else if (chave == "status") {
            regra.status = static_cast<int>(int64_t(valor.get_int64()));
        } else if (chave == "tipo_conteudo") {
            regra.tipoConteudo = Texto(valor);
        } else if (chave == "corpo_hex") {
            regra.corpo = BytesDeHex(std::string_view(valor.get_string()));
        } else if (chave == "cabecalhos") {
            for (auto cabecalho : valor.get_object()) {
                std::string nome(std::string_view(cabecalho.unescaped_key()));
                regra.cabecalhos.emplace_back(std::move(nome), Texto(cabecalho.value()));
            }
        } else if (chave == "atraso_ms") {
            regra.atraso = std::chrono::milliseconds(int64_t(valor.get_int64()));
        } else if (chave == "derrubar") {
            regra.derrubar = bool(valor.get_bool());
        } else if (chave == "derrubar_reutilizada") {
            regra.derrubarReutilizada = bool(valor.get_bool());
        } else if (chave == "gotejamento_ms") {
            regra.gotejamento = std::chrono::milliseconds(int64_t(valor.get_int64()));
        } else {
            throw std::runtime_error("membro desconhecido em uma regra: " + chave);
        }
    }
    if (regra.caminho.empty()) throw std::runtime_error("regra sem caminho");
    return regra;
}
}  // namespace

std::vector<RegraApi> LerRegras(const std::filesystem::path& arquivo) {
    std::ifstream entrada(arquivo, std::ios::binary);
    if (!entrada) return {};
    const std::string texto((std::istreambuf_iterator<char>(entrada)),
                            std::istreambuf_iterator<char>());
    try {
        const simdjson::padded_string copia(texto);
        od::parser parser;
        od::document documento = parser.iterate(copia);
        std::vector<RegraApi> regras;
        for (auto elemento : documento.get_array())
            regras.push_back(LerRegra(elemento.get_object()));
        return regras;
    } catch (const simdjson::simdjson_error& erro) {
        throw std::runtime_error(std::string("regras inválidas: ") + erro.what());
    }
}

std::optional<RegraApi> RegraPara(const std::vector<RegraApi>& regras, std::string_view metodo,
                                  std::string_view caminho) {
    for (const RegraApi& regra : regras) {
        if ((regra.metodo.empty() || regra.metodo == metodo) && regra.caminho == caminho)
            return regra;
    }
    return std::nullopt;
}

}  // namespace tessora::api_substituta
