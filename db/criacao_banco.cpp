#include "db/criacao_banco.h"

#include <string>

#include "db/firebird_interno.h"

namespace tessora::db {

void CriarBancoDados(std::string_view nomeBanco) {
    using Firebird::ThrowStatusWrapper;
    const std::string nome(nomeBanco);
    const auto dpb = interno::NovoXpb(Firebird::IXpbBuilder::DPB);
    interno::Chamar([&](ThrowStatusWrapper* st) {
        interno::InserirCredenciais(st, *dpb);
        dpb->insertInt(st, isc_dpb_page_size, 8192);
        dpb->insertInt(st, isc_dpb_sql_dialect, 3);
        dpb->insertString(st, isc_dpb_set_db_charset, "WIN1252");
        dpb->insertInt(st, isc_dpb_force_write, 0);
        interno::Ref<Firebird::IAttachment> anexo(interno::Provedor()->createDatabase(
            st, nome.c_str(), dpb->getBufferLength(st), dpb->getBuffer(st)));
        interno::Encerrar(anexo, [](auto& a, auto* s) { a.detach(s); });
    });
}

}  // namespace tessora::db
