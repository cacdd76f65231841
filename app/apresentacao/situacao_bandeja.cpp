#include "app/apresentacao/situacao_bandeja.h"

#include <cstdint>
#include <string>
#include <utility>

#include "app/apresentacao/descricao_falha.h"
#include "app/apresentacao/status_processamento.h"
#include "comum/avisos.h"

namespace tessora::app {

namespace {
std::string Pedidos(int32_t quantidade, const char* umPedido, const char* varios) {
    return quantidade == 1 ? std::string("1 ") + umPedido
                           : std::to_string(quantidade) + " " + varios;
}

std::string Resumo(const ResumoExecucao& resumo) {
    const RotuloStatus rotulo = UltimoProcessamento(resumo);
    std::string texto = rotulo.texto + "\n";
    if (rotulo.falha) return texto + rotulo.dica;
    if (resumo.pedidosProcessados == 0) return texto + "Nenhum novo pedido";
    texto += Pedidos(resumo.pedidosProcessados, "pedido processado", "pedidos processados");
    // Written all the same: told apart from the failures, never counted with them.
    if (resumo.pedidosComAviso > 0) {
        texto += ", " + std::to_string(resumo.pedidosComAviso) + " com aviso";
    }
    if (resumo.pedidosComFalha > 0) {
        texto += ", " + std::to_string(resumo.pedidosComFalha) + " com falha";
    }
    if (resumo.pedidosAdiados > 0) {
        texto += ", " + std::to_string(resumo.pedidosAdiados) + " adiado(s) por outra cópia";
    }
    return texto;
}

NotificacaoBandeja Notificacao(EstadoBandeja estado, const ResumoExecucao& resumo) {
    switch (estado) {
        case EstadoBandeja::PedidosComFalha:
            if (resumo.pedidosComFalha == 0) {
                return {"Pedidos adiados em " + std::to_string(kExecucoesComAdiadosToleradas) +
                            " execuções seguidas: outra cópia do programa está importando "
                            "pedidos neste banco de dados.",
                        true};
            }
            return {Pedidos(resumo.pedidosComFalha, "pedido não pôde ser incluído",
                            "pedidos não puderam ser incluídos") +
                        " no sistema. Veja \"Pedidos com falha\".",
                    true};
        case EstadoBandeja::SemComunicacao: {
            // With its kind known, the next step says more to the operator than the raw
            // reason, which the processing log keeps.
            const std::string passo = ProximoPasso(resumo);
            const std::string complemento = !passo.empty()          ? ". " + passo
                                            : resumo.motivo.empty() ? "."
                                                                    : ": " + resumo.motivo;
            return {"A sincronização falhou: " + DescreverFalha(resumo) + complemento, true};
        }
        case EstadoBandeja::Normal:
        case EstadoBandeja::EmExecucao:
        case EstadoBandeja::Desligada:
        case EstadoBandeja::Indefinido:
            break;
    }
    return {"A sincronização voltou a funcionar normalmente.", false};
}
}  // namespace

EstadoBandeja EstadoDasExecucoes(const ResumoExecucao& ultima, int execucoesComAdiados) {
    if (!ultima.Normal()) return EstadoBandeja::SemComunicacao;
    return ultima.pedidosComFalha > 0 || execucoesComAdiados >= kExecucoesComAdiadosToleradas
               ? EstadoBandeja::PedidosComFalha
               : EstadoBandeja::Normal;
}

void SituacaoBandeja::Restaurar(const SituacaoRegistrada& situacao) {
    execucoesComAdiados_ = situacao.execucoesComAdiados;
    if (!situacao.ultima) {
        resumoUltimaExecucao_ = "Nenhuma sincronização registrada";
        return;
    }
    ultimaExecucao_ = EstadoDasExecucoes(*situacao.ultima, execucoesComAdiados_);
    problema_ = situacao.ultima->problema;
    resumoUltimaExecucao_ = Resumo(*situacao.ultima);
}

void SituacaoBandeja::HistoricoIndisponivel() {
    resumoUltimaExecucao_ = "Situação desconhecida: o histórico não pôde ser lido";
}

void SituacaoBandeja::DefinirSincronizacaoAutomatica(bool ativa) { automatica_ = ativa; }

void SituacaoBandeja::ExecucaoIniciada() {
    emExecucao_ = true;
    progresso_.reset();
}

std::optional<NotificacaoBandeja> SituacaoBandeja::ExecucaoTerminada(const ResumoExecucao& resumo) {
    emExecucao_ = false;
    resumoUltimaExecucao_ = Resumo(resumo);
    execucoesComAdiados_ =
        resumo.Normal() && resumo.pedidosAdiados > 0 ? execucoesComAdiados_ + 1 : 0;
    const EstadoBandeja estado = EstadoDasExecucoes(resumo, execucoesComAdiados_);
    const std::optional<EstadoBandeja> anterior = std::exchange(ultimaExecucao_, estado);
    const std::optional<ProblemaExecucao> problemaAnterior =
        std::exchange(problema_, resumo.problema);
    // Another kind of trouble is another episode: what to check has changed.
    const bool mesmoEpisodio =
        estado == anterior.value_or(EstadoBandeja::Normal) &&
        (estado != EstadoBandeja::SemComunicacao || resumo.problema == problemaAnterior);
    if (mesmoEpisodio) return std::nullopt;
    return Notificacao(estado, resumo);
}

EstadoBandeja SituacaoBandeja::Estado() const {
    if (emExecucao_) return EstadoBandeja::EmExecucao;
    const EstadoBandeja ultima = ultimaExecucao_.value_or(EstadoBandeja::Indefinido);
    if (ultima == EstadoBandeja::PedidosComFalha || ultima == EstadoBandeja::SemComunicacao)
        return ultima;
    return automatica_ ? ultima : EstadoBandeja::Desligada;
}

std::string SituacaoBandeja::Dica() const {
    std::string dica(kTituloPrograma);
    if (emExecucao_) dica += "\n" + TextoEmExecucao(progresso_);
    if (!resumoUltimaExecucao_.empty()) dica += "\n" + resumoUltimaExecucao_;
    // Last: Windows cuts a long tooltip short, and this line matters least.
    if (!automatica_) dica += "\nSincronização automática desligada";
    return dica;
}

}  // namespace tessora::app
