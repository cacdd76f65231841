// An order document's values as the import reads them and writes them into statements:
// amounts, dates and whole numbers read without crashing, refused only with the project's
// conversion error, and every text value stays one closed SQL literal in the code page the
// database gets.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "api/json_consulta.h"
#include "api/json_leitura.h"
#include "api/valores_resposta.h"
#include "comum/codigo_pagina.h"
#include "comum/erros.h"
#include "comum/inteiros.h"
#include "db/valores_sql.h"
#include "importacao/valores_pedido.h"

namespace {
// The literal must open at the start, close at the end, and hold only doubled quotes inside.
void ExigirUmLiteral(std::string_view sql) {
    if (sql.size() < 2 || sql.front() != '\'' || sql.back() != '\'') std::abort();
    for (size_t i = 1; i + 1 < sql.size(); ++i) {
        if (sql[i] == '\0') std::abort();
        if (sql[i] != '\'') continue;
        if (i + 2 >= sql.size() || sql[i + 1] != '\'') std::abort();
        ++i;
    }
}

void Valores(const tessora::JsonObjeto& pedido) {
    using tessora::importacao::ValorDoPedido;
    try {
        const auto produtos = ValorDoPedido(pedido, "valor_produtos", 2);
        const auto ipi = ValorDoPedido(pedido, "valor_ipi", 2);
        const auto st = ValorDoPedido(pedido, "valor_icms_st", 2);
        const auto total = tessora::importacao::TotalDoPedido(produtos, ipi, st);
        static_cast<void>(tessora::db::DecimalSql2(total));
        static_cast<void>(tessora::db::DecimalSql4(ValorDoPedido(pedido, "valor_unitario", 4)));
    } catch (const tessora::ErroConversao&) {
        // an amount the ERP cannot hold refuses the order
    }
    static_cast<void>(
        tessora::db::DataSql(tessora::TextoParaData(tessora::JsonTextoPorNome(pedido, "data"))));
    static_cast<void>(tessora::InteiroAposBrancos(tessora::JsonTextoPorNome(pedido, "numero_seq")));
    for (const char* membro : {"observacao", "nome", "cidade", "id"}) {
        const std::string sql = tessora::db::TextoSql(tessora::JsonTextoPorNome(pedido, membro));
        ExigirUmLiteral(tessora::Utf8ParaWin1252(sql));
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const std::string_view texto(reinterpret_cast<const char*>(dados), tamanho);
    ExigirUmLiteral(tessora::Utf8ParaWin1252(tessora::db::TextoSql(texto)));
    try {
        static_cast<void>(tessora::TextoParaValor(texto));
    } catch (const tessora::ErroConversao&) {
    }
    try {
        if (const auto pedido = tessora::LerRespostaJson(texto)) Valores(*pedido);
    } catch (const tessora::ErroTipoInvalido&) {
    }
    return 0;
}
