#include "db/leitura_coluna.h"

#include <charconv>

#include "comum/erros.h"
#include "comum/texto.h"

namespace tessora::db {

int32_t InteiroDoBanco(std::string_view texto) {
    const std::string_view digitos = AparaBrancos(texto);
    int32_t valor = 0;
    const char* fim = digitos.data() + digitos.size();
    const auto [ponteiro, erro] = std::from_chars(digitos.data(), fim, valor);
    if (digitos.empty() || erro != std::errc() || ponteiro != fim) {
        throw ErroConversao("'" + std::string(texto) + "' is not a valid integer value");
    }
    return valor;
}

int32_t LerInteiro(const Consulta& consulta, std::string_view coluna) {
    const auto valor = consulta.Valor(coluna);
    return valor ? InteiroDoBanco(*valor) : 0;
}

std::string LerTexto(const Consulta& consulta, std::string_view coluna) {
    return consulta.Valor(coluna).value_or(std::string());
}

int32_t ConsultarInteiro(ConexaoErp& conexao, std::string_view comando, std::string_view coluna) {
    Consulta consulta(conexao);
    AbrirConsulta(consulta, comando);
    return LerInteiro(consulta, coluna);
}

std::string ConsultarTexto(ConexaoErp& conexao, std::string_view comando, std::string_view coluna) {
    Consulta consulta(conexao);
    AbrirConsulta(consulta, comando);
    return LerTexto(consulta, coluna);
}

}  // namespace tessora::db
