#include "atualizador/pedido_atualizacao.h"

#include "comum/texto.h"

namespace tessora::atualizador {

namespace {
std::optional<std::string> Valor(const std::string& argumento, std::string_view prefixo) {
    if (!argumento.starts_with(prefixo) || argumento.size() == prefixo.size()) return std::nullopt;
    return argumento.substr(prefixo.size());
}

std::filesystem::path Pasta(const std::string& codificada) {
    return TrocarTodos(codificada, "§", " ");
}
}  // namespace

std::optional<PedidoAtualizacao> LerPedido(const std::vector<std::string>& argumentos) {
    if (argumentos.size() < 4 || argumentos[0] != "@F1") return std::nullopt;
    const auto mestre = Valor(argumentos[1], "@M");
    const auto programa = Valor(argumentos[2], "@E");
    auto nome = Valor(argumentos[3], "@A");
    if (!mestre || !programa || !nome) return std::nullopt;
    for (size_t i = 4; i < argumentos.size(); ++i) *nome += " " + argumentos[i];
    return PedidoAtualizacao{Pasta(*mestre), Pasta(*programa), std::move(*nome)};
}

}  // namespace tessora::atualizador
