#include "db/parametros_integracao.h"

#include "db/consulta.h"

namespace tessora::db {

namespace {
std::string LerConfiguracaoIntegracao(ConexaoErp& conexao, const std::string& coluna) {
    Consulta consulta(conexao);
    AbrirConsulta(consulta,
                  " select tp." + coluna + " from tab_parametro tp where tp.id_parametro = 1");
    return consulta.Valor(coluna).value_or("");
}
}  // namespace

std::string ObterSincronizarAppForcaVenda(ConexaoErp& conexao) {
    return LerConfiguracaoIntegracao(conexao, "ST_SINCRONIZAR_APP_FORCA_VENDA");
}

bool AppForcaVendaHabilitado(ConexaoErp& conexao) {
    return ObterSincronizarAppForcaVenda(conexao) == "S";
}

std::string ObterTokenAppForcaVenda(ConexaoErp& conexao) {
    return LerConfiguracaoIntegracao(conexao, "DS_TOKEN_APP_FORCA_VENDA");
}

}  // namespace tessora::db
