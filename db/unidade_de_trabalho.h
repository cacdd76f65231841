#pragma once

#include <string>

#include "db/conexao_erp.h"

namespace tessora::db {

// Writes that belong together (an order with its customer, items and notes) as one
// transaction: made permanent by Confirmar, undone when the object goes without it.
class UnidadeDeTrabalho {
  public:
    // Starts from a fresh transaction: the reads before it end with theirs (a commit that
    // writes nothing), so that nothing before is tied to this work's outcome. Writes that no
    // commit made permanent yet are refused (ErroBancoDados) rather than committed unseen.
    explicit UnidadeDeTrabalho(ConexaoErp& conexao);
    ~UnidadeDeTrabalho();
    UnidadeDeTrabalho(const UnidadeDeTrabalho&) = delete;
    UnidadeDeTrabalho& operator=(const UnidadeDeTrabalho&) = delete;

    // A full commit: the work is permanent and the engine may collect old versions.
    void Confirmar();

  private:
    ConexaoErp& conexao_;
    bool confirmada_ = false;
};

// A point inside the current transaction to which part of the work is undone: when the
// object goes without Manter (an error on its way included), or at Desfazer. The rest of the
// transaction stays either way.
class PontoDeSalvamento {
  public:
    PontoDeSalvamento(ConexaoErp& conexao, std::string nome);
    ~PontoDeSalvamento();
    PontoDeSalvamento(const PontoDeSalvamento&) = delete;
    PontoDeSalvamento& operator=(const PontoDeSalvamento&) = delete;

    // Keeps the writes made since the point.
    void Manter() noexcept { concluido_ = true; }
    // Undoes every write since the point now.
    void Desfazer();

  private:
    ConexaoErp& conexao_;
    std::string nome_;
    bool concluido_ = false;
};

}  // namespace tessora::db
