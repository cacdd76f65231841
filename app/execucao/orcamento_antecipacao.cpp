#include "app/execucao/orcamento_antecipacao.h"

#include <algorithm>

namespace tessora::app {

bool OrcamentoAntecipacao::Reservar(size_t bytes) {
    const std::lock_guard trava(mutex_);
    if (emUso_ != 0 && bytes > limite_ - std::min(emUso_, limite_)) return false;
    emUso_ += bytes;
    return true;
}

void OrcamentoAntecipacao::Acertar(size_t reservados, size_t retidos) {
    const std::lock_guard trava(mutex_);
    emUso_ = emUso_ - reservados + retidos;
}

void OrcamentoAntecipacao::Liberar(size_t bytes) {
    const std::lock_guard trava(mutex_);
    emUso_ -= bytes;
}

}  // namespace tessora::app
