#pragma once

#include <string>

#include "app/execucao/painel_execucao.h"

namespace tessora::bench {

// The run's panel, counting the orders the log says were written and showing nothing.
class PainelContado : public app::PainelExecucao {
  public:
    void ExibirUltimaAtualizacao(const std::string&) override {}
    void LimparLog() override {}
    void AcrescentarLinhaLog(const std::string& linha) override {
        if (linha.ends_with(" - Pedido incluído no sistema.")) ++incluidos;
    }
    int incluidos = 0;
};

}  // namespace tessora::bench
