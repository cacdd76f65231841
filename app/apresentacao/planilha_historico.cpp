#include "app/apresentacao/planilha_historico.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/apresentacao/rotulos_historico.h"
#include "app/historico/instante_historico.h"

namespace tessora::app {

namespace {
constexpr char kMarcaUtf8[] = "\xEF\xBB\xBF";
// The run's columns, then the order's.
constexpr std::array<const char*, 13> kTitulos{"Início",
                                               "Término",
                                               "Origem",
                                               "Desfecho da execução",
                                               "Motivo",
                                               "Pedido",
                                               "Desfecho do pedido",
                                               "Falhas seguidas",
                                               "Chave ERP",
                                               "Número",
                                               "Cliente",
                                               "Mensagem",
                                               "Observação"};

std::string Opcional(const std::optional<int64_t>& valor) {
    return valor ? std::to_string(*valor) : std::string();
}

// A spreadsheet would run a field that begins like a formula (a customer's name from the app
// may): the apostrophe keeps it text. Fields that hold the separator, quotes or line breaks are
// quoted.
std::string Campo(const std::string& texto) {
    std::string campo = texto;
    if (!campo.empty() && std::string_view("=+-@\t\r").find(campo.front()) != std::string::npos) {
        campo.insert(0, 1, '\'');
    }
    if (campo.find_first_of(";\"\r\n") == std::string::npos) return campo;
    std::string citado = "\"";
    for (const char c : campo) citado += c == '"' ? std::string("\"\"") : std::string(1, c);
    return citado + "\"";
}

template <typename Campos>
void Linha(const Campos& campos, std::ostream& saida) {
    for (size_t i = 0; i < campos.size(); ++i) saida << (i ? ";" : "") << Campo(campos[i]);
    saida << "\r\n";
}
}  // namespace

void EscreverPlanilhaHistorico(const std::vector<ExecucaoRegistrada>& execucoes,
                               std::ostream& saida) {
    saida << kMarcaUtf8;
    Linha(kTitulos, saida);
    for (auto e = execucoes.rbegin(); e != execucoes.rend(); ++e) {
        const std::vector<std::string> execucao{
            InstanteLocal(e->inicio), e->termino ? InstanteLocal(*e->termino) : std::string(),
            std::string(RotuloOrigem(e->origem)), std::string(RotuloDesfechoExecucao(e->desfecho)),
            e->motivo};
        if (e->pedidos.empty()) {
            std::vector<std::string> linha = execucao;
            linha.resize(kTitulos.size());
            Linha(linha, saida);
        }
        for (const PedidoRegistrado& p : e->pedidos) {
            std::vector<std::string> linha = execucao;
            linha.insert(linha.end(),
                         {p.idApp, std::string(RotuloDesfechoPedido(p.desfecho)),
                          std::to_string(p.falhasSeguidas), Opcional(p.idNfComercio),
                          Opcional(p.nrNotaFiscal), p.cliente, p.mensagem, p.observacao});
            Linha(linha, saida);
        }
    }
}

}  // namespace tessora::app
