#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/conexao_erp.h"
#include "db/firebird_interno.h"

namespace tessora::db::interno {

// The columns of a statement's result, each asked of the engine as text in the connection's
// bytes (numbers and dates in the engine's own text form), so that every type arrives in one
// form; blobs come as they are and are read whole.
class ResultadoTexto {
  public:
    ResultadoTexto();

    // For isc_dsql_prepare, which describes the result into it.
    XSQLDA* Descritor() { return descritor_.get(); }
    // Once the statement is prepared: describes it again when it has more columns than the
    // room given, and sets every column up to arrive as text.
    void Preparar(AlcaFirebird* comando);

    size_t Quantidade() const { return static_cast<size_t>(descritor_->sqld); }
    std::string Nome(size_t coluna) const;
    // The row the last fetch or execution left in the columns, as UTF-8; NULL as nothing.
    std::vector<std::optional<std::string>> LerLinha(ConexaoErp& conexao) const;

  private:
    struct Liberar {
        void operator()(XSQLDA* descritor) const noexcept;
    };
    // Where the engine puts one column of a row.
    struct Coluna {
        short nulo = 0;
        std::vector<char> dados;  // from the allocator, aligned for any of the types
    };

    std::unique_ptr<XSQLDA, Liberar> descritor_;
    std::vector<Coluna> colunas_;
};

}  // namespace tessora::db::interno
