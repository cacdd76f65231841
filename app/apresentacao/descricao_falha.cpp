#include "app/apresentacao/descricao_falha.h"

namespace tessora::app {

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

}  // namespace tessora::app
