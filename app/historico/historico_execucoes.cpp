#include "app/historico/historico_execucoes.h"

#include <string>
#include <utility>

#include "app/execucao/execucao_sincronizacao.h"
#include "app/historico/esquema_historico.h"
#include "app/historico/instante_historico.h"

namespace tessora::app {

namespace {
void Podar(BancoSqlite& banco, int64_t limite) {
    TransacaoSqlite transacao(banco);
    ComandoSqlite(
        banco, "delete from pedido where execucao in (select id from execucao where inicio < ?1)")
        .Ligar(1, limite)
        .Proximo();
    ComandoSqlite(banco, "delete from execucao where inicio < ?1").Ligar(1, limite).Proximo();
    transacao.Confirmar();
}

// How many runs in a row this order has failed, counting this one when it failed too.
int64_t FalhasSeguidas(BancoSqlite& banco, const ResultadoPedido& pedido) {
    if (!PedidoFalhou(pedido.desfecho)) return 0;
    ComandoSqlite anterior(
        banco, "select falhas_seguidas from pedido where id_app = ?1 order by id desc limit 1");
    anterior.Ligar(1, pedido.idApp);
    return 1 + (anterior.Proximo() ? anterior.Inteiro(0) : 0);
}

std::optional<int64_t> Opcional(const std::optional<int32_t>& valor) {
    if (!valor) return std::nullopt;
    return *valor;
}
}  // namespace

void HistoricoExecucoes::ExecucaoIniciada(OrigemExecucao origem,
                                          std::chrono::system_clock::time_point inicio) {
    banco_.reset();
    BancoSqlite banco(configuracoes_.arquivo, BancoSqlite::Modo::Gravacao);
    PrepararEsquemaHistorico(banco);
    const int64_t segundos = SegundosHistorico(inicio);
    Podar(banco, segundos - std::chrono::seconds(configuracoes_.diasHistorico).count());
    ComandoSqlite(banco, "insert into execucao (origem, inicio) values (?1, ?2)")
        .Ligar(1, CodigoOrigem(origem))
        .Ligar(2, segundos)
        .Proximo();
    execucao_ = banco.UltimaChave();
    banco_.emplace(std::move(banco));
}

void HistoricoExecucoes::PedidoProcessado(const ResultadoPedido& pedido) {
    if (!banco_) return;
    ComandoSqlite(
        *banco_,
        "insert into pedido (execucao, id_app, desfecho, mensagem, id_nf_comercio, nr_nota_fiscal, "
        "cliente_cadastrado, falhas_seguidas, observacao, cliente) values (?1, ?2, ?3, ?4, ?5, "
        "?6, ?7, ?8, ?9, ?10)")
        .Ligar(1, execucao_)
        .Ligar(2, pedido.idApp)
        .Ligar(3, CodigoDesfecho(pedido.desfecho))
        .Ligar(4, pedido.mensagem)
        .Ligar(5, Opcional(pedido.idNfComercio))
        .Ligar(6, Opcional(pedido.nrNotaFiscal))
        .Ligar(7, pedido.clienteCadastrado ? std::optional<int64_t>(*pedido.clienteCadastrado)
                                           : std::nullopt)
        .Ligar(8, FalhasSeguidas(*banco_, pedido))
        .Ligar(9, pedido.observacao)
        .Ligar(10, pedido.cliente)
        .Proximo();
}

void HistoricoExecucoes::ExecucaoTerminada(const ResumoExecucao& resumo) {
    if (!banco_) return;
    // Closed whatever happens, so that the next run opens the file afresh.
    std::optional<BancoSqlite> banco = std::exchange(banco_, std::nullopt);
    ComandoSqlite(*banco,
                  "update execucao set termino = ?1, desfecho = ?2, motivo = ?3, problema = ?5 "
                  "where id = ?4")
        .Ligar(1, SegundosHistorico(resumo.termino))
        .Ligar(2, CodigoFim(resumo))
        .Ligar(3, resumo.motivo)
        .Ligar(4, execucao_)
        .Ligar(5, CodigoProblema(resumo.problema))
        .Proximo();
}

}  // namespace tessora::app
