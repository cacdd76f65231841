#include "app/historico/leitura_historico.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>

#include "app/historico/esquema_historico.h"

namespace tessora::app {

namespace {
const std::string kFalha = "desfecho in " + std::string(kDesfechosFalhaSql);

// `desfechos`: an SQL list of codes.
std::string ContagemSql(std::string_view desfechos) {
    return "(select count(*) from pedido p where p.execucao = e.id and p.desfecho in (" +
           std::string(desfechos) + "))";
}

const std::string kColunasExecucao =
    "select e.id, e.origem, e.inicio, e.termino, coalesce(e.desfecho, ''), e.motivo, " +
    ContagemSql("'incluido', 'incluido_com_aviso'") + ", " + ContagemSql("'ja_incluido'") + ", " +
    ContagemSql("'adiado'") + ", " + ContagemSql("'nao_incluido'") + ", " + ContagemSql("'erro'") +
    ", " + ContagemSql("'incluido_com_aviso'") + ", e.problema from execucao e ";

ExecucaoRegistrada LerExecucao(const ComandoSqlite& c) {
    ExecucaoRegistrada e;
    e.id = c.Inteiro(0);
    e.origem = c.Texto(1);
    e.inicio = c.Inteiro(2);
    e.termino = c.InteiroOuNulo(3);
    e.desfecho = c.Texto(4);
    e.motivo = c.Texto(5);
    e.incluidos = c.Inteiro(6);
    e.jaIncluidos = c.Inteiro(7);
    e.adiados = c.Inteiro(8);
    e.naoIncluidos = c.Inteiro(9);
    e.erros = c.Inteiro(10);
    e.comAviso = c.Inteiro(11);
    e.problema = c.Texto(12);
    return e;
}
}  // namespace

bool PedidoRegistrado::Falhou() const {
    return desfecho == CodigoDesfecho(DesfechoPedido::NaoIncluido) ||
           desfecho == CodigoDesfecho(DesfechoPedido::Erro);
}

bool PedidoRegistrado::ComAviso() const {
    return desfecho == CodigoDesfecho(DesfechoPedido::IncluidoComAviso);
}

bool ExecucaoRegistrada::Falhou() const {
    return (!desfecho.empty() && desfecho != "normal") || Falhas() > 0;
}

LeituraHistorico::LeituraHistorico(const std::filesystem::path& arquivo)
    : banco_(arquivo, BancoSqlite::Modo::Leitura) {
    VerificarEsquemaHistorico(banco_);
}

std::vector<ExecucaoRegistrada> LeituraHistorico::Execucoes(const FiltroHistorico& filtro) {
    // The orders shown: ?2 failures only (?5 with the warnings), ?3 part of the order's id, its
    // number in the ERP or its customer.
    const std::string destacado = "(p." + kFalha + " or (?5 = 1 and p.desfecho = '" +
                                  std::string(CodigoDesfecho(DesfechoPedido::IncluidoComAviso)) +
                                  "'))";
    const std::string pedidoMostrado =
        "(?2 = 0 or " + destacado +
        ") and (?3 = '' or instr(lower(p.id_app), lower(?3)) > 0 or "
        "instr(coalesce(p.nr_nota_fiscal, ''), ?3) > 0 or instr(lower(p.cliente), lower(?3)) > 0)";
    // A run still going counts as no failure yet.
    const std::string falhou =
        "(e.desfecho <> 'normal' or exists (select 1 from pedido p where p.execucao = e.id and " +
        destacado + "))";
    ComandoSqlite execucoes(
        banco_,
        kColunasExecucao + "where e.inicio >= ?1 and (?2 = 0 or " + falhou +
            ") and (?3 = '' or exists (select 1 from pedido p where p.execucao = e.id and " +
            pedidoMostrado + ")) order by e.id desc limit ?4");
    execucoes.Ligar(1, filtro.desde.value_or(INT64_MIN))
        .Ligar(2, int64_t{filtro.soFalhas})
        .Ligar(3, filtro.pesquisa)
        .Ligar(4, filtro.ultimas.value_or(-1))
        .Ligar(5, int64_t{filtro.comAvisos});
    std::vector<ExecucaoRegistrada> lista;
    while (execucoes.Proximo()) lista.push_back(LerExecucao(execucoes));
    if (lista.empty()) return lista;
    std::reverse(lista.begin(), lista.end());
    std::map<int64_t, size_t> posicao;
    for (size_t i = 0; i < lista.size(); ++i) posicao[lista[i].id] = i;

    ComandoSqlite pedidos(
        banco_,
        "select p.execucao, p.id_app, p.desfecho, p.mensagem, p.id_nf_comercio, p.nr_nota_fiscal, "
        "p.cliente_cadastrado, p.falhas_seguidas, p.observacao, p.cliente from pedido p where "
        "p.execucao >= "
        "?1 and " +
            pedidoMostrado + " order by p.id");
    pedidos.Ligar(1, lista.front().id)
        .Ligar(2, int64_t{filtro.soFalhas})
        .Ligar(3, filtro.pesquisa)
        .Ligar(5, int64_t{filtro.comAvisos});
    while (pedidos.Proximo()) {
        const auto execucao = posicao.find(pedidos.Inteiro(0));
        if (execucao == posicao.end()) continue;
        lista[execucao->second].pedidos.push_back(
            {pedidos.Texto(1), pedidos.Texto(2), pedidos.Texto(3), pedidos.InteiroOuNulo(4),
             pedidos.InteiroOuNulo(5), pedidos.InteiroOuNulo(6), pedidos.Inteiro(7),
             pedidos.Texto(8), pedidos.Texto(9)});
    }
    return lista;
}

std::vector<ExecucaoRegistrada> LeituraHistorico::UltimasExecucoes(int quantidade) {
    ComandoSqlite execucoes(banco_, kColunasExecucao + "order by e.id desc limit ?1");
    execucoes.Ligar(1, int64_t{quantidade});
    std::vector<ExecucaoRegistrada> lista;
    while (execucoes.Proximo()) lista.push_back(LerExecucao(execucoes));
    return lista;
}

std::vector<PedidoEmFalha> LeituraHistorico::PedidosEmFalha() {
    // The latest row of each order; when it failed, its streak began at the first failure after
    // the order's latest success.
    ComandoSqlite falhas(banco_, R"(
        select p.id_app, p.falhas_seguidas, e.inicio, p.mensagem, p.observacao,
               (select min(e2.inicio) from pedido p2 join execucao e2 on e2.id = p2.execucao
                where p2.id_app = p.id_app
                  and p2.id > coalesce((select max(p3.id) from pedido p3
                                        where p3.id_app = p.id_app and not p3.)" +
                                     kFalha + R"(), 0))
        from pedido p join execucao e on e.id = p.execucao
        where p.id = (select max(id) from pedido where id_app = p.id_app) and p.)" +
                                     kFalha + R"(
        order by 6, p.id_app)");
    std::vector<PedidoEmFalha> lista;
    while (falhas.Proximo()) {
        lista.push_back({falhas.Texto(0), falhas.Inteiro(1), falhas.Inteiro(5), falhas.Inteiro(2),
                         falhas.Texto(3), falhas.Texto(4)});
    }
    return lista;
}

}  // namespace tessora::app
