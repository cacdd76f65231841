#include "importacao/codigo_pessoa.h"

#include "comum/erros.h"
#include "db/leitura_coluna.h"
#include "db/procedimentos.h"
#include "db/valores_sql.h"

namespace tessora::importacao {

std::string ProximoCodigoPessoa(db::ConexaoErp& conexao) {
    // Bounded: a procedure that keeps delivering used codes would otherwise hang the run.
    for (int tentativa = 0; tentativa < kLimiteCandidatosCodigoPessoa; ++tentativa) {
        std::string candidato =
            db::IdDoProcedimentoComoTexto(conexao, db::kProcedimentoCodigoPessoa);
        const int32_t quantidade = db::ConsultarInteiro(
            conexao,
            " Select count(*) as qtde from cad_pessoa where cd_pessoa = " + db::TextoSql(candidato),
            "qtde");
        if (quantidade == 0) return candidato;
    }
    throw ErroBancoDados("Nenhum código de pessoa livre após " +
                         std::to_string(kLimiteCandidatosCodigoPessoa) + " códigos de " +
                         std::string(db::kProcedimentoCodigoPessoa) + " já usados em CAD_PESSOA");
}

}  // namespace tessora::importacao
