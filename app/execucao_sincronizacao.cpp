#include "app/execucao_sincronizacao.h"

#include <chrono>
#include <exception>
#include <memory>
#include <optional>

#include "app/log_processamento.h"
#include "app/observacao_execucao.h"
#include "app/texto_totais.h"
#include "comum/data_hora.h"
#include "comum/erros.h"
#include "db/conectar_banco.h"
#include "db/locais_erp.h"
#include "db/parametros_integracao.h"

namespace tessora::app {

namespace {
// One order's outcome with the log line that tells it.
ResultadoPedido ImportarPedidoAppForcaVenda(ContextoSincronizacao& contexto,
                                            PedidosAppForcaVenda& pedidos, const std::string& id) {
    ResultadoPedido resultado{id};
    try {
        const auto importacao = pedidos.ImportarPedido(contexto, id);
        switch (importacao.desfecho) {
            case importacao::DesfechoImportacao::OutraCopiaImportando:
                resultado.desfecho = DesfechoPedido::Adiado;
                resultado.mensagem =
                    "Pedido em importação por outra cópia do programa; fica para a próxima "
                    "execução.";
                break;
            case importacao::DesfechoImportacao::JaIncluido:
                resultado.desfecho = DesfechoPedido::JaIncluido;
                resultado.mensagem = "Pedido já incluído no sistema.";
                break;
            case importacao::DesfechoImportacao::Incluido:
                resultado.desfecho = DesfechoPedido::Incluido;
                resultado.mensagem = "Pedido incluído no sistema.";
                if (importacao.operacao) {
                    resultado.idNfComercio = importacao.operacao->idNfComercio;
                    resultado.nrNotaFiscal = importacao.operacao->nrNotaFiscal;
                    resultado.clienteCadastrado = importacao.operacao->clienteCadastrado;
                    const auto& totais = importacao.operacao->totais;
                    if (totais && !totais->Confere()) {
                        resultado.observacao = "Totais " + TextoConferenciaTotais(*totais);
                    }
                }
                break;
            case importacao::DesfechoImportacao::PedidoNaoObtido:
            case importacao::DesfechoImportacao::CabecalhoRecusado:
                resultado.desfecho = DesfechoPedido::NaoIncluido;
                resultado.mensagem = "Não foi possível incluir o pedido: " + id + " no sistema";
                break;
        }
    } catch (const std::exception& e) {
        resultado.desfecho = DesfechoPedido::Erro;
        resultado.mensagem = "Erro na leitura do pedido: " + id + " Erro: " + e.what();
    }
    return resultado;
}

// Why the list of new orders could not be had; nothing when it could. Counts the orders into
// `resumo`.
std::optional<std::string> ProcessarPedidosAppForcaVenda(ContextoSincronizacao& contexto,
                                                         PedidosAppForcaVenda& pedidos,
                                                         LogProcessamento& log,
                                                         ObservacaoExecucao& observacao,
                                                         ResumoExecucao& resumo) {
    const api::ListagemPedidos listagem = pedidos.ListarPedidosNovos(contexto);
    if (!listagem.Obtida()) {
        log.GravarLog("Não foi possível obter a lista de novos pedidos: " + listagem.MotivoFalha());
        return listagem.MotivoFalha();
    }
    const std::vector<std::string>& lista = listagem.Ids();
    if (lista.empty()) {
        log.GravarLog("Nenhum novo pedido encontrado.");
        return std::nullopt;
    }
    for (const std::string& id : lista) {
        log.GravarLog("Lendo pedido: " + id);
        const ResultadoPedido resultado = ImportarPedidoAppForcaVenda(contexto, pedidos, id);
        log.GravarLog(resultado.mensagem);
        observacao.Pedido(resultado);
        ++resumo.pedidosProcessados;
        if (PedidoFalhou(resultado.desfecho)) ++resumo.pedidosComFalha;
    }
    return std::nullopt;
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
    return api;
}

std::string DescreverFalha(const ResumoExecucao& resumo) {
    if (!resumo.fim) return "a sincronização foi interrompida por um erro";
    switch (*resumo.fim) {
        case FimExecucao::Concluida:
            return {};
        case FimExecucao::SemConexao:
            return "sem conexão com o banco de dados";
        case FimExecucao::SemListagem:
            return "não foi possível obter a lista de novos pedidos";
    }
    return {};
}

FimExecucao ProcessarAppForcaVenda(const AmbienteExecucao& ambiente) {
    const auto inicio = std::chrono::system_clock::now();
    PainelExecucao& painel = ambiente.painel;
    LogProcessamento log(painel);
    ObservacaoExecucao observacao(ambiente.observador, ambiente.origem, inicio, log);
    painel.HabilitarSincronizarAgora(false);

    ResumoExecucao resumo{inicio, FimExecucao::Concluida};
    std::unique_ptr<db::ConexaoErp> conexao;
    std::optional<std::string> falhaConexao;
    std::optional<std::string> falhaListagem;
    std::exception_ptr erro;
    try {
        const auto local =
            db::ObterCaminhoBancoDados(ambiente.executavel.parent_path(), ambiente.avisos);
        try {
            conexao =
                db::ConectarBancoDados(local, ambiente.executavel, ambiente.caminhosAtualizacao);
        } catch (const ErroBancoDados& e) {
            falhaConexao = e.what();
        }
        painel.ExibirUltimaAtualizacao(DataHoraMinutos(std::chrono::system_clock::now()));
        log.LimparLog();
        log.GravarLog("Iniciando processamento...");
        observacao.Iniciar();
        if (falhaConexao) {
            log.GravarLog("Não foi possível conectar ao banco de dados: " + *falhaConexao);
        } else if (!db::AppForcaVendaHabilitado(*conexao)) {
            log.GravarLog("Processo não executado. O APP Força de Vendas não está habilitado");
        } else {
            ContextoSincronizacao contexto{
                *conexao, ConfiguracaoDaExecucao(ambiente.configuracoesApi, *conexao)};
            falhaListagem =
                ProcessarPedidosAppForcaVenda(contexto, ambiente.pedidos, log, observacao, resumo);
        }
    } catch (...) {
        erro = std::current_exception();
    }

    // Closing steps: also after an error, and the button comes back even when the
    // disconnection itself fails.
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
    } else if (falhaConexao) {
        resumo.fim = FimExecucao::SemConexao;
        resumo.motivo = *falhaConexao;
    } else if (falhaListagem) {
        resumo.fim = FimExecucao::SemListagem;
        resumo.motivo = *falhaListagem;
    }
    observacao.Terminar(resumo);
    painel.HabilitarSincronizarAgora(true);
    painel.ExecucaoEncerrada(resumo);

    if (erro) std::rethrow_exception(erro);
    return *resumo.fim;
}

}  // namespace tessora::app
