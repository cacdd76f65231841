#pragma once

// Firebird's object-oriented interface, shared by the database layer's own files only.

#include <firebird/Interface.h>
#include <ibase.h>

#include <string>

namespace tessora::db::interno {

Firebird::IMaster* Mestre();

// The status text as Firebird formats it, one message per line.
std::string TextoStatus(const Firebird::IStatus* status);

[[noreturn]] void LancarErroBancoDados(const Firebird::IStatus* status);

// Runs a call that reports through ThrowStatusWrapper and turns FbException into
// ErroBancoDados with the formatted status text.
template <typename Funcao>
auto Chamar(Funcao&& funcao) {
    Firebird::ThrowStatusWrapper status(Mestre()->getStatus());
    struct Descarte {
        Firebird::ThrowStatusWrapper& s;
        ~Descarte() { s.dispose(); }
    } descarte{status};
    try {
        return funcao(&status);
    } catch (const Firebird::FbException& e) {
        LancarErroBancoDados(e.getStatus());
    }
}

}  // namespace tessora::db::interno
