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

}  // namespace

std::string LerArquivoInteiro(const std::filesystem::path& arquivo) {
    std::ifstream entrada(arquivo, std::ios::binary | std::ios::ate);
    if (!entrada) throw std::runtime_error("não foi possível ler " + arquivo.string());
    std::string conteudo(static_cast<size_t>(entrada.tellg()), '\0');
    entrada.seekg(0);
    if (!entrada.read(conteudo.data(), static_cast<std::streamsize>(conteudo.size())))
        throw std::runtime_error("não foi possível ler " + arquivo.string());
    return conteudo;
}

EstadoApi::EstadoApi(std::string_view texto) {
    try {
        const simdjson::padded_string copia(texto);
        od::parser parser;
        od::document documento = parser.iterate(copia);
        for (auto campo : documento.get_object()) {
            const std::string_view chave = campo.unescaped_key();
            const bool ehToken = chave == "token";
            std::vector<std::string>* const destino = chave == "pedidos"    ? &pedidos_
                                                      : chave == "clientes" ? &clientes_
                                                                            : nullptr;
            od::value valor = campo.value();
            if (ehToken) {
                tokenJson_ = std::string(SemBrancosAoFim(valor.raw_json_token()));
                token_ = std::string(std::string_view(valor.get_string()));
            } else if (destino != nullptr) {
                destino->clear();
                for (auto elemento : valor.get_array()) {
                    od::object objeto = elemento.get_object();
                    destino->emplace_back(SemBrancosAoFim(objeto.raw_json()));
                }
            }
        }
    } catch (const simdjson::simdjson_error& erro) {
        throw std::runtime_error(std::string("estado inválido: ") + erro.what());
    }
    for (const auto& [objetos, indice] :
         {std::pair{&pedidos_, &indicePedidos_}, std::pair{&clientes_, &indiceClientes_}}) {
        for (size_t i = 0; i < objetos->size(); ++i) {
            if (auto id = LerMembros((*objetos)[i]).id) indice->try_emplace(std::move(*id), i);
        }
    }
}

std::optional<std::string_view> EstadoApi::Procurar(const std::vector<std::string>& objetos,
                                                    const Indice& indice, std::string_view id) {
    const auto encontrado = indice.find(std::string(id));
    if (encontrado == indice.end()) return std::nullopt;
    return objetos[encontrado->second];
}

std::optional<std::string_view> EstadoApi::Pedido(std::string_view id) const {
    return Procurar(pedidos_, indicePedidos_, id);
}

std::optional<std::string_view> EstadoApi::Cliente(std::string_view id) const {
    return Procurar(clientes_, indiceClientes_, id);
}

bool EstadoApi::RegistrarErp(std::string_view id, std::string_view quando) {
    const auto encontrado = indicePedidos_.find(std::string(id));
    if (encontrado == indicePedidos_.end()) return false;
    std::string& pedido = pedidos_[encontrado->second];
    const MembrosObjeto membros = LerMembros(pedido);
    std::string valor = "\"";
    valor.append(quando).push_back('"');
    if (membros.registro) {
        pedido.replace(membros.registro->first, membros.registro->second, valor);
    } else {
        // Before the closing brace, which ends the object's trimmed text.
        pedido.insert(pedido.size() - 1, std::string(membros.quantidade > 0 ? "," : "") +
                                             "\"registrado_erp_em\":" + valor);
    }
    return true;
}

std::string EstadoApi::Texto() const {
    std::string texto = "{\"token\":" + (tokenJson_.empty() ? std::string("\"\"") : tokenJson_);
    for (const auto& [nome, objetos] :
         {std::pair{",\"pedidos\":[", &pedidos_}, std::pair{"],\"clientes\":[", &clientes_}}) {
        texto += nome;
        for (size_t i = 0; i < objetos->size(); ++i) {
            if (i > 0) texto += ',';
            texto += (*objetos)[i];
        }
    }
    return texto + "]}";
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
