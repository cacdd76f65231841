#include "db/conexao_erp.h"

#include "comum/erros.h"
#include "comum/texto.h"
#include "db/firebird_interno.h"
#include "plataforma/processos.h"

namespace tessora::db {

ConexaoErp::ConexaoErp(std::string_view nomeBanco, Acesso acesso)
    : nomeBanco_(AparaBrancos(nomeBanco)), acesso_(acesso) {}

ConexaoErp::~ConexaoErp() {
    // Reached with the connection still open only when the work was abandoned: nothing of
    // it is committed behind the caller's back. Without an attachment there is nothing to
    // end, and the client library may not even be loaded.
    if (!Aberta()) return;
    try {
        Desfazer();
    } catch (...) {
    }
    try {
        Desanexar();
    } catch (...) {
    }
}

void ConexaoErp::Abrir() {
    if (Aberta()) return;
    interno::BlocoParametros dpb = interno::DpbCredenciais();
    if (!processo_.empty()) {
        // Servers before Firebird 2.1 skip these items, as every item they do not know.
        dpb.Texto(isc_dpb_process_name, processo_);
        dpb.Inteiro(isc_dpb_process_id, static_cast<int32_t>(plataforma::IdProcessoAtual()));
    }
    anexo_ = interno::Anexar(nomeBanco_, dpb);
}

AlcaFirebird* ConexaoErp::Anexo() {
    if (!Aberta()) throw ErroBancoDados("Database not connected");
    return &anexo_;
}

AlcaFirebird* ConexaoErp::Transacao() {
    if (transacao_) return &transacao_;
    AlcaFirebird* anexo = Anexo();
    interno::BlocoParametros tpb(isc_tpb_version3);
    tpb.Marca(isc_tpb_read_committed);
    tpb.Marca(isc_tpb_rec_version);
    tpb.Marca(isc_tpb_nowait);
    if (acesso_ == Acesso::SomenteLeitura) tpb.Marca(isc_tpb_read);
    // One database: its handle, the block's length (an int through the variable arguments)
    // and the block.
    interno::Chamar(interno::Cliente().isc_start_transaction, &transacao_, short{1}, anexo,
                    static_cast<int>(tpb.Tamanho()), tpb.Dados());
    return &transacao_;
}

void ConexaoErp::ConfirmarRetendo() {
    if (!transacao_) return;
    interno::Chamar(interno::Cliente().isc_commit_retaining, &transacao_);
    escritaPendente_ = false;
}

// Commit, rollback and detach clear the handle when they succeed; a failed one leaves it,
// so that the transaction or attachment can still be ended afterwards.
void ConexaoErp::Confirmar() {
    if (!transacao_) return;
    interno::Chamar(interno::Cliente().isc_commit_transaction, &transacao_);
    escritaPendente_ = false;
}

void ConexaoErp::Desfazer() {
    if (!transacao_) return;
    interno::Chamar(interno::Cliente().isc_rollback_transaction, &transacao_);
    escritaPendente_ = false;
}

void ConexaoErp::Fechar() {
    if (!Aberta()) return;
    Confirmar();
    Desanexar();
}

void ConexaoErp::Desanexar() { interno::Chamar(interno::Cliente().isc_detach_database, &anexo_); }

void ConexaoErp::Rastrear(std::string_view comando) const {
    if (rastro_) rastro_(comando);
}

}  // namespace tessora::db
