#pragma once

#include <optional>
#include <string_view>

#include "app/execucao/observador_execucao.h"
#include "app/historico/banco_sqlite.h"

namespace tessora::app {

// The history's tables. Times are whole seconds since 1970 (UTC); outcomes are stored as
// the codes below, which the command line shows as they are.
//   execucao: id, origem, inicio, termino and desfecho (null until the run ends), motivo
//   pedido:   id, execucao, id_app, desfecho, mensagem, id_nf_comercio, nr_nota_fiscal,
//             cliente_cadastrado (null: not written by this run), falhas_seguidas,
//             observacao (version 2)
//   version 3: execucao.problema (the kind of trouble that ended a run, CodigoProblema; empty
//   when none), pedido.cliente
inline constexpr int kVersaoEsquemaHistorico = 3;

// The outcomes of an order that count as failures, for SQL: "desfecho in (...)".
inline constexpr std::string_view kDesfechosFalhaSql = "('nao_incluido', 'erro')";

std::string_view CodigoOrigem(OrigemExecucao origem);
std::string_view CodigoDesfecho(DesfechoPedido desfecho);
std::string_view CodigoFim(
    const ResumoExecucao& resumo);  // "normal", "sem_conexao", "sem_listagem", "erro"

// "token_recusado", "certificado_recusado", "certificado_fora_do_prazo", "api_inacessivel",
// "erro_api", "banco_inacessivel", "configuracao"; empty for none.
std::string_view CodigoProblema(std::optional<ProblemaExecucao> problema);
std::optional<ProblemaExecucao> ProblemaDoCodigo(std::string_view codigo);

// Creates the tables in a new file or brings an older one up to this version. A file of a
// newer version raises: this program would misread it.
void PrepararEsquemaHistorico(BancoSqlite& banco);
// Raises unless the file has this version's tables.
void VerificarEsquemaHistorico(BancoSqlite& banco);

}  // namespace tessora::app
