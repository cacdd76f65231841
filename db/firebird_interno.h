#pragma once

// Firebird's classic C interface, shared by the database layer's own files only.

#include <ibase.h>

#include <string>
#include <type_traits>

#include "db/alca_firebird.h"
#include "db/biblioteca_cliente.h"
#include "db/bloco_parametros.h"

namespace tessora::db::interno {

static_assert(std::is_same_v<AlcaFirebird, FB_API_HANDLE>);

// The client library's functions, loaded when the first connection needs them.
const FuncoesCliente& Cliente();

// The status text as Firebird formats it: one message per line, each after the first led
// by "-". Through fb_interpret when the library has it, otherwise through isc_interprete.
std::string TextoStatus(const FuncoesCliente& funcoes, const ISC_STATUS* status);

inline bool Falhou(const ISC_STATUS* status) { return status[0] == 1 && status[1] != 0; }

[[noreturn]] void LancarErroBancoDados(const ISC_STATUS* status);

// Calls a function of the client library with a status vector of its own and raises
// ErroBancoDados with the formatted status text when the call fails; otherwise gives the
// function's result (isc_dsql_fetch: 100 at the end of the rows).
template <typename Funcao, typename... Argumentos>
ISC_STATUS Chamar(Funcao funcao, Argumentos... argumentos) {
    ISC_STATUS_ARRAY status = {};
    const ISC_STATUS resultado = funcao(status, argumentos...);
    if (Falhou(status)) LancarErroBancoDados(status);
    return resultado;
}

// For the paths that are already failing or leaving: a failure here would hide the reason.
template <typename Funcao, typename... Argumentos>
void ChamarIgnorandoFalha(Funcao funcao, Argumentos... argumentos) {
    ISC_STATUS_ARRAY status = {};
    funcao(status, argumentos...);
}

// A DPB holding the ERP's user name and password, in that order.
BlocoParametros DpbCredenciais();

// An attachment to `nomeBanco` made with `dpb`; raises ErroBancoDados when refused.
AlcaFirebird Anexar(const std::string& nomeBanco, const BlocoParametros& dpb);

}  // namespace tessora::db::interno
