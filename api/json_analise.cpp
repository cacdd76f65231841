#include "api/json_analise.h"

#include <simdjson.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <memory_resource>
#include <string_view>
#include <utility>
#include <vector>

#include "comum/codigo_pagina.h"

namespace tessora {

namespace {

namespace od = simdjson::ondemand;

static_assert(kFolgaAnaliseJson >= simdjson::SIMDJSON_PADDING);

bool EhEspacoJson(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool EhDigito(char c) { return c >= '0' && c <= '9'; }

std::string_view SemEspacosAoFim(std::string_view token) {
    while (!token.empty() && EhEspacoJson(token.back())) token.remove_suffix(1);
    return token;
}

bool LerHex4(const char* p, uint32_t& valor) {
    valor = 0;
    for (int i = 0; i < 4; ++i) {
        const char c = p[i];
        uint32_t digito;
        if (c >= '0' && c <= '9')
            digito = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digito = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digito = static_cast<uint32_t>(c - 'A' + 10);
        else
            return false;
        valor = valor << 4 | digito;
    }
    return true;
}

// Resolves the escapes of the string that starts after its opening quote at `p` into `destino`.
// Returns the position of the closing quote, or nullptr when the string is malformed. The
// structural pass has already found the closing quote, so the scan stays inside the padded text.
const char* Desescapar(const char* p, std::string& destino) {
    destino.clear();
    for (;;) {
        const char* inicio = p;
        while (*p != '"' && *p != '\\' && static_cast<unsigned char>(*p) >= 0x20) ++p;
        destino.append(inicio, p);
        if (*p == '"') return p;
        if (*p != '\\') return nullptr;  // unescaped control character
        const char escape = p[1];
        p += 2;
        switch (escape) {
            case '"':
                destino += '"';
                break;
            case '\\':
                destino += '\\';
                break;
            case '/':
                destino += '/';
                break;
            case 'b':
                destino += '\b';
                break;
            case 'f':
                destino += '\f';
                break;
            case 'n':
                destino += '\n';
                break;
            case 'r':
                destino += '\r';
                break;
            case 't':
                destino += '\t';
                break;
            case 'u': {
                uint32_t unidade;
                if (!LerHex4(p, unidade)) return nullptr;
                p += 4;
                char32_t codigo = unidade;
                uint32_t baixa;
                if (unidade >= 0xD800 && unidade <= 0xDBFF && p[0] == '\\' && p[1] == 'u' &&
                    LerHex4(p + 2, baixa) && baixa >= 0xDC00 && baixa <= 0xDFFF) {
                    codigo = 0x10000 + ((unidade - 0xD800) << 10) + (baixa - 0xDC00);
                    p += 6;
                } else if (unidade >= 0xD800 && unidade <= 0xDFFF) {
                    // A lone surrogate has no UTF-8 form.
                    codigo = 0xFFFD;
                }
                AcrescentarUtf8(destino, codigo);
                break;
            }
            default:
                return nullptr;
        }
    }
}

// -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
bool NumeroBemFormado(std::string_view t) {
    size_t i = 0;
    if (i < t.size() && t[i] == '-') ++i;
    if (i >= t.size() || !EhDigito(t[i])) return false;
    if (t[i] == '0') {
        ++i;
    } else {
        while (i < t.size() && EhDigito(t[i])) ++i;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        if (i >= t.size() || !EhDigito(t[i])) return false;
        while (i < t.size() && EhDigito(t[i])) ++i;
    }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        if (i >= t.size() || !EhDigito(t[i])) return false;
        while (i < t.size() && EhDigito(t[i])) ++i;
    }
    return i == t.size();
}

class Conversor {
  public:
    explicit Conversor(std::pmr::memory_resource& memoria) : memoria_(memoria) {}

