#pragma once

#include <cstddef>
#include <mutex>

namespace tessora::app {

// The bytes that the order documents fetched ahead hold together, the order's being written
// included. A fetch under way counts at the largest answer it may bring until its document has
// come, so that what fetching ahead holds never exceeds the budget, except for one document larger
// than the budget, which is fetched alone. Fetches end on other threads.
class OrcamentoAntecipacao {
  public:
    explicit OrcamentoAntecipacao(size_t limite) : limite_(limite) {}

    // Takes `bytes` for a fetch about to start when they fit, or when nothing is held.
    [[nodiscard]] bool Reservar(size_t bytes);
    // A fetch ended: what it reserved becomes what its document holds.
    void Acertar(size_t reservados, size_t retidos);
    void Liberar(size_t bytes);

  private:
    const size_t limite_;
    std::mutex mutex_;
    size_t emUso_ = 0;
};

}  // namespace tessora::app
