#include "app/apresentacao/status_processamento.h"

#include "app/apresentacao/descricao_falha.h"
#include "comum/data_hora.h"

namespace tessora::app {

namespace {
constexpr char kUltimo[] = "Último processamento: ";
constexpr char kProximo[] = "Próximo processamento: ";
// What the labels show before they have a time of their own.
constexpr char kSemHora[] = "00/00/0000 00:00:00";
}  // namespace

RotuloStatus UltimoProcessamentoInicial() { return {std::string(kUltimo) + kSemHora, "", false}; }

std::string ProximoProcessamentoInicial() { return std::string(kProximo) + kSemHora; }

RotuloStatus UltimoProcessamento(const ResumoExecucao& resumo) {
    const std::string falha = DescreverFalha(resumo);
    const std::string passo = ProximoPasso(resumo);
    return {kUltimo + DataHoraSegundos(resumo.inicio),
            falha.empty() ? "" : "Falhou: " + falha + (passo.empty() ? "" : "\n" + passo),
            !falha.empty()};
}

RotuloStatus UltimoProcessamentoNenhum() { return {std::string(kUltimo) + "nenhum", "", false}; }

RotuloStatus UltimoProcessamentoDesconhecido(const std::string& motivo) {
    return {std::string(kUltimo) + "desconhecido", "O histórico não pôde ser lido: " + motivo,
            false};
}

std::string ProximoProcessamento(std::optional<std::chrono::system_clock::time_point> quando) {
    return kProximo + (quando ? DataHoraSegundos(*quando) : std::string());
}

}  // namespace tessora::app
