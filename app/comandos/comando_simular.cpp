#include "app/comandos/comando_simular.h"

#include <exception>
#include <string>
#include <vector>

#include "api/listagem_pedidos.h"
#include "app/comandos/comando_sincronizar.h"
#include "app/comandos/relatorio_previa.h"
#include "app/configuracoes/leitura_configuracoes.h"
#include "app/terminal/avisos_terminal.h"
#include "comum/erros.h"
#include "db/locais_erp.h"
#include "db/parametros_integracao.h"
#include "importacao/previa_pedido.h"

namespace tessora::app {

namespace {
// The preview of every listed order; false when one of them could not be read.
bool PreverPedidos(db::ConexaoErp& conexao, api::ClienteHttp& cliente,
                   const std::vector<std::string>& ids, std::ostream& saida) {
    ResumoPrevia resumo;
    importacao::GravacoesPrevistas anteriores;
    for (const std::string& id : ids) {
        try {
            const importacao::PreviaPedido previa =
                importacao::PreverPedido(conexao, cliente, id, anteriores);
            EscreverPrevia(previa, saida);
            resumo.Contar(previa);
        } catch (const std::exception& e) {
            EscreverErroPrevia(id, e.what(), saida);
            resumo.ContarErro();
        }
    }
    EscreverResumoPrevia(resumo, saida);
    return resumo.naoLidos == 0 && resumo.recusados == 0;
}
}  // namespace

int ComandoSimular(const std::filesystem::path& executavel, std::ostream& saida,
                   std::ostream& erros) {
    AvisosTerminal avisos(erros);
    try {
        const auto local = db::ObterCaminhoBancoDados(executavel.parent_path(), avisos);
        if (avisos.EncerramentoSolicitado()) return 1;
        db::ConexaoErp conexao(local.nomeBanco, db::ConexaoErp::Acesso::SomenteLeitura);
        try {
            conexao.Abrir();
        } catch (const ErroBancoDados& e) {
            erros << "Não foi possível conectar ao banco de dados: " << e.what() << std::endl;
            return 1;
        }
        if (!db::AppForcaVendaHabilitado(conexao)) {
            saida << "Processo não executado. O APP Força de Vendas não está habilitado"
                  << std::endl;
            return 0;
        }
        api::ClienteHttp cliente(ConfiguracaoDaExecucao(LerConfiguracoes(executavel).api, conexao));
        const api::ListagemPedidos listagem = api::ListarPedidosNovos(cliente);
        if (!listagem.Aceito()) {
            saida << "Não foi possível obter a lista de novos pedidos: " << listagem.Motivo()
                  << std::endl;
            return kSaidaSemListagem;
        }
        if (listagem.Valor().empty()) {
            saida << "Nenhum novo pedido encontrado." << std::endl;
            return 0;
        }
        const bool todosLidos = PreverPedidos(conexao, cliente, listagem.Valor(), saida);
        saida.flush();
        conexao.Fechar();
        return todosLidos ? 0 : 1;
    } catch (const std::exception& e) {
        erros << e.what() << std::endl;
        return 1;
    }
}

}  // namespace tessora::app
