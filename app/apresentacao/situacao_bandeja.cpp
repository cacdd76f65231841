#include "app/apresentacao/situacao_bandeja.h"

#include <cstdint>
#include <string>
#include <utility>

#include "app/apresentacao/descricao_falha.h"
#include "app/apresentacao/status_processamento.h"
#include "comum/avisos.h"

namespace tessora::app {

namespace {
EstadoBandeja EstadoDoFim(const ResumoExecucao& resumo, int execucoesComAdiados) {
    if (!resumo.Normal()) return EstadoBandeja::SemComunicacao;
    return resumo.pedidosComFalha > 0 || execucoesComAdiados >= kExecucoesComAdiadosToleradas
               ? EstadoBandeja::PedidosComFalha
               : EstadoBandeja::Normal;
}

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
                        " no sistema. Veja a página \"2. Histórico\".",
                    true};
        case EstadoBandeja::SemComunicacao:
            return {"A sincronização falhou: " + DescreverFalha(resumo) +
                        (resumo.motivo.empty() ? "." : ": " + resumo.motivo),
                    true};
        case EstadoBandeja::Normal:
        case EstadoBandeja::EmExecucao:
            break;
    }
    return {"A sincronização voltou a funcionar normalmente.", false};
}
}  // namespace

void SituacaoBandeja::ExecucaoIniciada() {
    emExecucao_ = true;
    progresso_.reset();
}

std::optional<NotificacaoBandeja> SituacaoBandeja::ExecucaoTerminada(const ResumoExecucao& resumo) {
    emExecucao_ = false;
    resumoUltimaExecucao_ = Resumo(resumo);
    execucoesComAdiados_ =
        resumo.Normal() && resumo.pedidosAdiados > 0 ? execucoesComAdiados_ + 1 : 0;
    const EstadoBandeja anterior =
        std::exchange(ultimaExecucao_, EstadoDoFim(resumo, execucoesComAdiados_));
    if (ultimaExecucao_ == anterior) return std::nullopt;
    return Notificacao(ultimaExecucao_, resumo);
}

EstadoBandeja SituacaoBandeja::Estado() const {
    return emExecucao_ ? EstadoBandeja::EmExecucao : ultimaExecucao_;
}

std::string SituacaoBandeja::Dica() const {
    std::string dica(kTituloPrograma);
    if (emExecucao_) dica += "\n" + TextoEmExecucao(progresso_);
    if (!resumoUltimaExecucao_.empty()) dica += "\n" + resumoUltimaExecucao_;
    return dica;
}

}  // namespace tessora::app
