#include "db/resultado_texto.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "comum/codigo_pagina.h"

namespace tessora::db::interno {

namespace {
constexpr short kColunasIniciais = 32;
constexpr short kCharsetNone = 0;
constexpr short kTamanhoMinimoTexto = 64;  // room for any number or date as text

XSQLDA* NovoDescritor(short colunas) {
    const size_t tamanho = XSQLDA_LENGTH(colunas);
    auto* descritor = static_cast<XSQLDA*>(::operator new(tamanho));
    std::memset(descritor, 0, tamanho);
    descritor->version = SQLDA_VERSION1;
    descritor->sqln = colunas;
    return descritor;
}

bool EhBlob(const XSQLVAR& coluna) { return (coluna.sqltype & ~1) == SQL_BLOB; }

std::string LerBlob(ConexaoErp& conexao, ISC_QUAD id) {
    const auto& cliente = Cliente();
    AlcaFirebird blob{};
    Chamar(cliente.isc_open_blob2, conexao.Anexo(), conexao.Transacao(), &blob, &id, ISC_USHORT{0},
           static_cast<const ISC_UCHAR*>(nullptr));
    std::string conteudo;
    char pedaco[16384];
    for (;;) {
        unsigned short lidos = 0;
        ISC_STATUS_ARRAY status = {};
        cliente.isc_get_segment(status, &blob, &lidos, sizeof pedaco, pedaco);
        if (status[1] == isc_segstr_eof) break;
        // isc_segment: a segment longer than the buffer, whose rest comes next.
        if (Falhou(status) && status[1] != isc_segment) {
            ChamarIgnorandoFalha(cliente.isc_close_blob, &blob);
            LancarErroBancoDados(status);
        }
        conteudo.append(pedaco, lidos);
    }
    Chamar(cliente.isc_close_blob, &blob);
    return conteudo;
}
}  // namespace

void ResultadoTexto::Liberar::operator()(XSQLDA* descritor) const noexcept {
    ::operator delete(descritor);
}

ResultadoTexto::ResultadoTexto() : descritor_(NovoDescritor(kColunasIniciais)) {}

void ResultadoTexto::Preparar(AlcaFirebird* comando) {
    if (descritor_->sqld > descritor_->sqln) {
        descritor_.reset(NovoDescritor(descritor_->sqld));
        Chamar(Cliente().isc_dsql_describe, comando, static_cast<unsigned short>(SQLDA_VERSION1),
               descritor_.get());
    }
    colunas_.assign(Quantidade(), Coluna{});
    for (size_t i = 0; i < colunas_.size(); ++i) {
        XSQLVAR& coluna = descritor_->sqlvar[i];
        if (EhBlob(coluna)) {
            colunas_[i].dados.resize(sizeof(ISC_QUAD));
        } else {
            coluna.sqltype = SQL_VARYING;
            coluna.sqlsubtype = kCharsetNone;
            coluna.sqlscale = 0;
            coluna.sqllen = std::max(coluna.sqllen, kTamanhoMinimoTexto);
            colunas_[i].dados.resize(sizeof(uint16_t) + static_cast<size_t>(coluna.sqllen));
        }
        coluna.sqltype |= 1;  // nullable: the indicator is always filled
        coluna.sqldata = colunas_[i].dados.data();
        coluna.sqlind = &colunas_[i].nulo;
    }
}

std::string ResultadoTexto::Nome(size_t coluna) const {
    const XSQLVAR& descrita = descritor_->sqlvar[coluna];
    return std::string(descrita.aliasname, static_cast<size_t>(descrita.aliasname_length));
}

std::vector<std::optional<std::string>> ResultadoTexto::LerLinha(ConexaoErp& conexao) const {
    std::vector<std::optional<std::string>> linha;
    linha.reserve(colunas_.size());
    for (size_t i = 0; i < colunas_.size(); ++i) {
        const Coluna& coluna = colunas_[i];
        if (coluna.nulo) {
            linha.emplace_back();
        } else if (EhBlob(descritor_->sqlvar[i])) {
            ISC_QUAD id;
            std::memcpy(&id, coluna.dados.data(), sizeof id);
            linha.emplace_back(Win1252ParaUtf8(LerBlob(conexao, id)));
        } else {
            uint16_t tamanho;
            std::memcpy(&tamanho, coluna.dados.data(), sizeof tamanho);
            linha.emplace_back(
                Win1252ParaUtf8(std::string_view(coluna.dados.data() + sizeof tamanho, tamanho)));
        }
    }
    return linha;
}

}  // namespace tessora::db::interno
