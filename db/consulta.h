#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "comum/resultado.h"
#include "db/conexao_erp.h"

namespace tessora::db {

// What a statement without result does with its transaction: nothing (its writes stay
// pending in it), or a commit that keeps the transaction open.
enum class Confirmacao { Nenhuma, Retendo };

// A statement object bound to the ERP connection. After AbrirConsulta it holds every row
// of the result (for a procedure, its output row) and stands on the first one.
class Consulta {
  public:
    explicit Consulta(ConexaoErp& conexao) : conexao_(conexao) {}

    // Nothing when there is no current row or the column is NULL; texts come back as
    // UTF-8, numbers and dates in the engine's own text form (CHAR keeps its padding).
    // An unknown column raises ErroBancoDados.
    std::optional<std::string> Valor(std::string_view coluna) const;
    bool TemLinha() const { return !linhas_.empty(); }
    size_t QuantidadeLinhas() const { return linhas_.size(); }

  private:
    friend void AbrirConsulta(Consulta& consulta, std::string_view comando);
    friend void ExecutarComando(Consulta& consulta, std::string_view comando,
                                Confirmacao confirmacao);

    enum class Linhas { Guardar, Ignorar };
    void Executar(std::string_view comando, Linhas linhas);

    ConexaoErp& conexao_;
    std::vector<std::string> colunas_;
    std::vector<std::vector<std::optional<std::string>>> linhas_;
};

// Runs a SELECT (or a procedure with output) and fetches all its rows.
void AbrirConsulta(Consulta& consulta, std::string_view comando);
// Runs a statement without result, then confirms as asked.
void ExecutarComando(Consulta& consulta, std::string_view comando, Confirmacao confirmacao);

// Runs a write in the current transaction, without commit, for callers that go on when the
// database refuses it (the refused statement undoes itself): refused with the database's
// message then.
Resultado<> ExecutarSeAceito(ConexaoErp& conexao, std::string_view comando);

}  // namespace tessora::db
