#include "db/proximo_id.h"

#include <limits>
#include <string>

#include "comum/erros.h"
#include "db/leitura_coluna.h"

namespace tessora::db {

int32_t ProximoId(std::string_view tabela, std::string_view colunaChave, ConexaoErp& conexao) {
    std::string comando = " select max(";
    comando += colunaChave;
    comando += ") as ID";
    comando += " from ";
    comando += tabela;
    const int32_t maximo = ConsultarInteiro(conexao, comando, "ID");
    if (maximo <= 0) return 1;
    // Wrapping round would hand out a negative key that looks valid.
    if (maximo == std::numeric_limits<int32_t>::max()) {
        throw ErroBancoDados("Não há chave livre em " + std::string(tabela) + "." +
                             std::string(colunaChave) + " após " + std::to_string(maximo));
    }
    return maximo + 1;
}

}  // namespace tessora::db