    // Walks every value: the on-demand parser checks only what is visited.
    bool Objeto(od::object objeto, int profundidade, JsonValor& destino) {
        auto& membros = Nivel(membrosPorNivel_, profundidade);
        membros.clear();
        for (auto resultado : objeto) {
            od::field campo;
            if (std::move(resultado).get(campo) != simdjson::SUCCESS) return false;
            JsonMembro& membro = membros.emplace_back();
            if (!Nome(campo.key().raw(), membro.nome)) return false;
            if (!Valor(campo.value(), profundidade, membro.valor)) return false;
        }
        destino = JsonValor::Objeto(JsonObjeto(Guardar(membros), membros.size()));
        return true;
    }

    bool Lista(od::array lista, int profundidade, JsonValor& destino) {
        auto& itens = Nivel(itensPorNivel_, profundidade);
        itens.clear();
        for (auto resultado : lista) {
            od::value item;
            if (std::move(resultado).get(item) != simdjson::SUCCESS) return false;
            if (!Valor(item, profundidade, itens.emplace_back())) return false;
        }
        destino = JsonValor::Lista(JsonLista(Guardar(itens), itens.size()));
        return true;
    }

    // A string, number or literal token, as the structural pass cut it (spaces after it included).
    bool Escalar(std::string_view token, JsonValor& destino) {
        token = SemEspacosAoFim(token);
        if (token.empty()) return false;
        switch (token.front()) {
            case '"': {
                if (token.size() < 2 || token.back() != '"') return false;
                const std::string_view conteudo = token.substr(1, token.size() - 2);
                // The structural pass has already placed the closing quote and rejected
                // unescaped control characters: without escapes the text is the content itself.
                if (conteudo.find('\\') == std::string_view::npos) {
                    destino = JsonValor::Texto(conteudo);
                    return true;
                }
                if (Desescapar(conteudo.data(), escapado_) != conteudo.data() + conteudo.size()) {
                    return false;
                }
                destino = JsonValor::Texto(Guardar(escapado_));
                return true;
            }
            case 't':
            case 'f':
                if (token != "true" && token != "false") return false;
                destino = JsonValor::Booleano(token == "true");
                return true;
            case 'n':
                if (token != "null") return false;
                destino = JsonValor();
                return true;
            default:
                if (!NumeroBemFormado(token)) return false;
                destino = JsonValor::Numero(token);
                return true;
        }
    }

  private:
    // One buffer per nesting level gathers a container's members or elements, reused from
    // container to container; the container then takes one block of the final size. A deque
    // keeps each level's buffer in place while deeper levels are added.
    template <typename Buffer>
    static Buffer& Nivel(std::deque<Buffer>& niveis, int profundidade) {
        while (niveis.size() < static_cast<size_t>(profundidade)) niveis.emplace_back();
        return niveis[static_cast<size_t>(profundidade) - 1];
    }

    template <typename T>
    const T* Guardar(const std::vector<T>& itens) {
        if (itens.empty()) return nullptr;
        void* bloco = memoria_.allocate(itens.size() * sizeof(T), alignof(T));
        return std::uninitialized_copy(itens.begin(), itens.end(), static_cast<T*>(bloco)) -
               itens.size();
    }

    std::string_view Guardar(const std::string& texto) {
        if (texto.empty()) return {};
        auto* bloco = static_cast<char*>(memoria_.allocate(texto.size(), 1));
        std::memcpy(bloco, texto.data(), texto.size());
        return {bloco, texto.size()};
    }

    // A member name starting after its opening quote.
    bool Nome(const char* inicio, std::string_view& destino) {
        const char* p = inicio;
        while (*p != '"' && *p != '\\') ++p;
        if (*p == '"') {
            destino = std::string_view(inicio, static_cast<size_t>(p - inicio));
            return true;
        }
        if (!Desescapar(inicio, escapado_)) return false;
        destino = Guardar(escapado_);
        return true;
    }

