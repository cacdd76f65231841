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

// A parameter-block builder that disposes of itself.
class Xpb {
  public:
    explicit Xpb(unsigned tipo);
    ~Xpb() { construtor_->dispose(); }
    Xpb(const Xpb&) = delete;
    Xpb& operator=(const Xpb&) = delete;
    Firebird::IXpbBuilder* operator->() const { return construtor_; }

  private:
    Firebird::IXpbBuilder* construtor_;
};

// A DPB holding the ERP's user name and password, in that order.
void InserirCredenciais(Firebird::ThrowStatusWrapper* st, Xpb& dpb);

// The dispatcher, released on every path.
class Provedor {
  public:
    Provedor() : provedor_(Mestre()->getDispatcher()) {}
    ~Provedor() { provedor_->release(); }
    Provedor(const Provedor&) = delete;
    Provedor& operator=(const Provedor&) = delete;
    Firebird::IProvider* operator->() const { return provedor_; }

  private:
    Firebird::IProvider* provedor_;
};

}  // namespace tessora::db::interno
