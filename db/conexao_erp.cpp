#include "db/conexao_erp.h"

#include "comum/erros.h"
#include "comum/texto.h"
#include "db/firebird_interno.h"

namespace tessora::db {

ConexaoErp::ConexaoErp(std::string_view nomeBanco, Acesso acesso)
    : nomeBanco_(AparaBrancos(nomeBanco)), acesso_(acesso) {}

ConexaoErp::~ConexaoErp() { Liberar(); }

void ConexaoErp::Abrir() {
    if (anexo_) return;
    using Firebird::ThrowStatusWrapper;
    interno::Xpb dpb(Firebird::IXpbBuilder::DPB);
    anexo_ = interno::Chamar([&](ThrowStatusWrapper* st) {
        interno::InserirCredenciais(st, dpb);
        return interno::Provedor()->attachDatabase(st, nomeBanco_.c_str(), dpb->getBufferLength(st),
                                                   dpb->getBuffer(st));
    });
}

Firebird::IAttachment& ConexaoErp::Anexo() {
    if (!anexo_) throw ErroBancoDados("Database not connected");
    return *anexo_;
}

Firebird::ITransaction& ConexaoErp::Transacao() {
    if (transacao_) return *transacao_;
    auto& anexo = Anexo();
    interno::Xpb tpb(Firebird::IXpbBuilder::TPB);
    transacao_ = interno::Chamar([&](Firebird::ThrowStatusWrapper* st) {
        tpb->insertTag(st, isc_tpb_read_committed);
        tpb->insertTag(st, isc_tpb_rec_version);
        tpb->insertTag(st, isc_tpb_nowait);
        if (acesso_ == Acesso::SomenteLeitura) tpb->insertTag(st, isc_tpb_read);
        return anexo.startTransaction(st, tpb->getBufferLength(st), tpb->getBuffer(st));
    });
    return *transacao_;
}

void ConexaoErp::ConfirmarRetendo() {
    if (!transacao_) return;
    interno::Chamar([&](Firebird::ThrowStatusWrapper* st) { transacao_->commitRetaining(st); });
    escritaPendente_ = false;
}

void ConexaoErp::Confirmar() {
    if (!transacao_) return;
    interno::Chamar([&](Firebird::ThrowStatusWrapper* st) { transacao_->commit(st); });
    transacao_ = nullptr;  // a successful commit releases the interface
    escritaPendente_ = false;
}

void ConexaoErp::Desfazer() {
    if (!transacao_) return;
    interno::Chamar([&](Firebird::ThrowStatusWrapper* st) { transacao_->rollback(st); });
    transacao_ = nullptr;
    escritaPendente_ = false;
}

void ConexaoErp::Fechar() {
    if (!anexo_) return;
    Confirmar();
    interno::Chamar([&](Firebird::ThrowStatusWrapper* st) { anexo_->detach(st); });
    anexo_ = nullptr;
}

void ConexaoErp::Rastrear(std::string_view comando) const {
    if (rastro_) rastro_(comando);
}

void ConexaoErp::Liberar() noexcept {
    // Reached with the connection still open only when the work was abandoned: nothing
    // of it is committed behind the caller's back. Without an attachment there is nothing
    // to release, and the client library may not even be loaded.
    if (!transacao_ && !anexo_) return;
    Firebird::IStatus* status = interno::Mestre()->getStatus();
    Firebird::CheckStatusWrapper st(status);
    if (transacao_) {
        transacao_->rollback(&st);
        if (st.getState() & Firebird::IStatus::STATE_ERRORS) transacao_->release();
        transacao_ = nullptr;
        escritaPendente_ = false;
    }
    if (anexo_) {
        st.init();
        anexo_->detach(&st);
        if (st.getState() & Firebird::IStatus::STATE_ERRORS) anexo_->release();
        anexo_ = nullptr;
    }
    status->dispose();
}

}  // namespace tessora::db
