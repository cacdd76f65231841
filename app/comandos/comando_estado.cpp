#include "app/comandos/comando_estado.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "app/configuracoes/leitura_configuracoes.h"
#include "app/execucao/observador_execucao.h"
#include "app/historico/formatos_historico.h"
#include "app/historico/instante_historico.h"
#include "app/historico/leitura_historico.h"
#include "app/historico/texto_json.h"

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

// Why the synchronisation is not healthy; empty when it is.
std::vector<std::string> Problemas(const std::vector<ExecucaoRegistrada>& ultimas,
                                   const std::vector<PedidoEmFalha>& falhas, int64_t agora,
                                   std::chrono::hours tolerancia) {
    std::vector<std::string> problemas;
    const auto terminada =
        std::find_if(ultimas.begin(), ultimas.end(),
                     [](const ExecucaoRegistrada& e) { return e.termino.has_value(); });
    if (terminada == ultimas.end()) {
        problemas.push_back("Nenhuma execução terminada no histórico.");
    } else if (terminada->desfecho != "normal") {
        problemas.push_back("A última execução não terminou normalmente (" + terminada->desfecho +
                            ")" + (terminada->motivo.empty() ? "." : ": " + terminada->motivo));
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
    const int64_t limite = agora - std::chrono::seconds(tolerancia).count();
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
    const ConfiguracoesHistorico configuracoes = LerConfiguracoes(executavel).historico;
    std::vector<std::string> execucoes, pedidos, problemas;
    try {
        LeituraHistorico historico(configuracoes.arquivo);
        const auto ultimas = historico.UltimasExecucoes(kUltimasExecucoes);
        const auto falhas = historico.PedidosEmFalha();
        for (const auto& e : ultimas) execucoes.push_back(ExecucaoJson(e));
        for (const auto& p : falhas) pedidos.push_back(PedidoEmFalhaJson(p));
        problemas =
            Problemas(ultimas, falhas, SegundosHistorico(agora), configuracoes.horasFalhaTolerada);
    } catch (const std::exception& e) {
        problemas.push_back(std::string("Histórico indisponível: ") + e.what());
    }
    std::vector<std::string> motivos;
    for (const auto& p : problemas) motivos.push_back(TextoJson(p));
    saida << "{\"saudavel\":" << (problemas.empty() ? "true" : "false")
          << ",\n\"horas_falha_tolerada\":" << configuracoes.horasFalhaTolerada.count()
          << ",\n\"problemas\":" << ListaJson(motivos)
          << ",\n\"ultimas_execucoes\":" << ListaJson(execucoes)
          << ",\n\"pedidos_em_falha\":" << ListaJson(pedidos) << "}\n";
    return problemas.empty() ? 0 : 1;
}

}  // namespace tessora::app
