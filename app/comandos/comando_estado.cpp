#include "app/comandos/comando_estado.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "app/apresentacao/orientacao_problema.h"
#include "app/apresentacao/situacao_bandeja.h"
#include "app/configuracoes/leitura_configuracoes.h"
#include "app/execucao/observador_execucao.h"
#include "app/historico/esquema_historico.h"
#include "app/historico/formatos_historico.h"
#include "app/historico/instante_historico.h"
#include "app/historico/leitura_historico.h"
#include "app/historico/situacao_registrada.h"
#include "app/historico/texto_json.h"
#include "app/servico/intervalo_sincronizacao.h"
#include "comum/texto.h"

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

std::string ProblemaJson(const std::optional<ProblemaExecucao>& problema) {
    if (!problema) return "null";
    const OrientacaoProblema orientacao = Orientar(*problema);
    return "{\"codigo\":" + TextoJson(CodigoProblema(problema)) +
           ",\"descricao\":" + TextoJson(orientacao.descricao) +
           ",\"proximo_passo\":" + TextoJson(orientacao.proximoPasso) + "}";
}

// The reasons of an order written with a warning, on one line.
std::string AvisoJson(const PedidoRegistrado& p) {
    std::string aviso;
    for (const char c : AparaBrancos(p.observacao)) {
        if (c == '\r') continue;
        aviso += c == '\n' ? std::string("; ") : std::string(1, c);
    }
    return "{\"id_app\":" + TextoJson(p.idApp) + ",\"aviso\":" + TextoJson(aviso) + "}";
}

// How the latest finished run leaves things, by the tray icon's own rule.
void ProblemasDaUltima(const SituacaoRegistrada& situacao, std::vector<std::string>& problemas) {
    const ResumoExecucao& ultima = *situacao.ultima;
    switch (EstadoDasExecucoes(ultima, situacao.execucoesComAdiados)) {
        case EstadoBandeja::SemComunicacao: {
            std::string linha = "A última execução não terminou normalmente (" +
                                std::string(CodigoFim(ultima)) + ")" +
                                (ultima.motivo.empty() ? "." : ": " + ultima.motivo);
            if (ultima.problema) {
                const OrientacaoProblema orientacao = Orientar(*ultima.problema);
                linha += " Problema: " + orientacao.descricao + ". " + orientacao.proximoPasso;
            }
            problemas.push_back(linha);
            break;
        }
        case EstadoBandeja::PedidosComFalha:
            if (ultima.pedidosComFalha > 0) {
                problemas.push_back("A última execução não incluiu " +
                                    std::to_string(ultima.pedidosComFalha) + " pedido(s).");
            }
            if (situacao.execucoesComAdiados >= kExecucoesComAdiadosToleradas) {
                problemas.push_back("Pedidos adiados nas últimas " +
                                    std::to_string(kExecucoesComAdiadosToleradas) +
                                    " execuções: outra cópia do programa está importando pedidos "
                                    "neste banco de dados.");
            }
            break;
        case EstadoBandeja::Normal:
        case EstadoBandeja::EmExecucao:
        case EstadoBandeja::Desligada:
        case EstadoBandeja::Indefinido:
            break;
    }
}

// Why the synchronisation is not healthy; empty when it is.
std::vector<std::string> Problemas(const std::vector<ExecucaoRegistrada>& ultimas,
                                   const SituacaoRegistrada& situacao, int64_t agora,
                                   const ConfiguracoesPrograma& configuracoes) {
    std::vector<std::string> problemas;
    if (!situacao.ultima) {
        problemas.push_back("Nenhuma execução terminada no histórico.");
    } else {
        ProblemasDaUltima(situacao, problemas);
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
    const int64_t limite =
        agora - std::chrono::seconds(configuracoes.historico.horasFalhaTolerada).count();
    for (const PedidoEmFalha& p : situacao.pedidosEmFalha) {
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
    std::vector<std::string> execucoes, pedidos, avisos, problemas;
    std::optional<ProblemaExecucao> problema;
    try {
        LeituraHistorico historico(configuracoes.historico.arquivo);
        const auto ultimas = historico.UltimasExecucoes(kUltimasExecucoes);
        const SituacaoRegistrada situacao = LerSituacaoRegistrada(historico);
        for (const auto& e : ultimas) execucoes.push_back(ExecucaoJson(e));
        for (const auto& p : situacao.pedidosEmFalha) pedidos.push_back(PedidoEmFalhaJson(p));
        for (const auto& p : situacao.pedidosComAviso) avisos.push_back(AvisoJson(p));
        if (situacao.ultima) problema = situacao.ultima->problema;
        problemas = Problemas(ultimas, situacao, SegundosHistorico(agora), configuracoes);
    } catch (const std::exception& e) {
        problemas.push_back(std::string("Histórico indisponível: ") + e.what());
    }
    std::vector<std::string> motivos;
    for (const auto& p : problemas) motivos.push_back(TextoJson(p));
    saida << "{\"saudavel\":" << (problemas.empty() ? "true" : "false")
          << ",\n\"horas_falha_tolerada\":" << configuracoes.historico.horasFalhaTolerada.count()
          << ",\n\"problemas\":" << ListaJson(motivos)
          << ",\n\"problema\":" << ProblemaJson(problema)
          << ",\n\"ultimas_execucoes\":" << ListaJson(execucoes)
          << ",\n\"pedidos_em_falha\":" << ListaJson(pedidos)
          << ",\n\"pedidos_com_aviso\":" << ListaJson(avisos) << "}\n";
    return problemas.empty() ? 0 : 1;
}

}  // namespace tessora::app
