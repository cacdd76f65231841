#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "comum/data.h"
#include "comum/moeda.h"

namespace tessora::db {

// How values are written into statement text: every statement carries its values inline.

// Enclosed in single quotes with inner quotes doubled, otherwise unchanged (no trimming);
// NUL characters are dropped, since the engine would end the statement at one.
std::string TextoSql(std::string_view texto);

// Decimal digits, with a leading "-" when negative.
std::string InteiroSql(int32_t valor);

// The text for true when the condition holds, otherwise the text for false. Writes an
// optional key: EscolherTexto(id > 0, InteiroSql(id), "NULL").
std::string EscolherTexto(bool condicao, std::string_view textoVerdadeiro,
                          std::string_view textoFalso);

// "dd.mm.yyyy", quoted.
std::string DataSql(Data data);

// 'S' or 'N'.
std::string FlagSql(bool ligado);

// A number in the Brazilian convention turned into SQL form: "," becomes ".", every "."
// (digit grouping) is dropped, everything else is kept: "1.234,56" gives "1234.56".
std::string FormatarDecimalSql(std::string_view numero);

// An amount with two ("###0.00") or four ("###0.0000") decimals, rounded half away from
// zero from the exact fixed-point value, never through the machine's locale.
std::string DecimalSql2(Moeda valor);
std::string DecimalSql4(Moeda valor);

// A statement head (" INSERT INTO T (A, B) VALUES (") followed by the values separated by ","
// without blanks, and ")".
std::string ComandoComValores(std::string_view cabecalho, const std::vector<std::string>& valores);

}  // namespace tessora::db
