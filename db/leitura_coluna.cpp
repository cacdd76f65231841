#include "db/leitura_coluna.h"

#include "comum/inteiros.h"

namespace tessora::db {

int32_t LerInteiro(const Consulta& consulta, std::string_view coluna) {
    const auto valor = consulta.Valor(coluna);
    return valor ? ExigirInteiro(*valor, InteiroEntreBrancos) : 0;
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
