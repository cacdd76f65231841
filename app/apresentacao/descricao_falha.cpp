#include "app/apresentacao/descricao_falha.h"

#include "app/apresentacao/orientacao_problema.h"

namespace tessora::app {

std::string DescreverFalha(const ResumoExecucao& resumo) {
    if (resumo.Normal()) return {};
    if (resumo.problema) return Orientar(*resumo.problema).descricao;
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

std::string ProximoPasso(const ResumoExecucao& resumo) {
    if (resumo.Normal() || !resumo.problema) return {};
    return Orientar(*resumo.problema).proximoPasso;
}

}  // namespace tessora::app
