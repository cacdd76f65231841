#include "db/firebird_interno.h"

#include "comum/codigo_pagina.h"
#include "comum/erros.h"
#include "db/biblioteca_cliente.h"
#include "plataforma/sistema.h"

namespace tessora::db::interno {

// The client library is loaded when the first connection needs it, so that a missing one
// fails that connection instead of the program's start; a failed load is tried again next time.
Firebird::IMaster* Mestre() {
    static Firebird::IMaster* const mestre =
        CarregarClienteFirebird(plataforma::PastaPrograma(), NomesBibliotecaCliente());
    return mestre;
}

std::string TextoStatus(const Firebird::IStatus* status) {
    char texto[2048];
    Mestre()->getUtilInterface()->formatStatus(texto, sizeof texto,
                                               const_cast<Firebird::IStatus*>(status));
    // The engine's messages may quote object names in the database's code page.
    return Win1252ParaUtf8(texto);
}

Ref<Firebird::IXpbBuilder> NovoXpb(unsigned tipo) {
    return Ref<Firebird::IXpbBuilder>(Chamar([&](Firebird::ThrowStatusWrapper* st) {
        return Mestre()->getUtilInterface()->getXpbBuilder(st, tipo, nullptr, 0);
    }));
}

void InserirCredenciais(Firebird::ThrowStatusWrapper* st, Firebird::IXpbBuilder& dpb) {
    dpb.insertString(st, isc_dpb_user_name, "sysdba");
    dpb.insertString(st, isc_dpb_password, "kv82rtqzn");
}

Ref<Firebird::IProvider> Provedor() { return Ref<Firebird::IProvider>(Mestre()->getDispatcher()); }

void LancarErroBancoDados(const Firebird::IStatus* status) {
    throw ErroBancoDados(TextoStatus(status));
}

}  // namespace tessora::db::interno
