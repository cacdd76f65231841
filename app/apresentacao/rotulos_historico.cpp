#include "app/apresentacao/rotulos_historico.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tessora::app {

namespace {
using Rotulo = std::pair<std::string_view, std::string_view>;  // code, label

constexpr Rotulo kOrigens[] = {
    {"temporizador", "automático"},
    {"botao", "botão"},
    {"linha_comando", "linha de comando"},
    {"repeticao", "tentar novamente"},
};

constexpr Rotulo kDesfechosExecucao[] = {
    {"", "sem término"},
    {"normal", "normal"},
    {"sem_conexao", "sem conexão"},
    {"sem_listagem", "sem listagem"},
    {"erro", "erro"},
};

constexpr Rotulo kDesfechosPedido[] = {
    {"incluido", "incluído"},         {"incluido_com_aviso", "incluído com aviso"},
    {"ja_incluido", "já incluído"},   {"adiado", "adiado"},
    {"nao_incluido", "não incluído"}, {"erro", "erro"},
};

template <size_t N>
std::string_view Rotular(const Rotulo (&rotulos)[N], std::string_view codigo) {
    const auto rotulo = std::find_if(std::begin(rotulos), std::end(rotulos),
                                     [&](const Rotulo& r) { return r.first == codigo; });
    return rotulo == std::end(rotulos) ? codigo : rotulo->second;
}
}  // namespace

std::string_view RotuloOrigem(std::string_view codigo) { return Rotular(kOrigens, codigo); }

std::string_view RotuloDesfechoExecucao(std::string_view codigo) {
    return Rotular(kDesfechosExecucao, codigo);
}

std::string_view RotuloDesfechoPedido(std::string_view codigo) {
    return Rotular(kDesfechosPedido, codigo);
}

}  // namespace tessora::app
