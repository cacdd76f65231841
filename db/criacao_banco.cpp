#include "db/criacao_banco.h"

#include <string>

#include "db/firebird_interno.h"

namespace tessora::db {

void CriarBancoDados(std::string_view nomeBanco) {
    const std::string nome(nomeBanco);
    interno::BlocoParametros dpb = interno::DpbCredenciais();
    dpb.Inteiro(isc_dpb_page_size, 8192);
    dpb.Inteiro(isc_dpb_sql_dialect, 3);
    dpb.Texto(isc_dpb_set_db_charset, "WIN1252");
    dpb.Inteiro(isc_dpb_force_write, 0);
    const auto& cliente = interno::Cliente();
    AlcaFirebird anexo{};
    interno::Chamar(cliente.isc_create_database, short{0}, nome.c_str(), &anexo, dpb.Tamanho(),
                    dpb.Dados(), short{0});
    interno::Chamar(cliente.isc_detach_database, &anexo);
}

}  // namespace tessora::db
