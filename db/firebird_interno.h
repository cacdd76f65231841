#pragma once

// Firebird's object-oriented interface, shared by the database layer's own files only.

#include <firebird/Interface.h>
#include <ibase.h>

#include <string>
#include <type_traits>

#include "db/referencia_firebird.h"

namespace tessora::db::interno {

template <typename T>
void Soltar<T>::operator()(T* objeto) const noexcept {
    if constexpr (std::is_base_of_v<Firebird::IReferenceCounted, T>) {
        objeto->release();
    } else {
        objeto->dispose();
    }
}

Firebird::IMaster* Mestre();

// The status text as Firebird formats it, one message per line.
std::string TextoStatus(const Firebird::IStatus* status);

[[noreturn]] void LancarErroBancoDados(const Firebird::IStatus* status);

// Runs a call that reports through ThrowStatusWrapper and turns FbException into
// ErroBancoDados with the formatted status text.
template <typename Funcao>
auto Chamar(Funcao&& funcao) {
    const Ref<Firebird::IStatus> estado(Mestre()->getStatus());
    Firebird::ThrowStatusWrapper status(estado.get());
    try {
        return funcao(&status);
    } catch (const Firebird::FbException& e) {
        LancarErroBancoDados(e.getStatus());
    }
}

// Runs a call that ends the interface and releases it when it succeeds (close, commit,
// rollback, detach, free): the holder then lets go of it. A failed call raises and leaves the
// interface with the holder, which releases it.
template <typename T, typename Chamada>
void Encerrar(Ref<T>& objeto, Chamada&& chamada) {
    Chamar([&](Firebird::ThrowStatusWrapper* st) { chamada(*objeto, st); });
    static_cast<void>(objeto.release());  // the successful call released the interface
}

// A parameter-block builder of the given kind (DPB, TPB).
Ref<Firebird::IXpbBuilder> NovoXpb(unsigned tipo);

// A DPB holding the ERP's user name and password, in that order.
void InserirCredenciais(Firebird::ThrowStatusWrapper* st, Firebird::IXpbBuilder& dpb);

// The dispatcher, which attaches to and creates databases.
Ref<Firebird::IProvider> Provedor();

}  // namespace tessora::db::interno
