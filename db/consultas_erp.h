#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "db/coluna_texto.h"
#include "db/conexao_erp.h"

namespace tessora::db {

// One-value look-ups into the ERP's tables. Each runs one SELECT on the open connection and
// reads the first row the server delivers: no row and NULL give 0 or the empty text, which
// the callers interpret. Database errors reach the caller. Column and flag-column names
// are written into the statement as given: callers pass fixed names only.

// The named column of TAB_PARAMETRO's one row, as text.
std::string LerParametro(ConexaoErp& conexao, std::string_view coluna);

int32_t TipoMovEstoqueDaNatureza(ConexaoErp& conexao, int32_t idNatOperacao);
std::string ImprimeNotaDaNatureza(ConexaoErp& conexao, int32_t idNatOperacao);

int32_t PessoaPorCnpjCpf(ConexaoErp& conexao, std::string_view cnpjCpf);

// The person's address whose role flag column (e.g. "st_fatura", "st_entrega") is 'S'.
int32_t CidadeDoEndereco(ConexaoErp& conexao, int32_t idPessoa, std::string_view colunaPapel);
int32_t EnderecoDaPessoa(ConexaoErp& conexao, int32_t idPessoa, std::string_view colunaPapel);
std::string EstadoDoEndereco(ConexaoErp& conexao, int32_t idPessoa, std::string_view colunaPapel);

int32_t PessoaPorVendedorApp(ConexaoErp& conexao, std::string_view idVendedorApp);
int32_t TipoFretePorDescricao(ConexaoErp& conexao, std::string_view descricao);
std::string SeriePedidoDoVendedor(ConexaoErp& conexao, int32_t idPessoaVendedor);

int32_t ProdutoPorIdApp(ConexaoErp& conexao, std::string_view idProdutoApp);
std::string DescricaoNotaDoProduto(ConexaoErp& conexao, int32_t idProduto);

int32_t PlanoPagtoDaPessoa(ConexaoErp& conexao, int32_t idPessoa);
int32_t TipoPagtoDaPessoa(ConexaoErp& conexao, int32_t idPessoa);
// The app's ids are compared exactly (CondicaoTextoExato) in `coluna`, the look-up's
// ID_APP_FORCA_VENDA column.
int32_t PessoaPorIdApp(ConexaoErp& conexao, std::string_view idClienteApp,
                       const ColunaTexto& coluna);
std::string CategoriaDaPessoa(ConexaoErp& conexao, int32_t idPessoa);

// Whether an operation of MOV_NF_COMERCIO carries the app's order id.
bool PedidoJaIncluido(ConexaoErp& conexao, std::string_view idPedidoApp, const ColunaTexto& coluna);

}  // namespace tessora::db
