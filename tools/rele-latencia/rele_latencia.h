#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tessora::rele {

// A TCP relay on 127.0.0.1 that holds back every byte, in each direction, for a fixed time
// before passing it on, so that a loopback server looks like one across a slow link: a round
// trip costs twice the delay. Counts the connections it accepted. Stops with the object.
class ReleLatencia {
  public:
    // Relays to 127.0.0.1:`portaDestino`; listens on a free loopback port.
    ReleLatencia(int portaDestino, std::chrono::microseconds atrasoPorSentido);
    ~ReleLatencia();
    ReleLatencia(const ReleLatencia&) = delete;
    ReleLatencia& operator=(const ReleLatencia&) = delete;

    int Porta() const { return porta_; }
    int Conexoes() const { return conexoes_.load(); }

  private:
    struct Ligacao;

    void Aceitar();

    const int portaDestino_;
    const std::chrono::microseconds atraso_;
    int escuta_ = -1;
    int porta_ = 0;
    std::atomic<int> conexoes_{0};
    std::atomic<bool> encerrando_{false};
    std::mutex mutexLigacoes_;
    std::vector<std::unique_ptr<Ligacao>> ligacoes_;
    std::thread aceitacao_;
};

}  // namespace tessora::rele
