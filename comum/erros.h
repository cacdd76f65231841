#pragma once

#include <stdexcept>
#include <string>

namespace tessora {

// Base of every failure the program raises itself; the message is fit for the processing log.
class Erro : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A statement, attach or transaction that the database refused.
class ErroBancoDados : public Erro {
  public:
    using Erro::Erro;
};

// A text that does not convert to the value asked for.
class ErroConversao : public Erro {
  public:
    using Erro::Erro;
};

// A value of another kind than the caller can work with (a JSON answer that is no object).
class ErroTipoInvalido : public Erro {
  public:
    ErroTipoInvalido() : Erro("Invalid class typecast") {}
};

}  // namespace tessora
