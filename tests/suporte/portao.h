#pragma once

#include <condition_variable>
#include <mutex>

namespace tessora::testes {

// Holds a worker until the test lets it go.
class Portao {
  public:
    void Esperar() {
        std::unique_lock trava(mutex_);
        aberto_.wait(trava, [this] { return liberado_; });
    }
    void Liberar() {
        {
            std::lock_guard trava(mutex_);
            liberado_ = true;
        }
        aberto_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable aberto_;
    bool liberado_ = false;
};

}  // namespace tessora::testes
