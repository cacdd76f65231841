#include "servidor_firebird.h"

#include <gtest/gtest.h>

#include "banco_teste.h"
#include "comum/erros.h"
#include "db/conexao_erp.h"
#include "db/consulta.h"
#include "script_sql.h"

namespace tessora::db {
namespace {

// The "host/port:path" form reaches the database through the server, with the same credentials.
TEST(ServidorFirebirdTest, NomeComHostAnexaPeloServidor) {
    const testes::ServidorFirebirdTeste servidor;
    const std::string arquivo = (servidor.PastaDados() / "erp.fdb").string();
    const std::string nome = servidor.Host() + ":" + arquivo;
    ferramentas::CriarBancoErp(nome, {testes::PastaFontes() / "erp/esquema.sql"});

    ConexaoErp conexao(nome);
    conexao.Abrir();
    Consulta consulta(conexao);
    AbrirConsulta(consulta,
                  "select a.MON$REMOTE_PROTOCOL as P, a.MON$USER as U from MON$ATTACHMENTS a "
                  "where a.MON$ATTACHMENT_ID = current_connection");
    EXPECT_EQ(consulta.Valor("P"), "TCPv4");
    EXPECT_EQ(consulta.Valor("U").value().substr(0, 6), "SYSDBA");
    conexao.Fechar();

    ConexaoErp semServidor("127.0.0.1/1:" + arquivo);  // nothing listens on port 1
    EXPECT_THROW(semServidor.Abrir(), ErroBancoDados);
}

}  // namespace
}  // namespace tessora::db
