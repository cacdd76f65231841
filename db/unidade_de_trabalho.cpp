#include "db/unidade_de_trabalho.h"

#include "comum/erros.h"
#include "db/consulta.h"

namespace tessora::db {

UnidadeDeTrabalho::UnidadeDeTrabalho(ConexaoErp& conexao) : conexao_(conexao) {
    if (conexao_.EscritaPendente()) {
        throw ErroBancoDados(
            "Há alterações pendentes na conexão: a unidade de trabalho não as confirmaria sem que "
            "se saiba.");
    }
    conexao_.Confirmar();
}

UnidadeDeTrabalho::~UnidadeDeTrabalho() {
    if (confirmada_) return;
    try {
        conexao_.Desfazer();
    } catch (...) {
        // A connection that cannot roll back has lost the transaction anyway.
    }
}

void UnidadeDeTrabalho::Confirmar() {
    conexao_.Confirmar();
    confirmada_ = true;
}

PontoDeSalvamento::PontoDeSalvamento(ConexaoErp& conexao, std::string nome)
    : conexao_(conexao), nome_(std::move(nome)) {
    Consulta consulta(conexao_);
    ExecutarComando(consulta, "SAVEPOINT " + nome_, Confirmacao::Nenhuma);
}

PontoDeSalvamento::~PontoDeSalvamento() {
    if (concluido_) return;
    try {
        Desfazer();
    } catch (...) {
        // An error already on its way says more than a failed undo, and a connection that
        // cannot undo has lost the transaction anyway.
    }
}

void PontoDeSalvamento::Desfazer() {
    Consulta consulta(conexao_);
    ExecutarComando(consulta, "ROLLBACK TO SAVEPOINT " + nome_, Confirmacao::Nenhuma);
    concluido_ = true;
}

}  // namespace tessora::db
