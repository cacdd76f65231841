#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "api/cliente_http.h"

namespace tessora::app {

// Threads that make requests of one run, each over a kept-alive connection of its own. The
// token of each request is read by whoever queues it, on the thread that owns the database
// connection, and travels with the task.
class TrabalhadoresHttp {
  public:
    using Tarefa = std::function<void(api::ClienteHttp&)>;

    TrabalhadoresHttp(const api::ClienteHttp& modelo, size_t quantidade);
    // Runs what is queued, then ends the threads.
    ~TrabalhadoresHttp();
    TrabalhadoresHttp(const TrabalhadoresHttp&) = delete;
    TrabalhadoresHttp& operator=(const TrabalhadoresHttp&) = delete;

    void Agendar(std::string token, Tarefa tarefa);
    // Drops what is queued and makes the requests under way give up.
    void Interromper();

  private:
    struct Pendente {
        std::string token;
        Tarefa tarefa;
    };

    void Trabalhar(api::ClienteHttp& cliente, std::string& token);

    std::mutex mutex_;
    std::condition_variable sinal_;
    std::deque<Pendente> fila_;
    bool encerrando_ = false;
    std::atomic<bool> interrompidos_{false};
    std::vector<std::thread> threads_;
};

}  // namespace tessora::app
