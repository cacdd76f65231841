#include "estado_api.h"

#include <simdjson.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>

namespace tessora::api_substituta {

namespace {
namespace od = simdjson::ondemand;

std::string_view SemBrancosAoFim(std::string_view texto) {
    while (!texto.empty() && (texto.back() == ' ' || texto.back() == '\t' || texto.back() == '\n' ||
                              texto.back() == '\r')) {
        texto.remove_suffix(1);
    }
    return texto;
}

// The value's JSON text as written: a whole object or array, or one scalar token.
std::string_view TextoBruto(od::value valor) {
    switch (valor.type().value()) {
        case od::json_type::object: {
            od::object objeto = valor.get_object();
            return SemBrancosAoFim(objeto.raw_json());
        }
        case od::json_type::array: {
            od::array lista = valor.get_array();
            return SemBrancosAoFim(lista.raw_json());
        }
        default:
            return SemBrancosAoFim(valor.raw_json_token());
    }
}

// A string id is its characters; any other value its JSON text (a number its digits).
std::string IdComoTexto(od::value valor) {
    if (valor.type().value() == od::json_type::string) {
        return std::string(std::string_view(valor.get_string()));
    }
    return std::string(TextoBruto(valor));
}

struct MembrosObjeto {
    size_t quantidade = 0;
    std::optional<std::string> id;
    // Where the value of "registrado_erp_em" lies inside the object's text.
    std::optional<std::pair<size_t, size_t>> registro;
};

MembrosObjeto LerMembros(std::string_view objetoJson) {
    const simdjson::padded_string copia(objetoJson);
    od::parser parser;
    od::document documento = parser.iterate(copia);
    MembrosObjeto membros;
    for (auto campo : documento.get_object()) {
        ++membros.quantidade;
        const std::string_view chave = campo.unescaped_key();
        const bool ehId = chave == "id";
        const bool ehRegistro = chave == "registrado_erp_em";
        od::value valor = campo.value();
        if (ehId && !membros.id) {
            membros.id = IdComoTexto(valor);
        } else if (ehRegistro && !membros.registro) {
            const std::string_view bruto = TextoBruto(valor);
            membros.registro.emplace(static_cast<size_t>(bruto.data() - copia.data()),
                                     bruto.size());
        }
    }
    return membros;
}

// Read for every request, so in one piece: copying through the stream buffer costs milliseconds
// per megabyte of state on each one. The size is taken from the open file, which a writer
// replaces by renaming and never changes in place.
std::string LerArquivoInteiro(const std::filesystem::path& arquivo) {
    std::ifstream entrada(arquivo, std::ios::binary | std::ios::ate);
    if (!entrada) throw std::runtime_error("não foi possível ler " + arquivo.string());
    std::string conteudo(static_cast<size_t>(entrada.tellg()), '\0');
    entrada.seekg(0);
    if (!entrada.read(conteudo.data(), static_cast<std::streamsize>(conteudo.size())))
        throw std::runtime_error("não foi possível ler " + arquivo.string());
    return conteudo;
}
}  // namespace

EstadoApi EstadoApi::Ler(const std::filesystem::path& arquivo) {
    return EstadoApi(LerArquivoInteiro(arquivo));
}

EstadoApi::EstadoApi(std::string texto) : texto_(std::move(texto)) {
    try {
        const simdjson::padded_string copia(texto_);
        od::parser parser;
        od::document documento = parser.iterate(copia);
        for (auto campo : documento.get_object()) {
            const std::string_view chave = campo.unescaped_key();
            const bool ehToken = chave == "token";
            std::vector<Trecho>* const destino = chave == "pedidos"    ? &pedidos_
                                                 : chave == "clientes" ? &clientes_
                                                                       : nullptr;
            od::value valor = campo.value();
            if (ehToken) {
                token_ = std::string(std::string_view(valor.get_string()));
            } else if (destino != nullptr) {
                destino->clear();
                for (auto elemento : valor.get_array()) {
                    od::object objeto = elemento.get_object();
                    const std::string_view bruto = SemBrancosAoFim(objeto.raw_json());
                    destino->push_back(
                        {static_cast<size_t>(bruto.data() - copia.data()), bruto.size()});
                }
            }
        }
    } catch (const simdjson::simdjson_error& erro) {
        throw std::runtime_error(std::string("estado inválido: ") + erro.what());
    }
}

std::vector<std::string_view> EstadoApi::Pedidos() const {
    std::vector<std::string_view> pedidos;
    for (const Trecho trecho : pedidos_) pedidos.push_back(Texto(trecho));
    return pedidos;
}

std::optional<EstadoApi::Trecho> EstadoApi::Procurar(const std::vector<Trecho>& objetos,
                                                     std::string_view id) const {
    for (const Trecho trecho : objetos) {
        if (LerMembros(Texto(trecho)).id == id) return trecho;
    }
    return std::nullopt;
}

std::optional<std::string_view> EstadoApi::Pedido(std::string_view id) const {
    const auto trecho = Procurar(pedidos_, id);
    if (!trecho) return std::nullopt;
    return Texto(*trecho);
}

std::optional<std::string_view> EstadoApi::Cliente(std::string_view id) const {
    const auto trecho = Procurar(clientes_, id);
    if (!trecho) return std::nullopt;
    return Texto(*trecho);
}

std::optional<std::string> EstadoApi::ComRegistroErp(std::string_view id,
                                                     std::string_view quando) const {
    const auto trecho = Procurar(pedidos_, id);
    if (!trecho) return std::nullopt;
    const MembrosObjeto membros = LerMembros(Texto(*trecho));
    std::string valor = "\"";
    valor.append(quando).push_back('"');
    std::string resultado = texto_;
    if (membros.registro) {
        resultado.replace(trecho->inicio + membros.registro->first, membros.registro->second,
                          valor);
    } else {
        // Before the closing brace, which ends the object's trimmed text.
        const std::string membro =
            std::string(membros.quantidade > 0 ? "," : "") + "\"registrado_erp_em\":" + valor;
        resultado.insert(trecho->inicio + trecho->tamanho - 1, membro);
    }
    return resultado;
}

void GravarArquivoInteiro(const std::filesystem::path& arquivo, std::string_view conteudo) {
    std::filesystem::path temporario = arquivo;
    temporario += ".tmp" + std::to_string(getpid());
    {
        std::ofstream saida(temporario, std::ios::binary | std::ios::trunc);
        saida.write(conteudo.data(), static_cast<std::streamsize>(conteudo.size()));
        if (!saida.flush())
            throw std::runtime_error("não foi possível gravar " + temporario.string());
    }
    std::filesystem::rename(temporario, arquivo);
}

}  // namespace tessora::api_substituta
