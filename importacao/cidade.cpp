#include "importacao/cidade.h"

#include <string>

#include "comum/codigo_pagina.h"
#include "comum/erros.h"
#include "comum/texto.h"
#include "db/consulta.h"
#include "db/leitura_coluna.h"
#include "db/proximo_id.h"
#include "db/valores_sql.h"

namespace tessora::importacao {

namespace {

// The capital that the engine's upper() gives for a letter of the ERP's Windows-1252 texts:
// a-z and the accented small letters of the code page.
char32_t MaiusculaWin1252(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - (U'a' - U'A');
    if (c >= U'\u00E0' && c <= U'\u00FE' && c != U'\u00F7') return c - 0x20;
    switch (c) {
        case U'\u0161':
            return U'\u0160';  // s with caron
        case U'\u0153':
            return U'\u0152';  // oe
        case U'\u017E':
            return U'\u017D';  // z with caron
        case U'\u00FF':
            return U'\u0178';  // y with diaeresis
        default:
            return c;
    }
}

// Folded like the engine folds the stored names: folding only a-z would never match a name
// with a small accented letter, and every registration would insert that city again.
std::string MaiusculasComoNoBanco(std::string_view texto) {
    std::string resultado;
    resultado.reserve(texto.size());
    for (size_t pos = 0; pos < texto.size();) {
        const auto sequencia = LerSequenciaUtf8(texto, pos);
        if (!sequencia) {
            resultado += texto[pos++];
            continue;
        }
        AcrescentarUtf8(resultado, MaiusculaWin1252(sequencia->codigo));
        pos += sequencia->tamanho;
    }
    return resultado;
}

}  // namespace

int32_t ObterCidade(db::ConexaoErp& conexao, std::string_view nomeCidade, std::string_view estado) {
    const std::string_view cidade = AparaBrancos(nomeCidade);
    const std::string uf = MaiusculasComoNoBanco(AparaBrancos(estado));
    if (cidade.empty() || uf.empty()) return 0;

    {
        db::Consulta consulta(conexao);
        db::AbrirConsulta(consulta, " select id_cidade from tab_cidade where upper(nm_cidade) = " +
                                        db::TextoSql(MaiusculasComoNoBanco(cidade)) +
                                        " and upper(sg_estado) = " + db::TextoSql(uf));
        if (consulta.TemLinha()) return db::LerInteiro(consulta, "id_cidade");
    }
    {
        db::Consulta consulta(conexao);
        db::AbrirConsulta(
            consulta, " select sg_estado from tab_estado where sg_estado = " + db::TextoSql(uf));
        if (!consulta.TemLinha()) return 0;
    }

    const int32_t id = db::ProximoId("TAB_CIDADE", "ID_CIDADE", conexao);
    const std::string comando =
        " INSERT INTO TAB_CIDADE (ID_CIDADE, NM_CIDADE, SG_ESTADO) VALUES (" + db::InteiroSql(id) +
        "," + db::TextoSql(cidade) + "," + db::TextoSql(uf) + ")";
    // A refused city leaves the address without one.
    return db::ExecutarSeAceito(conexao, comando).Aceito() ? id : 0;
}

}  // namespace tessora::importacao
