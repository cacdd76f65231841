#include "db/valores_sql.h"

namespace tessora::db {

std::string TextoSql(std::string_view texto) {
    std::string sql;
    sql.reserve(texto.size() + 2);
    sql += '\'';
    for (const char c : texto) {
        if (c == '\0') continue;
        if (c == '\'') sql += '\'';
        sql += c;
    }
    sql += '\'';
    return sql;
}

std::string InteiroSql(int32_t valor) { return std::to_string(valor); }

std::string EscolherTexto(bool condicao, std::string_view textoVerdadeiro,
                          std::string_view textoFalso) {
    return std::string(condicao ? textoVerdadeiro : textoFalso);
}

std::string DataSql(Data data) { return TextoSql(data.FormatarComPontos()); }

std::string FlagSql(bool ligado) { return ligado ? "'S'" : "'N'"; }

std::string FormatarDecimalSql(std::string_view numero) {
    std::string sql;
    sql.reserve(numero.size());
    for (const char c : numero) {
        if (c == ',') {
            sql += '.';
        } else if (c != '.') {
            sql += c;
        }
    }
    return sql;
}

// Formatted with "," as the writers' decimal separator, as the conversion expects.
std::string DecimalSql2(Moeda valor) { return FormatarDecimalSql(valor.Formatar(2, ',')); }
std::string DecimalSql4(Moeda valor) { return FormatarDecimalSql(valor.Formatar(4, ',')); }

std::string ComandoComValores(std::string_view cabecalho, const std::vector<std::string>& valores) {
    std::string comando(cabecalho);
    bool primeiro = true;
    for (const std::string& valor : valores) {
        if (!primeiro) comando += ',';
        comando += valor;
        primeiro = false;
    }
    comando += ')';
    return comando;
}

}  // namespace tessora::db
