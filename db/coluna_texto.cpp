#include "db/coluna_texto.h"

#include "comum/codigo_pagina.h"
#include "comum/erros.h"
#include "db/consulta.h"
#include "db/leitura_coluna.h"
#include "db/valores_sql.h"

namespace tessora::db {

namespace {
constexpr int kTipoChar = 14;
constexpr int kTipoVarchar = 37;
}  // namespace

ColunaTexto LerColunaTexto(ConexaoErp& conexao, std::string_view tabela, std::string_view coluna) {
    Consulta consulta(conexao);
    AbrirConsulta(consulta,
                  " select f.RDB$FIELD_TYPE as TIPO, coalesce(f.RDB$CHARACTER_LENGTH, "
                  "f.RDB$FIELD_LENGTH) as TAMANHO from RDB$RELATION_FIELDS rf join RDB$FIELDS f "
                  "on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE where rf.RDB$RELATION_NAME = " +
                      TextoSql(tabela) + " and rf.RDB$FIELD_NAME = " + TextoSql(coluna));
    const int32_t tipo = LerInteiro(consulta, "TIPO");
    if (!consulta.TemLinha() || (tipo != kTipoChar && tipo != kTipoVarchar)) {
        throw ErroBancoDados("A coluna " + std::string(tabela) + "." + std::string(coluna) +
                             " não existe ou não é de texto.");
    }
    return {LerInteiro(consulta, "TAMANHO"), tipo == kTipoChar};
}

std::optional<std::string> MotivoTextoInexato(std::string_view texto, const ColunaTexto& coluna) {
    const std::string gravado = Utf8ParaWin1252(texto);
    if (Win1252ParaUtf8(gravado) != texto) {
        return "tem caracteres que o banco de dados não guarda (fora do Windows-1252)";
    }
    if (gravado.find('\0') != std::string::npos) return "tem o caractere nulo";
    if (gravado.size() > static_cast<size_t>(coluna.tamanho)) {
        return "tem " + std::to_string(gravado.size()) + " caracteres, mais que os " +
               std::to_string(coluna.tamanho) + " da coluna";
    }
    if (coluna.fixa && !gravado.empty() && gravado.back() == ' ') {
        return "termina em espaço, que a coluna de tamanho fixo não guarda";
    }
    return std::nullopt;
}

std::string CondicaoTextoExato(std::string_view expressao, std::string_view texto,
                               const ColunaTexto& coluna) {
    // The plain equality first, so that an index on the column still serves the look-up.
    std::string condicao = std::string(expressao) + " = " + TextoSql(texto);
    if (!coluna.fixa) {
        condicao +=
            " and " + std::string(expressao) + " || '|' = " + TextoSql(std::string(texto) + "|");
    }
    return condicao;
}

}  // namespace tessora::db
