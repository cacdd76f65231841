#include "app/comandos/comando_historico.h"

#include <exception>

#include "app/configuracoes/configuracoes_historico.h"
#include "app/historico/formatos_historico.h"
#include "app/historico/instante_historico.h"

namespace tessora::app {

std::optional<OpcoesHistorico> LerOpcoesHistorico(std::span<const std::string_view> argumentos) {
    OpcoesHistorico opcoes;
    for (size_t i = 0; i < argumentos.size(); ++i) {
        const std::string_view argumento = argumentos[i];
        const bool comValor = i + 1 < argumentos.size();
        if (argumento == "--falhas") {
            opcoes.filtro.soFalhas = true;
        } else if (argumento == "--desde" && comValor) {
            opcoes.filtro.desde = InicioDoDiaLocal(argumentos[++i]);
            if (!opcoes.filtro.desde) return std::nullopt;
        } else if (argumento == "--formato" && comValor && argumentos[i + 1] == "csv") {
            opcoes.formato = FormatoHistorico::Csv;
            ++i;
        } else if (argumento == "--formato" && comValor && argumentos[i + 1] == "json") {
            opcoes.formato = FormatoHistorico::Json;
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return opcoes;
}

int ComandoHistorico(const std::filesystem::path& executavel, const OpcoesHistorico& opcoes,
                     std::ostream& saida, std::ostream& erros) {
    try {
        LeituraHistorico historico(ObterArquivoHistorico(executavel));
        const auto execucoes = historico.Execucoes(opcoes.filtro);
        switch (opcoes.formato) {
            case FormatoHistorico::Tabela:
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
