#include "app/execucao/observacao_execucao.h"

#include <exception>
#include <string>

namespace tessora::app {

template <typename Chamada>
void ObservacaoExecucao::Chamar(Chamada chamada) {
    if (!observador_) return;
    std::string falha;
    try {
        chamada(*observador_);
        return;
    } catch (const std::exception& e) {
        falha = e.what();
    } catch (...) {
        falha = "erro desconhecido";
    }
    observador_ = nullptr;
    log_.GravarLog("Histórico indisponível: " + falha);
}

void ObservacaoExecucao::Iniciar() {
    if (iniciada_) return;
    iniciada_ = true;
    Chamar([this](ObservadorExecucao& o) { o.ExecucaoIniciada(origem_, inicio_); });
}

void ObservacaoExecucao::Pedido(const ResultadoPedido& pedido) {
    Chamar([&pedido](ObservadorExecucao& o) { o.PedidoProcessado(pedido); });
}

void ObservacaoExecucao::Terminar(const ResumoExecucao& resumo) {
    Iniciar();
    Chamar([&resumo](ObservadorExecucao& o) { o.ExecucaoTerminada(resumo); });
}

}  // namespace tessora::app
