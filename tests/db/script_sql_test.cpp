#include "script_sql.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "comum/erros.h"

namespace tessora::ferramentas {
namespace {

using ::testing::ElementsAre;

TEST(ScriptSqlTest, DivideComoOIsql) {
    const char* script =
        "-- comentario; com ponto e virgula\n"
        "SET SQL DIALECT 3;\n"
        "CREATE TABLE T (A VARCHAR(10));\n"
        "INSERT INTO T VALUES ('a;b');\n"
        "SET GENERATOR G TO 5;\n"
        "SET TERM ^ ;\n"
        "CREATE PROCEDURE P RETURNS (ID INTEGER) AS BEGIN ID = 1; END^\n"
        "SET TERM ; ^\n"
        "COMMIT;\n";
    EXPECT_THAT(DividirScriptSql(script),
                ElementsAre("CREATE TABLE T (A VARCHAR(10))", "INSERT INTO T VALUES ('a;b')",
                            "SET GENERATOR G TO 5",
                            "CREATE PROCEDURE P RETURNS (ID INTEGER) AS BEGIN ID = 1; END"));
    EXPECT_THROW(DividirScriptSql("SELECT 1 FROM RDB$DATABASE"), Erro);
}

}  // namespace
}  // namespace tessora::ferramentas
