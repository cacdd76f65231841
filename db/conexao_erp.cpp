#include "db/conexao_erp.h"

#include "comum/erros.h"
#include "comum/texto.h"
#include "db/firebird_interno.h"
#include "plataforma/processos.h"

namespace tessora::db {

using Firebird::ThrowStatusWrapper;

ConexaoErp::ConexaoErp(std::string_view nomeBanco, Acesso acesso)
    : nomeBanco_(AparaBrancos(nomeBanco)), acesso_(acesso) {}

ConexaoErp::~ConexaoErp() {
    // Reached with the connection still open only when the work was abandoned: nothing of
    // it is committed behind the caller's back. Without an attachment there is nothing to
    // end, and the client library may not even be loaded. A failed rollback or detach
    // leaves the interfaces to their holders, which release them.
    if (!anexo_) return;
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
    if (anexo_) return;
    const auto dpb = interno::NovoXpb(Firebird::IXpbBuilder::DPB);
    anexo_.reset(interno::Chamar([&](ThrowStatusWrapper* st) {
        interno::InserirCredenciais(st, *dpb);
        if (!processo_.empty()) {
            dpb->insertString(st, isc_dpb_process_name, processo_.c_str());
            dpb->insertInt(st, isc_dpb_process_id, static_cast<int>(plataforma::IdProcessoAtual()));
        }
        return interno::Provedor()->attachDatabase(st, nomeBanco_.c_str(), dpb->getBufferLength(st),
                                                   dpb->getBuffer(st));
    }));
}

Firebird::IAttachment& ConexaoErp::Anexo() {
    if (!anexo_) throw ErroBancoDados("Database not connected");
    return *anexo_;
}

Firebird::ITransaction& ConexaoErp::Transacao() {
    if (transacao_) return *transacao_;
    auto& anexo = Anexo();
    const auto tpb = interno::NovoXpb(Firebird::IXpbBuilder::TPB);
    transacao_.reset(interno::Chamar([&](ThrowStatusWrapper* st) {
        tpb->insertTag(st, isc_tpb_read_committed);
        tpb->insertTag(st, isc_tpb_rec_version);
        tpb->insertTag(st, isc_tpb_nowait);
        if (acesso_ == Acesso::SomenteLeitura) tpb->insertTag(st, isc_tpb_read);
        return anexo.startTransaction(st, tpb->getBufferLength(st), tpb->getBuffer(st));
    }));
    return *transacao_;
}

void ConexaoErp::ConfirmarRetendo() {
    if (!transacao_) return;
    interno::Chamar([&](ThrowStatusWrapper* st) { transacao_->commitRetaining(st); });
    escritaPendente_ = false;
}

void ConexaoErp::Confirmar() {
    if (!transacao_) return;
    interno::Encerrar(transacao_, [](auto& transacao, auto* s) { transacao.commit(s); });
    escritaPendente_ = false;
}

void ConexaoErp::Desfazer() {
    if (!transacao_) return;
    interno::Encerrar(transacao_, [](auto& transacao, auto* s) { transacao.rollback(s); });
    escritaPendente_ = false;
}

void ConexaoErp::Fechar() {
    if (!anexo_) return;
    Confirmar();
    Desanexar();
}

void ConexaoErp::Desanexar() {
    interno::Encerrar(anexo_, [](auto& anexo, auto* s) { anexo.detach(s); });
}

void ConexaoErp::Rastrear(std::string_view comando) const {
    if (rastro_) rastro_(comando);
}

}  // namespace tessora::db
