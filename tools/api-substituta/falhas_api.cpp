#include "falhas_api.h"

#include <simdjson.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace tessora::api_substituta {

namespace od = simdjson::ondemand;

std::optional<ConfiguracaoFalhas> LerConfiguracaoFalhas(const std::filesystem::path& arquivo) {
    std::ifstream entrada(arquivo, std::ios::binary);
    if (!entrada) return std::nullopt;
    const std::string texto((std::istreambuf_iterator<char>(entrada)),
                            std::istreambuf_iterator<char>());
    try {
        const simdjson::padded_string copia(texto);
        od::parser parser;
        od::document documento = parser.iterate(copia);
        ConfiguracaoFalhas configuracao;
        for (auto campo : documento.get_object()) {
            const std::string chave(std::string_view(campo.unescaped_key()));
            od::value valor = campo.value();
            if (chave == "semente") {
                configuracao.semente = uint64_t(valor.get_uint64());
            } else if (chave == "percentual") {
                configuracao.percentual = static_cast<int>(int64_t(valor.get_int64()));
            } else if (chave == "atraso_ms") {
                configuracao.atraso = std::chrono::milliseconds(int64_t(valor.get_int64()));
            } else {
                throw std::runtime_error("membro desconhecido nas falhas: " + chave);
            }
        }
        return configuracao;
    } catch (const simdjson::simdjson_error& erro) {
        throw std::runtime_error(std::string("falhas inválidas: ") + erro.what());
    }
}

Falha SorteioFalhas::Sortear(const std::optional<ConfiguracaoFalhas>& configuracao) {
    if (configuracao != atual_) {
        atual_ = configuracao;
        gerador_.seed(configuracao ? configuracao->semente : 0);
    }
    if (!atual_ || atual_->percentual <= 0) return Falha::Nenhuma;
    // Two draws for every answer, failed or not, so that a fate depends only on the answer's
    // place in the sequence.
    const uint64_t chance = gerador_() % 100;
    const uint64_t tipo = gerador_() % 5;
    if (chance >= static_cast<uint64_t>(atual_->percentual)) return Falha::Nenhuma;
    switch (tipo) {
        case 0:
            return Falha::Status500;
        case 1:
            return Falha::Status503;
        case 2:
            return Falha::CorpoInvalido;
        case 3:
            return Falha::ConexaoDerrubada;
        default:
            return Falha::RespostaAtrasada;
    }
}

}  // namespace tessora::api_substituta
