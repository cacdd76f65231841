#include "app/comandos/comando_estado.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "app/configuracoes/leitura_configuracoes.h"
#include "app/execucao/observador_execucao.h"
#include "app/historico/formatos_historico.h"
#include "app/historico/instante_historico.h"
#include "app/historico/leitura_historico.h"
#include "app/historico/texto_json.h"
#include "app/servico/intervalo_sincronizacao.h"

namespace tessora::app {

namespace {
constexpr int kUltimasExecucoes = 10;

std::string ListaJson(const std::vector<std::string>& itens) {
    std::string json = "[";
    for (size_t i = 0; i < itens.size(); ++i) json += (i ? ",\n  " : "\n  ") + itens[i];
    return json + (itens.empty() ? "]" : "\n]");
}

std::string PedidoEmFalhaJson(const PedidoEmFalha& p) {
    return "{\"id_app\":" + TextoJson(p.idApp) +
           ",\"falhas_seguidas\":" + std::to_string(p.falhasSeguidas) +
           ",\"desde\":" + TextoJson(InstanteIso(p.desde)) +
           ",\"ultima_falha\":" + TextoJson(InstanteIso(p.ultimaFalha)) +
           ",\"mensagem\":" + TextoJson(p.mensagem) + "}";
}

// How long automatic runs may be missing before they count as stopped: three intervals, at most
// a day. Nothing when the settings arm no automatic run.
std::optional<std::chrono::seconds> AusenciaTolerada(const ConfiguracoesServico& servico) {
    if (!servico.processoAtivo) return std::nullopt;
    std::optional<std::chrono::milliseconds> intervalo;
    try {
        intervalo = IntervaloSincronizacao(servico.tempoEsperaAtualizacao);
    } catch (const std::exception&) {
        return std::chrono::hours(24);  // the service cannot arm its timer either
    }
    if (!intervalo) return std::nullopt;
    return std::min<std::chrono::seconds>(
        std::chrono::duration_cast<std::chrono::seconds>(3 * *intervalo), std::chrono::hours(24));
}

// Why the synchronisation is not healthy; empty when it is.
std::vector<std::string> Problemas(const std::vector<ExecucaoRegistrada>& ultimas,
                                   const std::vector<PedidoEmFalha>& falhas, int64_t agora,
                                   const ConfiguracoesPrograma& configuracoes) {
    std::vector<std::string> problemas;
    const auto terminada =
        std::find_if(ultimas.begin(), ultimas.end(),
                     [](const ExecucaoRegistrada& e) { return e.termino.has_value(); });
    if (terminada == ultimas.end()) {
        problemas.push_back("Nenhuma execução terminada no histórico.");
    } else if (terminada->desfecho != "normal") {
        problemas.push_back("A última execução não terminou normalmente (" + terminada->desfecho +
                            ")" + (terminada->motivo.empty() ? "." : ": " + terminada->motivo));
    } else if (terminada->Falhas() > 0) {
        // As the tray icon turns amber.
        problemas.push_back("A última execução não incluiu " + std::to_string(terminada->Falhas()) +
                            " pedido(s).");
    }
    if (const auto ausencia = AusenciaTolerada(configuracoes.servico);
        ausencia && !ultimas.empty()) {
        const ExecucaoRegistrada& ultima = ultimas.front();
        const int64_t vista = ultima.termino.value_or(ultima.inicio);
        if (vista < agora - ausencia->count()) {
            problemas.push_back("As execuções automáticas pararam: a última foi em " +
                                InstanteLocal(ultima.inicio) + ".");
        }
    }
    int comAdiados =
        0;  // finished runs in a row, from the latest, that left orders to another copy
    for (const ExecucaoRegistrada& e : ultimas) {
        if (!e.termino) continue;
        if (e.adiados == 0) break;
        ++comAdiados;
    }
    if (comAdiados >= kExecucoesComAdiadosToleradas) {
        problemas.push_back("Pedidos adiados nas últimas " +
                            std::to_string(kExecucoesComAdiadosToleradas) +
                            " execuções: outra cópia do programa está importando pedidos neste "
                            "banco de dados.");
    }
    const int64_t limite =
        agora - std::chrono::seconds(configuracoes.historico.horasFalhaTolerada).count();
    for (const PedidoEmFalha& p : falhas) {
        if (p.desde < limite) {
            problemas.push_back("O pedido " + p.idApp + " falha desde " + InstanteLocal(p.desde) +
                                ".");
        }
    }
    return problemas;
}
}  // namespace

int ComandoEstado(const std::filesystem::path& executavel, std::ostream& saida,
                  std::chrono::system_clock::time_point agora) {
    const ConfiguracoesPrograma configuracoes = LerConfiguracoes(executavel);
    std::vector<std::string> execucoes, pedidos, problemas;
    try {
        LeituraHistorico historico(configuracoes.historico.arquivo);
        const auto ultimas = historico.UltimasExecucoes(kUltimasExecucoes);
        const auto falhas = historico.PedidosEmFalha();
        for (const auto& e : ultimas) execucoes.push_back(ExecucaoJson(e));
        for (const auto& p : falhas) pedidos.push_back(PedidoEmFalhaJson(p));
        problemas = Problemas(ultimas, falhas, SegundosHistorico(agora), configuracoes);
    } catch (const std::exception& e) {
        problemas.push_back(std::string("Histórico indisponível: ") + e.what());
    }
    std::vector<std::string> motivos;
    for (const auto& p : problemas) motivos.push_back(TextoJson(p));
    saida << "{\"saudavel\":" << (problemas.empty() ? "true" : "false")
          << ",\n\"horas_falha_tolerada\":" << configuracoes.historico.horasFalhaTolerada.count()
          << ",\n\"problemas\":" << ListaJson(motivos)
          << ",\n\"ultimas_execucoes\":" << ListaJson(execucoes)
          << ",\n\"pedidos_em_falha\":" << ListaJson(pedidos) << "}\n";
    return problemas.empty() ? 0 : 1;
}

}  // namespace tessora::app
