#include "app/apresentacao/colunas_historico.h"

#include "app/apresentacao/rotulos_historico.h"
#include "app/historico/instante_historico.h"

namespace tessora::app {

namespace {
std::string Opcional(const std::optional<int64_t>& valor) {
    return valor ? std::to_string(*valor) : std::string();
}

// The end's time alone when the run ended on the day it started.
std::string Termino(const ExecucaoRegistrada& e) {
    if (!e.termino) return {};
    const std::string inicio = InstanteLocal(e.inicio);
    const std::string termino = InstanteLocal(*e.termino);
    return termino.substr(0, 10) == inicio.substr(0, 10) ? termino.substr(11) : termino;
}

std::string CelulaExecucao(const ExecucaoRegistrada& e, size_t coluna) {
    switch (coluna) {
        case 0:
            return InstanteLocal(e.inicio);
        case 1:
            return Termino(e);
        case 2:
            return std::string(RotuloOrigem(e.origem));
        case 3:
            return std::string(RotuloDesfechoExecucao(e.desfecho));
        case 4:
            return std::to_string(e.Falhas());
        case 5:
            return std::to_string(e.incluidos);
        case 6:
            return std::to_string(e.jaIncluidos);
        case 7:
            return std::to_string(e.adiados);
        default:
            return {};
    }
}

std::string CelulaPedido(const PedidoRegistrado& p, size_t coluna) {
    switch (coluna) {
        case 0:
            return p.idApp;
        case 1:
            return std::string(RotuloDesfechoPedido(p.desfecho));
        case 2:
            return std::to_string(p.falhasSeguidas);
        case 3:
            return Opcional(p.idNfComercio);
        case 4:
            return Opcional(p.nrNotaFiscal);
        case 5:
            return p.cliente;
        case 6:
            return p.mensagem;
        default:
            return {};
    }
}
}  // namespace

LinhaGrade LinhaExecucao(const ExecucaoRegistrada& execucao) {
    LinhaGrade linha{{}, execucao.motivo, {}};
    if (execucao.Falhou()) {
        linha.cor = kCorFalha;
    } else if (execucao.comAviso > 0) {
        linha.cor = kCorAviso;
    }
    for (size_t coluna = 0; coluna < kColunasExecucao.size(); ++coluna) {
        linha.celulas.push_back(CelulaExecucao(execucao, coluna));
    }
    return linha;
}

LinhaGrade LinhaPedido(const PedidoRegistrado& pedido) {
    // An order's warnings are in its remark, which no column shows.
    LinhaGrade linha{
        {},
        pedido.observacao.empty() ? pedido.mensagem : pedido.mensagem + "\n" + pedido.observacao,
        {}};
    if (pedido.Falhou()) {
        linha.cor = kCorFalha;
    } else if (pedido.ComAviso()) {
        linha.cor = kCorAviso;
    }
    for (size_t coluna = 0; coluna < kColunasPedido.size(); ++coluna) {
        linha.celulas.push_back(CelulaPedido(pedido, coluna));
    }
    return linha;
}

}  // namespace tessora::app
