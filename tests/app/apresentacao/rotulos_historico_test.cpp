// The history's stored codes as the page shows them.
#include "app/apresentacao/rotulos_historico.h"

#include <gtest/gtest.h>

#include <string_view>

namespace tessora::app {
namespace {

TEST(RotulosHistoricoTest, CodigosEmPalavrasDoOperador) {
    const struct {
        std::string_view (*rotulo)(std::string_view);
        std::string_view codigo, esperado;
    } casos[] = {
        {RotuloOrigem, "temporizador", "automático"},
        {RotuloOrigem, "botao", "botão"},
        {RotuloOrigem, "linha_comando", "linha de comando"},
        {RotuloOrigem, "repeticao", "tentar novamente"},
        {RotuloDesfechoExecucao, "normal", "normal"},
        {RotuloDesfechoExecucao, "sem_conexao", "sem conexão"},
        {RotuloDesfechoExecucao, "sem_listagem", "sem listagem"},
        {RotuloDesfechoExecucao, "erro", "erro"},
        {RotuloDesfechoExecucao, "", "sem término"},
        {RotuloDesfechoPedido, "incluido", "incluído"},
        {RotuloDesfechoPedido, "incluido_com_aviso", "incluído com aviso"},
        {RotuloDesfechoPedido, "ja_incluido", "já incluído"},
        {RotuloDesfechoPedido, "adiado", "adiado"},
        {RotuloDesfechoPedido, "nao_incluido", "não incluído"},
        {RotuloDesfechoPedido, "erro", "erro"},
        // A newer program's codes, as they are stored; one list's code is not another's.
        {RotuloOrigem, "agendador", "agendador"},
        {RotuloDesfechoExecucao, "cancelada", "cancelada"},
        {RotuloDesfechoPedido, "sem_conexao", "sem_conexao"},
        {RotuloDesfechoPedido, "", ""},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.codigo);
        EXPECT_EQ(caso.rotulo(caso.codigo), caso.esperado);
    }
}

}  // namespace
}  // namespace tessora::app
