#include "app/execucao/esteira_pedidos.h"

#include <memory>
#include <utility>

namespace tessora::app {

ResultadoPedido ResultadoDoErro(const std::string& id, const std::exception_ptr& erro) {
    ResultadoPedido resultado{id};
    resultado.desfecho = DesfechoPedido::Erro;
    try {
        std::rethrow_exception(erro);
    } catch (const std::exception& e) {
        resultado.mensagem = "Erro na leitura do pedido: " + id + " Erro: " + e.what();
    }
    return resultado;
}

EsteiraPedidos::EsteiraPedidos(EtapasPedido& etapas, SaidaPedidos& saida,
                               const api::ClienteHttp& modelo, LimitesEsteira limites,
                               const std::atomic<bool>* encerramento)
    : etapas_(etapas),
      saida_(saida),
      limites_(limites),
      encerramento_(encerramento),
      orcamento_(limites.orcamento),
      registros_(modelo, limites.registrosSimultaneos),
      buscas_(modelo, limites.buscasSimultaneas) {}

bool EsteiraPedidos::Encerrando() const {
    return encerramento_ != nullptr && encerramento_->load();
}

void EsteiraPedidos::Processar(const std::vector<std::string>& lista) {
    for (const std::string& id : lista) {
        Antecipar(lista);
        Publicar(false);
        if (Encerrando()) break;
        if (escritos_.size() >= limites_.registrosPendentes) Publicar(true);
        Escrever(lista, id);
    }
    while (!escritos_.empty()) Publicar(true);
}

void EsteiraPedidos::Antecipar(const std::vector<std::string>& lista) {
    if (Encerrando()) return buscas_.Interromper();
    const size_t reserva = limites_.reservaPorBusca;
    while (proximaBusca_ < lista.size() && documentos_.size() < limites_.documentosAntecipados &&
           orcamento_.Reservar(reserva)) {
        const std::string& id = lista[proximaBusca_++];
        auto promessa = std::make_shared<std::promise<importacao::DocumentoPedido>>();
        documentos_.push_back(promessa->get_future());
        std::string token;
        try {
            token = etapas_.Token();
        } catch (...) {
            orcamento_.Acertar(reserva, 0);
            promessa->set_value(importacao::DocumentoPedido::ComErro(std::current_exception()));
            continue;
        }
        buscas_.Agendar(std::move(token), [this, reserva, id, promessa](api::ClienteHttp& cliente) {
            importacao::DocumentoPedido documento;
            try {
                documento = etapas_.Buscar(cliente, id);
            } catch (...) {
                documento = importacao::DocumentoPedido::ComErro(std::current_exception());
            }
            orcamento_.Acertar(reserva, documento.Tamanho());
            promessa->set_value(std::move(documento));
        });
    }
}

void EsteiraPedidos::Escrever(const std::vector<std::string>& lista, const std::string& id) {
    const Momento lido = std::chrono::system_clock::now();
    // Its line goes at once unless earlier orders' lines still wait.
    const bool lidoNaSaida = escritos_.empty();
    if (lidoNaSaida) saida_.Lendo(id, lido);
    const importacao::DocumentoPedido documento = documentos_.front().get();
    const size_t retidos = documento.Tamanho();
    documentos_.pop_front();
    // The next documents come while this order is written; its own still counts.
    Antecipar(lista);
    bool registrar = false;
    ResultadoPedido resultado;
    try {
        resultado = etapas_.Importar(id, documento, registrar);
    } catch (...) {
        registrar = false;
        resultado = ResultadoDoErro(id, std::current_exception());
    }
    orcamento_.Liberar(retidos);
    PedidoEscrito escrito{std::move(resultado),
                          lidoNaSaida ? std::nullopt : std::optional<Momento>(lido),
                          std::chrono::system_clock::now(),
                          {}};
    if (registrar) Registrar(escrito);
    escritos_.push_back(std::move(escrito));
}

void EsteiraPedidos::Registrar(PedidoEscrito& escrito) {
    auto promessa = std::make_shared<std::promise<RegistroRespondido>>();
    escrito.registro = promessa->get_future();
    const auto responder = [promessa](std::exception_ptr erro) {
        promessa->set_value({std::move(erro), std::chrono::system_clock::now()});
    };
    const std::string& id = escrito.resultado.idApp;
    try {
        registros_.Agendar(etapas_.Token(), [this, id, responder](api::ClienteHttp& cliente) {
            try {
                etapas_.Registrar(cliente, id);
                responder(nullptr);
            } catch (...) {
                responder(std::current_exception());
            }
        });
    } catch (...) {
        responder(std::current_exception());
    }
}

void EsteiraPedidos::Publicar(bool esperar) {
    while (!escritos_.empty()) {
        PedidoEscrito& pedido = escritos_.front();
        if (pedido.registro) {
            if (!esperar &&
                pedido.registro->wait_for(std::chrono::seconds(0)) != std::future_status::ready)
                return;
            const RegistroRespondido registro = pedido.registro->get();
            if (registro.erro) {
                pedido.resultado = ResultadoDoErro(pedido.resultado.idApp, registro.erro);
                pedido.desfecho = registro.quando;
            }
        }
        if (pedido.lido) saida_.Lendo(pedido.resultado.idApp, *pedido.lido);
        saida_.Desfecho(pedido.resultado, pedido.desfecho);
        escritos_.pop_front();
        esperar = false;
    }
}

}  // namespace tessora::app
