#include "db/criacao_banco.h"

#include <string>

#include "db/firebird_interno.h"

namespace tessora::db {

void CriarBancoDados(std::string_view nomeBanco) {
    const std::string nome(nomeBanco);
    interno::Xpb dpb(Firebird::IXpbBuilder::DPB);
    interno::Chamar([&](Firebird::ThrowStatusWrapper* st) {
        interno::InserirCredenciais(st, dpb);
        dpb->insertInt(st, isc_dpb_page_size, 8192);
        dpb->insertInt(st, isc_dpb_sql_dialect, 3);
        dpb->insertString(st, isc_dpb_set_db_charset, "WIN1252");
        dpb->insertInt(st, isc_dpb_force_write, 0);
        Firebird::IAttachment* anexo = interno::Provedor()->createDatabase(
            st, nome.c_str(), dpb->getBufferLength(st), dpb->getBuffer(st));
        anexo->detach(st);
    });
}

}  // namespace tessora::db