    // `profundidade` is that of the container holding the value.
    bool Valor(od::value valor, int profundidade, JsonValor& destino) {
        od::json_type tipo;
        if (valor.type().get(tipo) != simdjson::SUCCESS) return false;
        // Checked before the parser enters the container, whose depth it bounds as well.
        const bool container = tipo == od::json_type::object || tipo == od::json_type::array;
        if (container && profundidade >= kProfundidadeMaximaJson) return false;
        switch (tipo) {
            case od::json_type::object: {
                od::object objeto;
                if (valor.get_object().get(objeto) != simdjson::SUCCESS) return false;
                return Objeto(objeto, profundidade + 1, destino);
            }
            case od::json_type::array: {
                od::array lista;
                if (valor.get_array().get(lista) != simdjson::SUCCESS) return false;
                return Lista(lista, profundidade + 1, destino);
            }
            default:
                return Escalar(valor.raw_json_token(), destino);
        }
    }

    std::pmr::memory_resource& memoria_;
    std::deque<std::vector<JsonMembro>> membrosPorNivel_;
    std::deque<std::vector<JsonValor>> itensPorNivel_;
    std::string escapado_;
};

}  // namespace

// The text the values view and the blocks of their containers and escaped strings. Held through
// a pointer so that neither moves with the document.
struct JsonDocumento::Armazenamento {
    explicit Armazenamento(std::string json)
        : texto(std::move(json)), memoria(std::max<size_t>(texto.size() / 2, 1024)) {}

    std::string texto;
    std::pmr::monotonic_buffer_resource memoria;
};

JsonDocumento::JsonDocumento(std::unique_ptr<Armazenamento> armazenamento, JsonValor raiz)
    : JsonObjeto(raiz.ComoObjeto() ? *raiz.ComoObjeto() : JsonObjeto()),
      armazenamento_(std::move(armazenamento)),
      raiz_(raiz) {}
JsonDocumento::JsonDocumento(JsonDocumento&&) noexcept = default;
JsonDocumento& JsonDocumento::operator=(JsonDocumento&&) noexcept = default;
JsonDocumento::~JsonDocumento() = default;

std::optional<JsonDocumento> AnalisarJson(std::string json) {
    const size_t tamanho = json.size();
    json.reserve(tamanho + kFolgaAnaliseJson);  // no reallocation when the caller left room
    json.resize(tamanho + kFolgaAnaliseJson, '\0');
    auto armazenamento = std::make_unique<JsonDocumento::Armazenamento>(std::move(json));
    const std::string& texto = armazenamento->texto;

    od::parser parser;
    od::document documento;
    if (parser.iterate(texto.data(), tamanho, texto.size()).get(documento) != simdjson::SUCCESS) {
        return std::nullopt;
    }
    od::json_type tipo;
    if (documento.type().get(tipo) != simdjson::SUCCESS) return std::nullopt;

    JsonValor raiz;
    Conversor conversor(armazenamento->memoria);
    if (tipo == od::json_type::object || tipo == od::json_type::array) {
        bool lido;
        if (tipo == od::json_type::object) {
            od::object objeto;
            lido = documento.get_object().get(objeto) == simdjson::SUCCESS &&
                   conversor.Objeto(objeto, 1, raiz);
        } else {
            od::array lista;
            lido = documento.get_array().get(lista) == simdjson::SUCCESS &&
                   conversor.Lista(lista, 1, raiz);
        }
        // Past the value's end there must be no token left.
        const char* resto;
        if (!lido || documento.current_location().get(resto) != simdjson::OUT_OF_BOUNDS) {
            return std::nullopt;
        }
    } else {
        std::string_view token;
        if (documento.raw_json_token().get(token) != simdjson::SUCCESS) return std::nullopt;
        // A lone scalar must be the text's only token.
        if (token.data() + token.size() != texto.data() + tamanho) return std::nullopt;
        if (!conversor.Escalar(token, raiz)) return std::nullopt;
    }
    return JsonDocumento(std::move(armazenamento), raiz);
}

}  // namespace tessora
