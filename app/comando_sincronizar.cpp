#include "app/comando_sincronizar.h"

#include <exception>

#include "app/arquivo_lock.h"
#include "app/avisos_terminal.h"
#include "app/configuracoes_api.h"
#include "app/historico_execucoes.h"
#include "app/painel_terminal.h"
#include "db/locais_erp.h"

namespace tessora::app {

int ComandoSincronizar(const std::filesystem::path& executavel, PedidosAppForcaVenda& pedidos,
                       std::ostream& saida, std::ostream& erros) {
    AvisosTerminal avisos(erros);
    PainelTerminal painel(saida);
    db::CaminhosAtualizacao caminhos;
    HistoricoExecucoes historico(LerConfiguracoesHistorico(executavel));
    const AmbienteExecucao ambiente{
        executavel, LerConfiguracoesApi(executavel), avisos,    painel, pedidos,
        caminhos,   OrigemExecucao::LinhaComando,    &historico};
    try {
        // Two runs on one ERP at once could import the same order twice.
        const std::string pastaDados = db::ObterPastaDados(executavel.parent_path(), avisos);
        if (avisos.EncerramentoSolicitado()) return 1;
        const auto lock = ArquivoLock::Adquirir(executavel, pastaDados);
        if (!lock) {
            erros << MensagemOutraCopia(executavel) << std::endl;
            return 1;
        }
        switch (ProcessarAppForcaVenda(ambiente)) {
            case FimExecucao::Concluida:
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
