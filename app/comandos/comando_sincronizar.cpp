#include "app/comandos/comando_sincronizar.h"

#include <exception>

#include "app/configuracoes/leitura_configuracoes.h"
#include "app/historico/historico_execucoes.h"
#include "app/servico/arquivo_lock.h"
#include "app/terminal/avisos_terminal.h"
#include "app/terminal/painel_terminal.h"
#include "db/locais_erp.h"

namespace tessora::app {

int ComandoSincronizar(const std::filesystem::path& executavel, PedidosAppForcaVenda& pedidos,
                       std::ostream& saida, std::ostream& erros,
                       std::optional<std::string> pedido) {
    AvisosTerminal avisos(erros);
    PainelTerminal painel(saida);
    db::CaminhosAtualizacao caminhos;
    const ConfiguracoesPrograma configuracoes = LerConfiguracoes(executavel);
    HistoricoExecucoes historico(configuracoes.historico);
    AmbienteExecucao ambiente{executavel,
                              configuracoes.api,
                              avisos,
                              painel,
                              pedidos,
                              caminhos,
                              OrigemExecucao::LinhaComando,
                              &historico};
    ambiente.pedido = std::move(pedido);
    try {
        // Two runs on one ERP at once could import the same order twice.
        const std::string pastaDados = db::ObterPastaDados(executavel.parent_path(), avisos);
        if (avisos.EncerramentoSolicitado()) return 1;
        const auto lock = ArquivoLock::Adquirir(executavel, pastaDados);
        if (!lock) {
            erros << MensagemOutraCopia(executavel) << std::endl;
            return 1;
        }
        const ResumoExecucao resumo = ProcessarAppForcaVenda(ambiente);
        if (!resumo.fim) {
            erros << resumo.motivo << std::endl;
            return 1;
        }
        switch (*resumo.fim) {
            case FimExecucao::Concluida:
                erros << "Pedidos: " << resumo.pedidosIncluidos << " incluído(s) ("
                      << resumo.pedidosComAviso << " com aviso), " << resumo.pedidosComFalha
                      << " com falha, " << resumo.pedidosAdiados << " adiado(s)." << std::endl;
                if (resumo.pedidosComFalha > 0) return kSaidaPedidosComFalha;
                break;
            case FimExecucao::SemConexao:
                erros << "A sincronização não foi executada: sem conexão com o banco de dados."
                      << std::endl;
                return 1;
            case FimExecucao::SemListagem:
                erros << "A sincronização não foi concluída: não foi possível obter a lista de "
                         "novos pedidos."
                      << std::endl;
                return kSaidaSemListagem;
        }
    } catch (const std::exception& e) {
        erros << e.what() << std::endl;
        return 1;
    }
    return avisos.EncerramentoSolicitado() ? 1 : 0;
}

}  // namespace tessora::app
