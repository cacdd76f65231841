#include "app/execucao/trabalhadores_http.h"

#include <memory>

namespace tessora::app {

TrabalhadoresHttp::TrabalhadoresHttp(const api::ClienteHttp& modelo, size_t quantidade) {
    for (size_t i = 0; i < quantidade; ++i) {
        auto token = std::make_shared<std::string>();
        api::ClienteHttp cliente = modelo.OutroCliente([token] { return *token; }, &interrompidos_);
        threads_.emplace_back(
            [this, token, cliente = std::move(cliente)]() mutable { Trabalhar(cliente, *token); });
    }
}

TrabalhadoresHttp::~TrabalhadoresHttp() {
    {
        const std::lock_guard trava(mutex_);
        encerrando_ = true;
    }
    sinal_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void TrabalhadoresHttp::Agendar(std::string token, Tarefa tarefa) {
    {
        const std::lock_guard trava(mutex_);
        fila_.push_back({std::move(token), std::move(tarefa)});
    }
    sinal_.notify_one();
}

void TrabalhadoresHttp::Interromper() {
    const std::lock_guard trava(mutex_);
    fila_.clear();
    interrompidos_ = true;
}

void TrabalhadoresHttp::Trabalhar(api::ClienteHttp& cliente, std::string& token) {
    for (;;) {
        Pendente pendente;
        {
            std::unique_lock trava(mutex_);
            sinal_.wait(trava, [this] { return encerrando_ || !fila_.empty(); });
            if (fila_.empty()) return;
            pendente = std::move(fila_.front());
            fila_.pop_front();
        }
        token = std::move(pendente.token);
        pendente.tarefa(cliente);
    }
}

}  // namespace tessora::app
