#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessora::api_substituta {

// The API's data as one JSON file:
// {"token": "...", "pedidos": [order objects], "clientes": [customer objects]}.
// Orders and customers are kept as their raw JSON text, so that numbers, nesting and member
// order reach the client exactly as written in the file.
class EstadoApi {
  public:
    // Raises std::runtime_error when the file cannot be read or is not such a document.
    static EstadoApi Ler(const std::filesystem::path& arquivo);
    explicit EstadoApi(std::string texto);

    const std::string& Token() const { return token_; }
    std::vector<std::string_view> Pedidos() const;
    // Ids compare as text: a numeric id 17 matches "17".
    std::optional<std::string_view> Pedido(std::string_view id) const;
    std::optional<std::string_view> Cliente(std::string_view id) const;

    // The whole document with the order's "registrado_erp_em" set to the given text (added as
    // the object's last member when absent); nothing when no order has that id.
    std::optional<std::string> ComRegistroErp(std::string_view id, std::string_view quando) const;

  private:
    struct Trecho {
        size_t inicio;
        size_t tamanho;
    };

    std::optional<Trecho> Procurar(const std::vector<Trecho>& objetos, std::string_view id) const;
    std::string_view Texto(Trecho trecho) const {
        return std::string_view(texto_).substr(trecho.inicio, trecho.tamanho);
    }

    std::string texto_;
    std::string token_;
    std::vector<Trecho> pedidos_;
    std::vector<Trecho> clientes_;
};

// Writes through a temporary file and a rename, so that a reader never sees half a file.
void GravarArquivoInteiro(const std::filesystem::path& arquivo, std::string_view conteudo);

}  // namespace tessora::api_substituta
