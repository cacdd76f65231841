#include "app/execucao/execucao_sincronizacao.h"

#include <chrono>
#include <deque>
#include <exception>
#include <future>
#include <memory>
#include <optional>

#include "app/execucao/log_processamento.h"
#include "app/execucao/observacao_execucao.h"
#include "app/execucao/orcamento_antecipacao.h"
#include "app/execucao/texto_totais.h"
#include "app/execucao/trabalhadores_http.h"
#include "comum/data_hora.h"
#include "comum/erros.h"
#include "db/conectar_banco.h"
#include "db/guarda_importacao.h"
#include "db/locais_erp.h"
#include "db/parametros_integracao.h"

namespace tessora::app {

namespace {
// How many order documents are fetched at once, and how many are fetched or fetching ahead of
// the order being written (as long as the run's budget of bytes allows); how many
// acknowledgements go at once, and how many written orders may wait for theirs before the next
// order waits too.
constexpr size_t kBuscasSimultaneas = 3;
constexpr size_t kDocumentosAntecipados = 6;
constexpr size_t kRegistrosSimultaneos = 3;
constexpr size_t kRegistrosPendentes = 6;

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

void AcrescentarObservacao(ResultadoPedido& resultado, const std::string& observacao) {
    if (!resultado.observacao.empty()) resultado.observacao += "; ";
    resultado.observacao += observacao;
}

// One order's outcome with the log line that tells it; `registrar` says whether the API is to
// be told that the order is in the ERP.
ResultadoPedido ImportarPedidoAppForcaVenda(ContextoSincronizacao& contexto,
                                            PedidosAppForcaVenda& pedidos, const std::string& id,
                                            const importacao::DocumentoPedido& documento,
                                            bool& registrar) {
    ResultadoPedido resultado{id};
    try {
        const auto importacao = pedidos.ImportarPedido(contexto, id, documento);
        registrar = importacao::RegistrarNaApi(importacao);
        switch (importacao.desfecho) {
            case importacao::DesfechoImportacao::OutraCopiaImportando:
                resultado.desfecho = DesfechoPedido::Adiado;
                resultado.mensagem =
                    "Outra cópia do programa está importando pedidos neste banco de dados (" +
                    importacao.motivo + "); o pedido fica para a próxima execução.";
                break;
            case importacao::DesfechoImportacao::JaIncluido:
                resultado.desfecho = DesfechoPedido::JaIncluido;
                resultado.mensagem = "Pedido já incluído no sistema.";
                break;
            case importacao::DesfechoImportacao::Incluido:
                resultado.desfecho = DesfechoPedido::Incluido;
                resultado.mensagem = "Pedido incluído no sistema.";
                if (importacao.operacao) {
                    const importacao::OperacaoGravada& operacao = *importacao.operacao;
                    resultado.idNfComercio = operacao.idNfComercio;
                    resultado.nrNotaFiscal = operacao.nrNotaFiscal;
                    resultado.clienteCadastrado = operacao.clienteCadastrado;
                    if (!operacao.motivoClienteRecusado.empty()) {
                        AcrescentarObservacao(resultado, "Cliente do APP não cadastrado: " +
                                                             operacao.motivoClienteRecusado);
                    }
                    if (operacao.totais && !operacao.totais->Confere()) {
                        AcrescentarObservacao(resultado,
                                              "Totais " + TextoConferenciaTotais(*operacao.totais));
                    }
                }
                break;
            case importacao::DesfechoImportacao::PedidoNaoObtido:
            case importacao::DesfechoImportacao::CabecalhoRecusado:
                resultado.desfecho = DesfechoPedido::NaoIncluido;
                resultado.mensagem = "Não foi possível incluir o pedido: " + id + " no sistema";
                // The log keeps its line; the history keeps the database's reason.
                if (importacao.desfecho == importacao::DesfechoImportacao::CabecalhoRecusado &&
                    !importacao.motivo.empty()) {
                    AcrescentarObservacao(
                        resultado, "Operação recusada pelo banco de dados: " + importacao.motivo);
                }
                break;
            case importacao::DesfechoImportacao::IdInexato:
            case importacao::DesfechoImportacao::ClienteIndisponivel:
                resultado.desfecho = DesfechoPedido::NaoIncluido;
                resultado.mensagem = "Não foi possível incluir o pedido: " + id +
                                     " no sistema: " + importacao.motivo;
                break;
        }
    } catch (const std::exception&) {
        registrar = false;
        return ResultadoDoErro(id, std::current_exception());
    }
    return resultado;
}

std::string LerToken(const ContextoSincronizacao& contexto) {
    return contexto.api.obterToken ? contexto.api.obterToken() : std::string();
}

using Momento = std::chrono::system_clock::time_point;

// What an acknowledgement raised (nothing when it went through), and when it answered.
struct RegistroRespondido {
    std::exception_ptr erro;
    Momento quando;
};

// A written order whose outcome waits for its acknowledgement before it is logged: an
// acknowledgement that raises turns the order's line into an error, as when it was sent before
// the next order began. Its lines keep the times of their events, not of their logging.
struct PedidoEscrito {
    ResultadoPedido resultado;
    std::optional<Momento> lido;  // when it was read, if its "Lendo pedido: " line still waits
    Momento desfecho;             // when its outcome was known
    std::optional<std::future<RegistroRespondido>> registro;
};

// The orders in listing order, one database transaction at a time, while the next orders'
// documents are fetched and earlier orders acknowledged on threads of the run. The log and the
// history receive every order's lines in listing order.
void ImportarPedidos(ContextoSincronizacao& contexto, const std::vector<std::string>& lista,
                     LogProcessamento& log, ObservacaoExecucao& observacao, ResumoExecucao& resumo,
                     const AmbienteExecucao& ambiente) {
    PedidosAppForcaVenda& pedidos = ambiente.pedidos;
    const auto encerrando = [encerramento = ambiente.encerramento] {
        return encerramento != nullptr && encerramento->load();
    };
    // Outlives the fetches, which settle their reservations.
    OrcamentoAntecipacao orcamento(ambiente.orcamentoAntecipacao);
    const size_t reserva = contexto.api.tamanhoMaximoResposta;
    TrabalhadoresHttp registros(contexto.cliente, kRegistrosSimultaneos);
    TrabalhadoresHttp buscas(contexto.cliente, kBuscasSimultaneas);
    std::deque<std::future<importacao::DocumentoPedido>> documentos;
    size_t proximaBusca = 0;
    const auto antecipar = [&] {
        if (encerrando()) return buscas.Interromper();
        while (proximaBusca < lista.size() && documentos.size() < kDocumentosAntecipados &&
               orcamento.Reservar(reserva)) {
            const std::string& id = lista[proximaBusca++];
            auto promessa = std::make_shared<std::promise<importacao::DocumentoPedido>>();
            documentos.push_back(promessa->get_future());
            std::string token;
            try {
                token = LerToken(contexto);
            } catch (...) {
                orcamento.Acertar(reserva, 0);
                promessa->set_value(importacao::DocumentoPedido::ComErro(std::current_exception()));
                continue;
            }
            buscas.Agendar(std::move(token), [&pedidos, &orcamento, reserva, id,
                                              promessa](api::ClienteHttp& cliente) {
                importacao::DocumentoPedido documento;
                try {
                    documento = pedidos.BuscarPedido(cliente, id);
                } catch (...) {
                    documento = importacao::DocumentoPedido::ComErro(std::current_exception());
                }
                orcamento.Acertar(reserva, documento.Tamanho());
                promessa->set_value(std::move(documento));
            });
        }
    };

    std::deque<PedidoEscrito> escritos;
    // Logs the oldest written orders whose acknowledgement has answered; with `esperar`, the
    // oldest one in any case.
    const auto publicar = [&](bool esperar) {
        while (!escritos.empty()) {
            PedidoEscrito& pedido = escritos.front();
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
            if (pedido.lido) log.GravarLog("Lendo pedido: " + pedido.resultado.idApp, *pedido.lido);
            log.GravarLog(pedido.resultado.mensagem, pedido.desfecho);
            observacao.Pedido(pedido.resultado);
            ++resumo.pedidosProcessados;
            if (PedidoFalhou(pedido.resultado.desfecho)) ++resumo.pedidosComFalha;
            if (pedido.resultado.desfecho == DesfechoPedido::Adiado) ++resumo.pedidosAdiados;
            escritos.pop_front();
            esperar = false;
        }
    };

    for (const std::string& id : lista) {
        antecipar();
        publicar(false);
        if (encerrando()) break;
        if (escritos.size() >= kRegistrosPendentes) publicar(true);
        const Momento lido = std::chrono::system_clock::now();
        const bool lidoNoLog = escritos.empty();
        if (lidoNoLog) log.GravarLog("Lendo pedido: " + id, lido);
        const importacao::DocumentoPedido documento = documentos.front().get();
        const size_t retidos = documento.Tamanho();
        documentos.pop_front();
        // The next documents come while this order is written; its own still counts.
        antecipar();

        bool registrar = false;
        ResultadoPedido resultado =
            ImportarPedidoAppForcaVenda(contexto, pedidos, id, documento, registrar);
        orcamento.Liberar(retidos);
        PedidoEscrito escrito{std::move(resultado),
                              lidoNoLog ? std::nullopt : std::optional<Momento>(lido),
                              std::chrono::system_clock::now(),
                              {}};
        if (registrar) {
            auto promessa = std::make_shared<std::promise<RegistroRespondido>>();
            escrito.registro = promessa->get_future();
            const auto responder = [promessa](std::exception_ptr erro) {
                promessa->set_value({std::move(erro), std::chrono::system_clock::now()});
            };
            try {
                registros.Agendar(LerToken(contexto),
                                  [&pedidos, id, responder](api::ClienteHttp& cliente) {
                                      try {
                                          pedidos.RegistrarPedido(cliente, id);
                                          responder(nullptr);
                                      } catch (...) {
                                          responder(std::current_exception());
                                      }
                                  });
            } catch (...) {
                responder(std::current_exception());
            }
        }
        escritos.push_back(std::move(escrito));
    }
    while (!escritos.empty()) publicar(true);
}

// Counts the orders into `resumo`, or records there why the list of new orders could not be had.
void ProcessarPedidosAppForcaVenda(ContextoSincronizacao& contexto, LogProcessamento& log,
                                   ObservacaoExecucao& observacao, ResumoExecucao& resumo,
                                   const AmbienteExecucao& ambiente) {
    const api::ListagemPedidos listagem = ambiente.pedidos.ListarPedidosNovos(contexto);
    if (!listagem.Obtida()) {
        log.GravarLog("Não foi possível obter a lista de novos pedidos: " + listagem.MotivoFalha());
        resumo.fim = FimExecucao::SemListagem;
        resumo.motivo = listagem.MotivoFalha();
        return;
    }
    const std::vector<std::string>& lista = listagem.Ids();
    if (lista.empty()) {
        log.GravarLog("Nenhum novo pedido encontrado.");
        return;
    }
    ImportarPedidos(contexto, lista, log, observacao, resumo, ambiente);
}

std::string MensagemDoErro(const std::exception_ptr& erro) {
    try {
        std::rethrow_exception(erro);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Erro desconhecido na sincronização.";
    }
}
}  // namespace

api::ConfiguracaoApi ConfiguracaoDaExecucao(const ConfiguracoesApi& configuracoes,
                                            db::ConexaoErp& conexao) {
    api::ConfiguracaoApi api;
    api.urlBase = configuracoes.urlBaseApi;
    api.arquivoCertificados = configuracoes.arquivoCertificados;
    api.obterToken = [&conexao] { return db::ObterTokenAppForcaVenda(conexao); };
    if (configuracoes.limiteLeitura) api.limiteLeitura = *configuracoes.limiteLeitura;
    if (configuracoes.tamanhoMaximoResposta)
        api.tamanhoMaximoResposta = *configuracoes.tamanhoMaximoResposta;
    return api;
}

ResumoExecucao ProcessarAppForcaVenda(const AmbienteExecucao& ambiente) {
    const auto inicio = std::chrono::system_clock::now();
    PainelExecucao& painel = ambiente.painel;
    LogProcessamento log(painel);
    ObservacaoExecucao observacao(ambiente.observador, ambiente.origem, inicio, log);

    ResumoExecucao resumo{inicio, FimExecucao::Concluida};
    std::unique_ptr<db::ConexaoErp> conexao;
    std::exception_ptr erro;
    try {
        const auto local =
            db::ObterCaminhoBancoDados(ambiente.executavel.parent_path(), ambiente.avisos);
        try {
            conexao = db::ConectarBancoDados(local, ambiente.executavel,
                                             ambiente.caminhosAtualizacao, db::kProcessoImportacao);
        } catch (const ErroBancoDados& e) {
            resumo.fim = FimExecucao::SemConexao;
            resumo.motivo = e.what();
        }
        painel.ExibirUltimaAtualizacao(DataHoraMinutos(std::chrono::system_clock::now()));
        log.LimparLog();
        log.GravarLog("Iniciando processamento...");
        observacao.Iniciar();
        if (!conexao) {
            log.GravarLog("Não foi possível conectar ao banco de dados: " + resumo.motivo);
        } else if (!db::AppForcaVendaHabilitado(*conexao)) {
            log.GravarLog("Processo não executado. O APP Força de Vendas não está habilitado");
        } else {
            ContextoSincronizacao contexto{
                *conexao, ConfiguracaoDaExecucao(ambiente.configuracoesApi, *conexao)};
            ProcessarPedidosAppForcaVenda(contexto, log, observacao, resumo, ambiente);
        }
    } catch (...) {
        erro = std::current_exception();
    }

    // Closing steps: also after an error, and the summary comes even when the disconnection
    // itself fails.
    try {
        log.GravarLog("Encerrando processamento...");
        db::DesconectarBancoDados(conexao);
    } catch (...) {
        if (!erro) erro = std::current_exception();
    }

    resumo.termino = std::chrono::system_clock::now();
    if (erro) {
        resumo.fim.reset();
        resumo.motivo = MensagemDoErro(erro);
    }
    observacao.Terminar(resumo);
    return resumo;
}

}  // namespace tessora::app
