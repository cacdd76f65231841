#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string_view>

#include "app/historico/leitura_historico.h"

namespace tessora::app {

enum class FormatoHistorico { Tabela, Csv, Json };

struct OpcoesHistorico {
    FiltroHistorico filtro;
    FormatoHistorico formato = FormatoHistorico::Tabela;
};

// The arguments after "--historico": "--falhas", "--desde dd/mm/yyyy", "--formato csv|json";
// nothing when one of them is not understood.
std::optional<OpcoesHistorico> LerOpcoesHistorico(std::span<const std::string_view> argumentos);

// Prints the history on `saida`. Returns 0, or 1 when the history cannot be read (the reason on
// `erros`).
int ComandoHistorico(const std::filesystem::path& executavel, const OpcoesHistorico& opcoes,
                     std::ostream& saida, std::ostream& erros);

}  // namespace tessora::app
