#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessora::api_substituta {

// The API's data as one JSON document:
// {"token": "...", "pedidos": [order objects], "clientes": [customer objects]}.
// Orders and customers are kept as their raw JSON text, so that numbers, nesting and member
// order reach the client exactly as written in the document.
class EstadoApi {
  public:
    // Raises std::runtime_error when the text is not such a document.
    explicit EstadoApi(std::string_view texto);

    const std::string& Token() const { return token_; }
    const std::vector<std::string>& Pedidos() const { return pedidos_; }
    // Ids compare as text: a numeric id 17 matches "17". Of two objects with one id, the first.
    std::optional<std::string_view> Pedido(std::string_view id) const;
    std::optional<std::string_view> Cliente(std::string_view id) const;

    // Sets the order's "registrado_erp_em" to the given text (added as the object's last member
    // when absent); false when no order has that id.
    bool RegistrarErp(std::string_view id, std::string_view quando);

    // The document again, the objects' texts as kept.
    std::string Texto() const;

  private:
    using Indice = std::unordered_map<std::string, size_t>;

    static std::optional<std::string_view> Procurar(const std::vector<std::string>& objetos,
                                                    const Indice& indice, std::string_view id);

    std::string token_;
    std::string tokenJson_;  // as written, escapes and all
    std::vector<std::string> pedidos_;
    std::vector<std::string> clientes_;
    Indice indicePedidos_;
    Indice indiceClientes_;
};

// The whole file in one piece; raises std::runtime_error when it cannot be read.
std::string LerArquivoInteiro(const std::filesystem::path& arquivo);
// Writes through a temporary file and a rename, so that a reader never sees half a file.
void GravarArquivoInteiro(const std::filesystem::path& arquivo, std::string_view conteudo);

}  // namespace tessora::api_substituta
