#include "db/conectar_banco.h"

namespace tessora::db {

std::unique_ptr<ConexaoErp> ConectarBancoDados(const LocalBancoDados& local,
                                               const std::filesystem::path& executavel,
                                               CaminhosAtualizacao& caminhos,
                                               std::string_view processo) {
    auto conexao = std::make_unique<ConexaoErp>(local.nomeBanco);
    conexao->DefinirProcesso(std::string(processo));
    conexao->Abrir();
    caminhos = DefinirCaminhosAtualizacao(local.localIniServidor, executavel);
    return conexao;
}

void DesconectarBancoDados(std::unique_ptr<ConexaoErp>& conexao) {
    if (!conexao) return;
    const auto liberar = std::move(conexao);
    liberar->Fechar();
}

}  // namespace tessora::db
