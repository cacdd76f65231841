#pragma once

#include "comum/erros.h"

namespace tessora::importacao {

// The order's customer cannot be had now: its document did not come from the API (no answer,
// an unreadable one, an error status other than 404), or its id cannot be held exactly by the
// ERP. The order is left for a later run rather than written with the company standing in for
// a customer that does exist. The message says why, in words for the log.
class ErroClienteIndisponivel : public Erro {
  public:
    using Erro::Erro;
};

}  // namespace tessora::importacao
