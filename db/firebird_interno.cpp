#include "db/firebird_interno.h"

#include "comum/codigo_pagina.h"
#include "comum/erros.h"
#include "plataforma/sistema.h"

namespace tessora::db::interno {

// The client library is loaded when the first connection needs it, so that a missing one
// fails that connection instead of the program's start; a failed load is tried again next time.
const FuncoesCliente& Cliente() {
    static const FuncoesCliente funcoes =
        CarregarClienteFirebird(plataforma::PastaPrograma(), NomesBibliotecaCliente());
    return funcoes;
}

std::string TextoStatus(const FuncoesCliente& funcoes, const ISC_STATUS* status) {
    // isc_interprete knows no bound: room beyond the longest message any client writes.
    char mensagem[4096];
    std::string texto;
    for (const ISC_STATUS* posicao = status;;) {
        const ISC_LONG tamanho = funcoes.fb_interpret
                                     ? funcoes.fb_interpret(mensagem, sizeof mensagem, &posicao)
                                     : funcoes.isc_interprete(mensagem, &posicao);
        if (tamanho <= 0) break;
        if (!texto.empty()) texto += "\n-";
        texto += mensagem;
    }
    // The engine's messages may quote object names in the database's code page.
    return Win1252ParaUtf8(texto);
}

void LancarErroBancoDados(const ISC_STATUS* status) {
    throw ErroBancoDados(TextoStatus(Cliente(), status));
}

BlocoParametros DpbCredenciais() {
    BlocoParametros dpb(isc_dpb_version1);
    dpb.Texto(isc_dpb_user_name, "sysdba");
    dpb.Texto(isc_dpb_password, "kv82rtqzn");
    return dpb;
}

AlcaFirebird Anexar(const std::string& nomeBanco, const BlocoParametros& dpb) {
    AlcaFirebird anexo{};
    // Length 0: the name ends at its NUL, whatever its length.
    Chamar(Cliente().isc_attach_database, short{0}, nomeBanco.c_str(), &anexo, dpb.Tamanho(),
           dpb.Dados());
    return anexo;
}

}  // namespace tessora::db::interno
