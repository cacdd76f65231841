#include "db/consulta.h"

#include <algorithm>

#include "comum/codigo_pagina.h"
#include "comum/erros.h"
#include "comum/texto.h"
#include "db/firebird_interno.h"
#include "db/resultado_texto.h"

namespace tessora::db {

namespace {
using interno::Chamar;

// NUL would cut the statement short in the engine; the ERP reads Windows-1252.
std::string ComandoParaBanco(std::string_view comando) {
    std::string semNul;
    semNul.reserve(comando.size());
    for (const char c : comando) {
        if (c != '\0') semNul += c;
    }
    return Utf8ParaWin1252(semNul);
}

// A statement of the connection, freed (its cursor closed with it) when it goes.
class ComandoPreparado {
  public:
    explicit ComandoPreparado(AlcaFirebird* anexo) {
        Chamar(interno::Cliente().isc_dsql_allocate_statement, anexo, &alca_);
    }
    ~ComandoPreparado() {
        interno::ChamarIgnorandoFalha(interno::Cliente().isc_dsql_free_statement, &alca_,
                                      static_cast<unsigned short>(DSQL_drop));
    }
    ComandoPreparado(const ComandoPreparado&) = delete;
    ComandoPreparado& operator=(const ComandoPreparado&) = delete;

    AlcaFirebird* Alca() { return &alca_; }

  private:
    AlcaFirebird alca_{};
};

// Whether the statement delivers its rows through a cursor (SELECT) rather than as the one
// row of its execution (a procedure's output).
bool TemCursor(AlcaFirebird* comando) {
    const char pedido[] = {isc_info_sql_stmt_type};
    char resposta[16] = {};
    Chamar(interno::Cliente().isc_dsql_sql_info, comando, static_cast<short>(sizeof pedido), pedido,
           static_cast<short>(sizeof resposta), resposta);
    // The item, the value's length in two bytes and the value, each low byte first.
    const auto byte = [&](unsigned i) {
        return static_cast<unsigned>(static_cast<unsigned char>(resposta[i]));
    };
    if (byte(0) != isc_info_sql_stmt_type) return false;
    const unsigned tamanho = std::min(byte(1) | byte(2) << 8, 4u);
    unsigned tipo = 0;
    for (unsigned i = 0; i < tamanho; ++i) tipo |= byte(3 + i) << (8 * i);
    return tipo == isc_info_sql_stmt_select || tipo == isc_info_sql_stmt_select_for_upd;
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
    const auto& cliente = interno::Cliente();
    AlcaFirebird* anexo = conexao_.Anexo();
    AlcaFirebird* transacao = conexao_.Transacao();
    constexpr auto kVersaoDescritor = static_cast<unsigned short>(SQLDA_VERSION1);

    ComandoPreparado preparado(anexo);
    interno::ResultadoTexto resultado;
    // Length 0: the text ends at its NUL, which it has nowhere else.
    Chamar(cliente.isc_dsql_prepare, transacao, preparado.Alca(), static_cast<unsigned short>(0),
           texto.c_str(), static_cast<unsigned short>(SQL_DIALECT_V6), resultado.Descritor());
    if (linhas == Linhas::Ignorar || resultado.Quantidade() == 0) {
        Chamar(cliente.isc_dsql_execute, transacao, preparado.Alca(), kVersaoDescritor,
               static_cast<const XSQLDA*>(nullptr));
        return;
    }
    resultado.Preparar(preparado.Alca());
    for (size_t i = 0; i < resultado.Quantidade(); ++i) colunas_.push_back(resultado.Nome(i));

    if (!TemCursor(preparado.Alca())) {
        Chamar(cliente.isc_dsql_execute2, transacao, preparado.Alca(), kVersaoDescritor,
               static_cast<const XSQLDA*>(nullptr), resultado.Descritor());
        linhas_.push_back(resultado.LerLinha(conexao_));
        return;
    }
    Chamar(cliente.isc_dsql_execute, transacao, preparado.Alca(), kVersaoDescritor,
           static_cast<const XSQLDA*>(nullptr));
    constexpr ISC_STATUS kFimDasLinhas = 100;
    while (Chamar(cliente.isc_dsql_fetch, preparado.Alca(), kVersaoDescritor,
                  static_cast<const XSQLDA*>(resultado.Descritor())) != kFimDasLinhas) {
        linhas_.push_back(resultado.LerLinha(conexao_));
    }
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
