#pragma once

#include <filesystem>
#include <ostream>
#include <span>
#include <string_view>

#include "app/historico/leitura_historico.h"
#include "comum/resultado.h"

namespace tessora::app {

enum class FormatoHistorico { Tabela, Csv, Json };

struct OpcoesHistorico {
    FiltroHistorico filtro;
    FormatoHistorico formato = FormatoHistorico::Tabela;
};

// The arguments after "--historico": "--falhas", "--desde dd/mm/yyyy", "--formato csv|json";
// refused, naming the argument, when one of them is not understood.
Resultado<OpcoesHistorico> LerOpcoesHistorico(std::span<const std::string_view> argumentos);

// Prints the history on `saida`. Returns 0, or 1 when the history cannot be read (the reason on
// `erros`).
int ComandoHistorico(const std::filesystem::path& executavel, const OpcoesHistorico& opcoes,
                     std::ostream& saida, std::ostream& erros);

}  // namespace tessora::app
