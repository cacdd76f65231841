#include "app/historico/situacao_registrada.h"

#include <algorithm>
#include <iterator>

#include "app/historico/esquema_historico.h"

namespace tessora::app {

namespace {
// Enough runs to see a streak of runs that left orders to another copy, past the runs that
// were still going or cut short.
constexpr int kExecucoesLidas = 2 * kExecucoesComAdiadosToleradas + 8;

std::optional<FimExecucao> FimDoCodigo(const std::string& codigo) {
    if (codigo == CodigoFim({{}, FimExecucao::SemConexao})) return FimExecucao::SemConexao;
    if (codigo == CodigoFim({{}, FimExecucao::SemListagem})) return FimExecucao::SemListagem;
    if (codigo == CodigoFim({{}, FimExecucao::Concluida})) return FimExecucao::Concluida;
    return std::nullopt;  // an error ended it
}

std::chrono::system_clock::time_point Instante(int64_t segundos) {
    return std::chrono::system_clock::time_point(std::chrono::seconds(segundos));
}

int32_t Contagem(int64_t quantidade) { return static_cast<int32_t>(quantidade); }
}  // namespace

ResumoExecucao ResumoRegistrado(const ExecucaoRegistrada& e) {
    ResumoExecucao resumo{Instante(e.inicio), FimDoCodigo(e.desfecho)};
    resumo.termino = Instante(e.termino.value_or(e.inicio));
    resumo.motivo = e.motivo;
    resumo.pedidosProcessados =
        Contagem(e.incluidos + e.jaIncluidos + e.adiados + e.naoIncluidos + e.erros);
    resumo.pedidosIncluidos = Contagem(e.incluidos);
    resumo.pedidosComFalha = Contagem(e.Falhas());
    resumo.pedidosAdiados = Contagem(e.adiados);
    resumo.pedidosComAviso = Contagem(e.comAviso);
    resumo.problema = ProblemaDoCodigo(e.problema);
    return resumo;
}

SituacaoRegistrada LerSituacaoRegistrada(LeituraHistorico& historico) {
    SituacaoRegistrada situacao;
    std::optional<ExecucaoRegistrada> ultima;
    for (const ExecucaoRegistrada& e : historico.UltimasExecucoes(kExecucoesLidas)) {
        if (!e.termino) continue;
        if (!ultima) ultima = e;
        if (e.desfecho != CodigoFim({{}, FimExecucao::Concluida}) || e.adiados == 0) break;
        ++situacao.execucoesComAdiados;
    }
    situacao.pedidosEmFalha = historico.PedidosEmFalha();
    if (!ultima) return situacao;
    situacao.ultima = ResumoRegistrado(*ultima);
    if (ultima->comAviso > 0) {
        FiltroHistorico filtro;
        filtro.desde = ultima->inicio;
        for (const ExecucaoRegistrada& e : historico.Execucoes(filtro)) {
            if (e.id != ultima->id) continue;
            std::copy_if(e.pedidos.begin(), e.pedidos.end(),
                         std::back_inserter(situacao.pedidosComAviso),
                         [](const PedidoRegistrado& p) { return p.ComAviso(); });
        }
    }
    return situacao;
}

}  // namespace tessora::app
