#include "app/comandos/comando_historico.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string>

#include "app/configuracoes/configuracoes_historico.h"
#include "app/historico/formatos_historico.h"
#include "app/historico/instante_historico.h"

namespace tessora::app {

Resultado<OpcoesHistorico> LerOpcoesHistorico(std::span<const std::string_view> argumentos) {
    OpcoesHistorico opcoes;
    for (size_t i = 0; i < argumentos.size(); ++i) {
        const std::string_view argumento = argumentos[i];
        const std::optional<std::string_view> valor =
            i + 1 < argumentos.size() ? std::optional(argumentos[i + 1]) : std::nullopt;
        if (argumento == "--falhas") {
            opcoes.filtro.soFalhas = true;
        } else if (argumento == "--desde") {
            if (!valor) return Recusa{"--desde: falta a data (dd/mm/aaaa)"};
            opcoes.filtro.desde = InicioDoDiaLocal(*valor);
            if (!opcoes.filtro.desde)
                return Recusa{"--desde: \"" + std::string(*valor) + "\" não é uma data dd/mm/aaaa"};
            ++i;
        } else if (argumento == "--formato") {
            if (valor == "csv") {
                opcoes.formato = FormatoHistorico::Csv;
            } else if (valor == "json") {
                opcoes.formato = FormatoHistorico::Json;
            } else {
                return Recusa{"--formato: use csv ou json"};
            }
            ++i;
        } else {
            return Recusa{"argumento não reconhecido: \"" + std::string(argumento) + "\""};
        }
    }
    return opcoes;
}

int ComandoHistorico(const std::filesystem::path& executavel, const OpcoesHistorico& opcoes,
                     std::ostream& saida, std::ostream& erros) {
    try {
        LeituraHistorico historico(ObterArquivoHistorico(executavel));
        auto execucoes = historico.Execucoes(opcoes.filtro);
        switch (opcoes.formato) {
            case FormatoHistorico::Tabela:
                // Newest first, as the window's history shows them; CSV and JSON keep the
                // order that scripts already read.
                std::reverse(execucoes.begin(), execucoes.end());
                EscreverHistoricoTabela(execucoes, saida);
                break;
            case FormatoHistorico::Csv:
                EscreverHistoricoCsv(execucoes, saida);
                break;
            case FormatoHistorico::Json:
                EscreverHistoricoJson(execucoes, saida);
                break;
        }
    } catch (const std::exception& e) {
        erros << "Histórico indisponível: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}

}  // namespace tessora::app
