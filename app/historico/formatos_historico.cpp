#include "app/historico/formatos_historico.h"

#include <algorithm>
#include <string>

#include "app/historico/instante_historico.h"
#include "app/historico/texto_json.h"
#include "comum/texto.h"

namespace tessora::app {

namespace {
std::string Opcional(const std::optional<int64_t>& valor) {
    return valor ? std::to_string(*valor) : std::string();
}

std::string SimNao(const std::optional<int64_t>& valor) {
    if (!valor) return {};
    return *valor ? "sim" : "não";
}

size_t Caracteres(const std::string& texto) {
    return static_cast<size_t>(std::count_if(texto.begin(), texto.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

void EscreverLinhas(const std::vector<std::vector<std::string>>& linhas, std::ostream& saida) {
    std::vector<size_t> larguras;
    for (const auto& linha : linhas) {
        larguras.resize(std::max(larguras.size(), linha.size()));
        for (size_t i = 0; i < linha.size(); ++i)
            larguras[i] = std::max(larguras[i], Caracteres(linha[i]));
    }
    for (const auto& linha : linhas) {
        std::string texto = "  ";
        for (size_t i = 0; i < linha.size(); ++i) {
            texto += linha[i];
            if (i + 1 < linha.size())
                texto += std::string(larguras[i] - Caracteres(linha[i]) + 2, ' ');
        }
        texto.erase(texto.find_last_not_of(' ') + 1);  // an empty last column leaves no blanks
        saida << texto << '\n';
    }
}

std::string CampoCsv(const std::string& campo) {
    if (campo.find_first_of(",\"\r\n") == std::string::npos) return campo;
    std::string texto = "\"";
    for (const char c : campo) texto += c == '"' ? std::string("\"\"") : std::string(1, c);
    return texto + "\"";
}

void LinhaCsv(const std::vector<std::string>& campos, std::ostream& saida) {
    for (size_t i = 0; i < campos.size(); ++i) saida << (i ? "," : "") << CampoCsv(campos[i]);
    saida << "\r\n";
}

std::string InstanteOuNulo(const std::optional<int64_t>& segundos) {
    return segundos ? TextoJson(InstanteIso(*segundos)) : "null";
}
}  // namespace

void EscreverHistoricoTabela(const std::vector<ExecucaoRegistrada>& execucoes,
                             std::ostream& saida) {
    for (const ExecucaoRegistrada& e : execucoes) {
        saida << "Execução " << e.id << " (" << e.origem << "): " << InstanteLocal(e.inicio)
              << " a " << (e.termino ? InstanteLocal(*e.termino) : "?") << ", "
              << (e.desfecho.empty() ? "sem término" : e.desfecho)
              << (e.motivo.empty() ? "" : ": " + NumaLinha(e.motivo)) << '\n'
              << "  incluídos " << e.incluidos
              << (e.comAviso ? " (com aviso " + std::to_string(e.comAviso) + ")" : "")
              << ", já incluídos " << e.jaIncluidos << ", adiados " << e.adiados
              << ", não incluídos " << e.naoIncluidos << ", erros " << e.erros << '\n';
        if (e.pedidos.empty()) continue;
        // The remarks' column only for a run that has one: most never do.
        const bool comObservacao =
            std::any_of(e.pedidos.begin(), e.pedidos.end(),
                        [](const PedidoRegistrado& p) { return !p.observacao.empty(); });
        std::vector<std::vector<std::string>> linhas{{"Pedido", "Desfecho", "Falhas seguidas",
                                                      "Chave ERP", "Número", "Cliente cadastrado",
                                                      "Mensagem"}};
        if (comObservacao) linhas.front().push_back("Observação");
        for (const PedidoRegistrado& p : e.pedidos) {
            linhas.push_back({p.idApp, p.desfecho, std::to_string(p.falhasSeguidas),
                              Opcional(p.idNfComercio), Opcional(p.nrNotaFiscal),
                              SimNao(p.clienteCadastrado), NumaLinha(p.mensagem)});
            if (comObservacao) linhas.back().push_back(NumaLinha(p.observacao));
        }
        EscreverLinhas(linhas, saida);
    }
}

void EscreverHistoricoCsv(const std::vector<ExecucaoRegistrada>& execucoes, std::ostream& saida) {
    LinhaCsv({"execucao", "origem", "inicio", "termino", "desfecho_execucao", "motivo", "pedido",
              "desfecho", "mensagem", "id_nf_comercio", "nr_nota_fiscal", "cliente_cadastrado",
              "falhas_seguidas", "observacao"},
             saida);
    for (const ExecucaoRegistrada& e : execucoes) {
        const std::vector<std::string> execucao{std::to_string(e.id),
                                                e.origem,
                                                InstanteIso(e.inicio),
                                                e.termino ? InstanteIso(*e.termino) : "",
                                                e.desfecho,
                                                e.motivo};
        if (e.pedidos.empty()) {
            std::vector<std::string> linha = execucao;
            linha.resize(14);
            LinhaCsv(linha, saida);
        }
        for (const PedidoRegistrado& p : e.pedidos) {
            std::vector<std::string> linha = execucao;
            linha.insert(linha.end(), {p.idApp, p.desfecho, p.mensagem, Opcional(p.idNfComercio),
                                       Opcional(p.nrNotaFiscal), Opcional(p.clienteCadastrado),
                                       std::to_string(p.falhasSeguidas), p.observacao});
            LinhaCsv(linha, saida);
        }
    }
}

std::string ExecucaoJson(const ExecucaoRegistrada& e) {
    return "{\"id\":" + std::to_string(e.id) + ",\"origem\":" + TextoJson(e.origem) +
           ",\"inicio\":" + TextoJson(InstanteIso(e.inicio)) +
           ",\"termino\":" + InstanteOuNulo(e.termino) +
           ",\"desfecho\":" + (e.desfecho.empty() ? "null" : TextoJson(e.desfecho)) +
           ",\"motivo\":" + TextoJson(e.motivo) + ",\"incluidos\":" + std::to_string(e.incluidos) +
           ",\"com_aviso\":" + std::to_string(e.comAviso) +
           ",\"ja_incluidos\":" + std::to_string(e.jaIncluidos) +
           ",\"adiados\":" + std::to_string(e.adiados) +
           ",\"nao_incluidos\":" + std::to_string(e.naoIncluidos) +
           ",\"erros\":" + std::to_string(e.erros) + "}";
}

void EscreverHistoricoJson(const std::vector<ExecucaoRegistrada>& execucoes, std::ostream& saida) {
    saida << "{\"execucoes\":[";
    for (size_t i = 0; i < execucoes.size(); ++i) {
        const ExecucaoRegistrada& e = execucoes[i];
        std::string execucao = ExecucaoJson(e);
        execucao.pop_back();  // the orders go inside
        saida << (i ? ",\n" : "\n") << execucao << ",\"pedidos\":[";
        for (size_t j = 0; j < e.pedidos.size(); ++j) {
            const PedidoRegistrado& p = e.pedidos[j];
            const std::string cliente =
                p.clienteCadastrado ? (*p.clienteCadastrado ? "true" : "false") : "null";
            saida << (j ? "," : "") << "{\"id_app\":" << TextoJson(p.idApp)
                  << ",\"desfecho\":" << TextoJson(p.desfecho)
                  << ",\"mensagem\":" << TextoJson(p.mensagem)
                  << ",\"id_nf_comercio\":" << NumeroJson(p.idNfComercio)
                  << ",\"nr_nota_fiscal\":" << NumeroJson(p.nrNotaFiscal)
                  << ",\"cliente_cadastrado\":" << cliente
                  << ",\"falhas_seguidas\":" << p.falhasSeguidas
                  << ",\"observacao\":" << TextoJson(p.observacao) << "}";
        }
        saida << "]}";
    }
    saida << "\n]}\n";
}

}  // namespace tessora::app
