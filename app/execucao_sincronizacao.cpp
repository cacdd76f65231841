#include "app/execucao_sincronizacao.h"

#include <chrono>
#include <exception>
#include <memory>
#include <optional>

#include "comum/data_hora.h"
#include "app/log_processamento.h"
#include "comum/erros.h"
#include "db/conectar_banco.h"
#include "db/locais_erp.h"
#include "db/parametros_integracao.h"

namespace tessora::app {

namespace {
// False when the list of new orders could not be had.
bool ProcessarPedidosAppForcaVenda(ContextoSincronizacao& contexto, PedidosAppForcaVenda& pedidos,
                                   LogProcessamento& log) {
    const api::ListagemPedidos listagem = pedidos.ListarPedidosNovos(contexto);
    if (!listagem.Obtida()) {
        log.GravarLog("Não foi possível obter a lista de novos pedidos: " + listagem.MotivoFalha());
        return false;
    }
    const std::vector<std::string>& lista = listagem.Ids();
    if (lista.empty()) {
        log.GravarLog("Nenhum novo pedido encontrado.");
        return true;
    }
    for (const std::string& id : lista) {
        log.GravarLog("Lendo pedido: " + id);
        try {
            const auto resultado = pedidos.ImportarPedido(contexto, id);
            if (resultado.outraCopiaImportando) {
                log.GravarLog(
                    "Pedido em importação por outra cópia do programa; fica para a próxima execução.");
            } else if (resultado.jaIncluido) {
                log.GravarLog("Pedido já incluído no sistema.");
            } else if (resultado.texto == "OK") {
                log.GravarLog("Pedido incluído no sistema.");
            } else {
                log.GravarLog("Não foi possível incluir o pedido: " + id + " no sistema");
            }
        } catch (const std::exception& e) {
            log.GravarLog("Erro na leitura do pedido: " + id + " Erro: " + e.what());
        }
    }
    return true;
}

api::ConfiguracaoApi ConfiguracaoDaExecucao(const ConfiguracoesApi& configuracoes, db::ConexaoErp& conexao) {
    api::ConfiguracaoApi api;
    api.urlBase = configuracoes.urlBaseApi;
    api.arquivoCertificados = configuracoes.arquivoCertificados;
    api.obterToken = [&conexao] { return db::ObterTokenAppForcaVenda(conexao); };
    if (configuracoes.limiteLeitura) api.limiteLeitura = *configuracoes.limiteLeitura;
    return api;
}
}  // namespace

std::string DescreverFalha(const ResumoExecucao& resumo) {
    if (!resumo.fim) return "a sincronização foi interrompida por um erro";
    switch (*resumo.fim) {
        case FimExecucao::Concluida: return {};
        case FimExecucao::SemConexao: return "sem conexão com o banco de dados";
        case FimExecucao::SemListagem: return "não foi possível obter a lista de novos pedidos";
    }
    return {};
}

FimExecucao ProcessarAppForcaVenda(const AmbienteExecucao& ambiente) {
    PainelExecucao& painel = ambiente.painel;
    LogProcessamento log(painel);
    painel.HabilitarSincronizarAgora(false);

    std::unique_ptr<db::ConexaoErp> conexao;
    std::optional<std::string> falhaConexao;
    bool listagemObtida = true;
    std::exception_ptr erro;
    try {
        const auto local = db::ObterCaminhoBancoDados(ambiente.executavel.parent_path(), ambiente.avisos);
        try {
            conexao = db::ConectarBancoDados(local, ambiente.executavel, ambiente.caminhosAtualizacao);
        } catch (const ErroBancoDados& e) {
            falhaConexao = e.what();
        }
        painel.ExibirUltimaAtualizacao(DataHoraMinutos(std::chrono::system_clock::now()));
        log.LimparLog();
        log.GravarLog("Iniciando processamento...");
        if (falhaConexao) {
            log.GravarLog("Não foi possível conectar ao banco de dados: " + *falhaConexao);
        } else if (!db::AppForcaVendaHabilitado(*conexao)) {
            log.GravarLog("Processo não executado. O APP Força de Vendas não está habilitado");
        } else {
            ContextoSincronizacao contexto{*conexao, ConfiguracaoDaExecucao(ambiente.configuracoesApi, *conexao)};
            listagemObtida = ProcessarPedidosAppForcaVenda(contexto, ambiente.pedidos, log);
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
    painel.HabilitarSincronizarAgora(true);

    if (erro) std::rethrow_exception(erro);
    if (falhaConexao) return FimExecucao::SemConexao;
    return listagemObtida ? FimExecucao::Concluida : FimExecucao::SemListagem;
}

}  // namespace tessora::app
