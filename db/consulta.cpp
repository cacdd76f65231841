#include "db/consulta.h"

#include <algorithm>
#include <cstring>

#include "comum/codigo_pagina.h"
#include "comum/erros.h"
#include "comum/texto.h"
#include "db/firebird_interno.h"

namespace tessora::db {

namespace {
using Firebird::ThrowStatusWrapper;

constexpr unsigned kCharsetNone = 0;
constexpr unsigned kTamanhoMinimoTexto = 64;  // room for any number or date as text

using interno::Ref;

// NUL would cut the statement short in the engine; the ERP reads Windows-1252.
std::string ComandoParaBanco(std::string_view comando) {
    std::string semNul;
    semNul.reserve(comando.size());
    for (const char c : comando) {
        if (c != '\0') semNul += c;
    }
    return Utf8ParaWin1252(semNul);
}

bool EhConsultaComCursor(unsigned tipo) {
    return tipo == isc_info_sql_stmt_select || tipo == isc_info_sql_stmt_select_for_upd;
}

// Asks the engine for every column except blobs as text in the connection's bytes, so
// that numbers, dates and texts all arrive in one form.
Ref<Firebird::IMessageMetadata> MetadadosComoTexto(Firebird::IMessageMetadata& original) {
    return Ref<Firebird::IMessageMetadata>(interno::Chamar([&](ThrowStatusWrapper* st) {
        Ref<Firebird::IMetadataBuilder> construtor(original.getBuilder(st));
        const unsigned quantidade = original.getCount(st);
        for (unsigned i = 0; i < quantidade; ++i) {
            if (original.getType(st, i) == SQL_BLOB) continue;
            construtor->setType(st, i, SQL_VARYING + 1);  // +1: nullable
            construtor->setCharSet(st, i, kCharsetNone);
            construtor->setLength(st, i, std::max(original.getLength(st, i), kTamanhoMinimoTexto));
        }
        return construtor->getMetadata(st);
    }));
}

std::string LerBlob(ConexaoErp& conexao, const ISC_QUAD& id) {
    return interno::Chamar([&](ThrowStatusWrapper* st) {
        ISC_QUAD idBlob = id;
        Ref<Firebird::IBlob> blob(
            conexao.Anexo().openBlob(st, &conexao.Transacao(), &idBlob, 0, nullptr));
        std::string conteudo;
        char pedaco[16384];
        unsigned lidos = 0;
        for (;;) {
            const int resultado = blob->getSegment(st, sizeof pedaco, pedaco, &lidos);
            if (resultado != Firebird::IStatus::RESULT_OK &&
                resultado != Firebird::IStatus::RESULT_SEGMENT) {
                break;
            }
            conteudo.append(pedaco, lidos);
        }
        interno::Encerrar(blob, [](auto& b, auto* s) { b.close(s); });
        return conteudo;
    });
}

std::vector<std::optional<std::string>> LerLinha(ConexaoErp& conexao,
                                                 Firebird::IMessageMetadata& meta,
                                                 const unsigned char* buffer) {
    return interno::Chamar([&](ThrowStatusWrapper* st) {
        const unsigned quantidade = meta.getCount(st);
        std::vector<std::optional<std::string>> linha;
        linha.reserve(quantidade);
        for (unsigned i = 0; i < quantidade; ++i) {
            int16_t nulo;
            std::memcpy(&nulo, buffer + meta.getNullOffset(st, i), sizeof nulo);
            if (nulo) {
                linha.emplace_back();
                continue;
            }
            const unsigned char* dado = buffer + meta.getOffset(st, i);
            if ((meta.getType(st, i) & ~1u) == SQL_BLOB) {
                ISC_QUAD id;
                std::memcpy(&id, dado, sizeof id);
                linha.emplace_back(Win1252ParaUtf8(LerBlob(conexao, id)));
            } else {
                uint16_t tamanho;
                std::memcpy(&tamanho, dado, sizeof tamanho);
                linha.emplace_back(Win1252ParaUtf8(std::string_view(
                    reinterpret_cast<const char*>(dado) + sizeof tamanho, tamanho)));
            }
        }
        return linha;
    });
}
}  // namespace

std::optional<std::string> Consulta::Valor(std::string_view coluna) const {
    const auto it = std::find_if(colunas_.begin(), colunas_.end(), [&](const std::string& nome) {
        return IguaisSemCaixaAscii(nome, coluna);
    });
    if (it == colunas_.end()) throw ErroBancoDados(std::string(coluna) + ": Field not found");
    if (linhas_.empty()) return std::nullopt;
    return linhas_.front()[static_cast<size_t>(it - colunas_.begin())];
}

void Consulta::Executar(std::string_view comando, Linhas linhas) {
    colunas_.clear();
    linhas_.clear();
    conexao_.Rastrear(comando);
    const std::string texto = ComandoParaBanco(comando);
    auto& anexo = conexao_.Anexo();
    auto& transacao = conexao_.Transacao();

    interno::Chamar([&](ThrowStatusWrapper* st) {
        const Ref<Firebird::IStatement> preparado(
            anexo.prepare(st, &transacao, static_cast<unsigned>(texto.size()), texto.c_str(),
                          SQL_DIALECT_V6, Firebird::IStatement::PREPARE_PREFETCH_METADATA));

        Ref<Firebird::IMessageMetadata> original(preparado->getOutputMetadata(st));
        const unsigned quantidade = original->getCount(st);
        if (linhas == Linhas::Ignorar || quantidade == 0) {
            preparado->execute(st, &transacao, nullptr, nullptr, nullptr, nullptr);
            return;
        }
        for (unsigned i = 0; i < quantidade; ++i) colunas_.emplace_back(original->getAlias(st, i));
        auto meta = MetadadosComoTexto(*original);
        std::vector<unsigned char> buffer(meta->getMessageLength(st));

        if (!EhConsultaComCursor(preparado->getType(st))) {
            preparado->execute(st, &transacao, nullptr, nullptr, meta.get(), buffer.data());
            linhas_.push_back(LerLinha(conexao_, *meta, buffer.data()));
            return;
        }
        Ref<Firebird::IResultSet> cursor(
            preparado->openCursor(st, &transacao, nullptr, nullptr, meta.get(), 0));
        while (cursor->fetchNext(st, buffer.data()) == Firebird::IStatus::RESULT_OK) {
            linhas_.push_back(LerLinha(conexao_, *meta, buffer.data()));
        }
        interno::Encerrar(cursor, [](auto& c, auto* s) { c.close(s); });
    });
}

void AbrirConsulta(Consulta& consulta, std::string_view comando) {
    consulta.Executar(comando, Consulta::Linhas::Guardar);
}

void ExecutarComando(Consulta& consulta, std::string_view comando, Confirmacao confirmacao) {
    consulta.Executar(comando, Consulta::Linhas::Ignorar);
    if (confirmacao == Confirmacao::Retendo) {
        consulta.conexao_.ConfirmarRetendo();
    } else {
        consulta.conexao_.MarcarEscrita();
    }
}

Resultado<> ExecutarSeAceito(ConexaoErp& conexao, std::string_view comando) {
    try {
        Consulta consulta(conexao);
        ExecutarComando(consulta, comando, Confirmacao::Nenhuma);
        return {};
    } catch (const ErroBancoDados& erro) {
        return Recusa{erro.what()};
    }
}

}  // namespace tessora::db
