#include "app/execucao/execucao_sincronizacao.h"

#include <chrono>
#include <exception>
#include <memory>
#include <optional>

#include "app/execucao/esteira_pedidos.h"
#include "app/execucao/log_processamento.h"
#include "app/execucao/observacao_execucao.h"
#include "app/execucao/texto_totais.h"
#include "comum/data_hora.h"
#include "comum/erros.h"
#include "db/conectar_banco.h"
#include "db/guarda_importacao.h"
#include "db/locais_erp.h"
#include "db/parametros_integracao.h"

namespace tessora::app {

namespace {
void AcrescentarObservacao(ResultadoPedido& resultado, const std::string& observacao) {
    if (!resultado.observacao.empty()) resultado.observacao += "; ";
    resultado.observacao += observacao;
}

// One order's outcome with the log line that tells it.
ResultadoPedido ResultadoDaImportacao(const std::string& id,
                                      const importacao::ResultadoImportacao& importacao) {
    ResultadoPedido resultado{id};
    resultado.cliente = importacao.cliente;
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
                if (operacao.empresaNoLugarDoCliente) {
                    AcrescentarObservacao(resultado,
                                          "Cliente do APP não cadastrado: " +
                                              (operacao.motivoClienteRecusado.empty()
                                                   ? std::string("a empresa está no lugar dele")
                                                   : operacao.motivoClienteRecusado));
                }
                for (const std::string& aviso : operacao.avisosItens)
                    AcrescentarObservacao(resultado, aviso);
                if (operacao.totais && !operacao.totais->Confere()) {
                    AcrescentarObservacao(resultado,
                                          "Totais " + TextoConferenciaTotais(*operacao.totais));
                }
                // The log keeps its line; the history and the summary tell the difference.
                if (!resultado.observacao.empty())
                    resultado.desfecho = DesfechoPedido::IncluidoComAviso;
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
            resultado.mensagem =
                "Não foi possível incluir o pedido: " + id + " no sistema: " + importacao.motivo;
            break;
    }
    return resultado;
}

// The run's order steps, on its connection.
class EtapasDaExecucao final : public EtapasPedido {
  public:
    EtapasDaExecucao(ContextoSincronizacao& contexto, PedidosAppForcaVenda& pedidos)
        : contexto_(contexto), pedidos_(pedidos) {}

    std::string Token() override {
        return contexto_.api.obterToken ? contexto_.api.obterToken() : std::string();
    }
    importacao::DocumentoPedido Buscar(api::ClienteHttp& cliente, const std::string& id) override {
        return pedidos_.BuscarPedido(cliente, id);
    }
    ResultadoPedido Importar(const std::string& id, const importacao::DocumentoPedido& documento,
                             bool& registrar) override {
        const auto importacao = pedidos_.ImportarPedido(contexto_, id, documento);
        registrar = importacao::RegistrarNaApi(importacao);
        return ResultadoDaImportacao(id, importacao);
    }
    void Registrar(api::ClienteHttp& cliente, const std::string& id) override {
        pedidos_.RegistrarPedido(cliente, id);
    }

  private:
    ContextoSincronizacao& contexto_;
    PedidosAppForcaVenda& pedidos_;
};

// The orders' lines into the processing log and the history, counted into the run's summary.
class SaidaDaExecucao final : public SaidaPedidos {
  public:
    SaidaDaExecucao(LogProcessamento& log, PainelExecucao& painel, ObservacaoExecucao& observacao,
                    ResumoExecucao& resumo, size_t total)
        : log_(log),
          painel_(painel),
          observacao_(observacao),
          resumo_(resumo),
          total_(static_cast<int32_t>(total)) {}

    void Lendo(const std::string& id, Momento quando) override {
        log_.GravarLog("Lendo pedido: " + id, quando);
        painel_.ExibirProgresso(++lidos_, total_);
    }
    void Desfecho(const ResultadoPedido& resultado, Momento quando) override {
        log_.GravarLog(resultado.mensagem, quando);
        observacao_.Pedido(resultado);
        ++resumo_.pedidosProcessados;
        if (PedidoFalhou(resultado.desfecho)) ++resumo_.pedidosComFalha;
        if (resultado.desfecho == DesfechoPedido::Adiado) ++resumo_.pedidosAdiados;
        if (resultado.desfecho == DesfechoPedido::IncluidoComAviso) ++resumo_.pedidosComAviso;
        if (resultado.desfecho == DesfechoPedido::Incluido ||
            resultado.desfecho == DesfechoPedido::IncluidoComAviso)
            ++resumo_.pedidosIncluidos;
    }

  private:
    LogProcessamento& log_;
    PainelExecucao& painel_;
    ObservacaoExecucao& observacao_;
    ResumoExecucao& resumo_;
    const int32_t total_;
    int32_t lidos_ = 0;
};

ProblemaExecucao ProblemaDaListagem(api::ProblemaListagem problema) {
    switch (problema) {
        case api::ProblemaListagem::TokenRecusado:
            return ProblemaExecucao::TokenRecusado;
        case api::ProblemaListagem::CertificadoRecusado:
            return ProblemaExecucao::CertificadoRecusado;
        case api::ProblemaListagem::CertificadoForaDoPrazo:
            return ProblemaExecucao::CertificadoForaDoPrazo;
        case api::ProblemaListagem::ApiInacessivel:
            return ProblemaExecucao::ApiInacessivel;
        case api::ProblemaListagem::ErroApi:
            return ProblemaExecucao::ErroApi;
        case api::ProblemaListagem::Configuracao:
            return ProblemaExecucao::Configuracao;
    }
    return ProblemaExecucao::ErroApi;
}

// Counts the orders into `resumo`, or records there why the list of new orders could not be had.
void ProcessarPedidosAppForcaVenda(ContextoSincronizacao& contexto, LogProcessamento& log,
                                   ObservacaoExecucao& observacao, ResumoExecucao& resumo,
                                   const AmbienteExecucao& ambiente) {
    const api::ListagemPedidos listagem = ambiente.pedido
                                              ? api::ListagemPedidos(std::vector{*ambiente.pedido})
                                              : ambiente.pedidos.ListarPedidosNovos(contexto);
    if (!listagem.Aceito()) {
        log.GravarLog("Não foi possível obter a lista de novos pedidos: " + listagem.Motivo());
        resumo.fim = FimExecucao::SemListagem;
        resumo.motivo = listagem.Motivo();
        resumo.problema = ProblemaDaListagem(listagem.Falha().problema);
        return;
    }
    const std::vector<std::string>& lista = listagem.Valor();
    if (lista.empty()) {
        log.GravarLog("Nenhum novo pedido encontrado.");
        return;
    }
    EtapasDaExecucao etapas(contexto, ambiente.pedidos);
    SaidaDaExecucao saida(log, ambiente.painel, observacao, resumo, lista.size());
    LimitesEsteira limites;
    limites.orcamento = ambiente.orcamentoAntecipacao;
    limites.reservaPorBusca = contexto.api.tamanhoMaximoResposta;
    EsteiraPedidos(etapas, saida, contexto.cliente, limites, ambiente.encerramento)
        .Processar(lista);
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
            resumo.problema = ProblemaExecucao::BancoInacessivel;
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
