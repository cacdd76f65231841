#include "db/procedimentos.h"

#include <utility>

#include "comum/erros.h"
#include "comum/inteiros.h"
#include "db/consulta.h"

namespace tessora::db {

namespace {
std::string ExecutarLendoId(ConexaoErp& conexao, std::string_view procedimento) {
    Consulta consulta(conexao);
    AbrirConsulta(consulta, "execute procedure " + std::string(procedimento));
    auto id = consulta.Valor("ID");
    if (!id) throw ErroBancoDados(std::string(procedimento) + " não devolveu ID");
    return std::move(*id);
}
}  // namespace

int32_t IdDoProcedimento(ConexaoErp& conexao, std::string_view procedimento) {
    return ExigirInteiro(ExecutarLendoId(conexao, procedimento), InteiroEntreBrancos);
}

std::string IdDoProcedimentoComoTexto(ConexaoErp& conexao, std::string_view procedimento) {
    return ExecutarLendoId(conexao, procedimento);
}

}  // namespace tessora::db
