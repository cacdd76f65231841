#include "app/ui/modelos_historico.h"

#include <QColor>
#include <QStringList>

#include <array>
#include <string>

#include "app/instante_historico.h"

namespace tessora::ui {

namespace {
QColor CorFalha() { return {0xb0, 0x00, 0x20}; }

const std::array<const char*, 8> kColunasExecucao{"Início", "Término",   "Origem",       "Desfecho",
                                                  "Falhas", "Incluídos", "Já incluídos", "Adiados"};
const std::array<const char*, 6> kColunasPedido{"Pedido",    "Desfecho", "Falhas seguidas",
                                                "Chave ERP", "Número",   "Mensagem"};

QString Texto(const std::string& texto) { return QString::fromStdString(texto); }

QString Opcional(const std::optional<int64_t>& valor) {
    return valor ? QString::number(*valor) : QString();
}

// The end's time alone when the run ended on the day it started.
QString Termino(const app::ExecucaoRegistrada& e) {
    if (!e.termino) return {};
    const QString inicio = Texto(app::InstanteLocal(e.inicio));
    const QString termino = Texto(app::InstanteLocal(*e.termino));
    return termino.left(10) == inicio.left(10) ? termino.mid(11) : termino;
}

template <size_t N>
QVariant Cabecalho(const std::array<const char*, N>& colunas, int secao, Qt::Orientation orientacao,
                   int papel) {
    if (orientacao != Qt::Horizontal || papel != Qt::DisplayRole || secao < 0 ||
        static_cast<size_t>(secao) >= N) {
        return {};
    }
    return QString(colunas[static_cast<size_t>(secao)]);
}
}  // namespace

void ModeloExecucoes::Definir(std::vector<app::ExecucaoRegistrada> execucoes) {
    beginResetModel();
    execucoes_ = std::move(execucoes);
    endResetModel();
}

const app::ExecucaoRegistrada& ModeloExecucoes::Execucao(int linha) const {
    return execucoes_.at(execucoes_.size() - 1 - static_cast<size_t>(linha));
}

int ModeloExecucoes::Linha(int64_t id) const {
    for (int linha = 0; linha < rowCount(); ++linha) {
        if (Execucao(linha).id == id) return linha;
    }
    return -1;
}

int ModeloExecucoes::rowCount(const QModelIndex& pai) const {
    return pai.isValid() ? 0 : static_cast<int>(execucoes_.size());
}

int ModeloExecucoes::columnCount(const QModelIndex& pai) const {
    return pai.isValid() ? 0 : static_cast<int>(kColunasExecucao.size());
}

QVariant ModeloExecucoes::data(const QModelIndex& indice, int papel) const {
    if (!indice.isValid()) return {};
    const app::ExecucaoRegistrada& e = Execucao(indice.row());
    if (papel == Qt::ForegroundRole) return e.Falhou() ? QVariant(CorFalha()) : QVariant();
    if (papel == Qt::ToolTipRole) return e.motivo.empty() ? QVariant() : Texto(e.motivo);
    if (papel == Qt::TextAlignmentRole && indice.column() >= 4) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (papel != Qt::DisplayRole) return {};
    switch (indice.column()) {
        case 0:
            return Texto(app::InstanteLocal(e.inicio));
        case 1:
            return Termino(e);
        case 2:
            return Texto(e.origem);
        case 3:
            return e.desfecho.empty() ? QString("sem término") : Texto(e.desfecho);
        case 4:
            return QString::number(e.Falhas());
        case 5:
            return QString::number(e.incluidos);
        case 6:
            return QString::number(e.jaIncluidos);
        case 7:
            return QString::number(e.adiados);
        default:
            return {};
    }
}

QVariant ModeloExecucoes::headerData(int secao, Qt::Orientation orientacao, int papel) const {
    return Cabecalho(kColunasExecucao, secao, orientacao, papel);
}

void ModeloPedidos::Definir(std::vector<app::PedidoRegistrado> pedidos) {
    beginResetModel();
    pedidos_ = std::move(pedidos);
    endResetModel();
}

int ModeloPedidos::rowCount(const QModelIndex& pai) const {
    return pai.isValid() ? 0 : static_cast<int>(pedidos_.size());
}

int ModeloPedidos::columnCount(const QModelIndex& pai) const {
    return pai.isValid() ? 0 : static_cast<int>(kColunasPedido.size());
}

QVariant ModeloPedidos::data(const QModelIndex& indice, int papel) const {
    if (!indice.isValid()) return {};
    const app::PedidoRegistrado& p = pedidos_.at(static_cast<size_t>(indice.row()));
    if (papel == Qt::ForegroundRole) return p.Falhou() ? QVariant(CorFalha()) : QVariant();
    if (papel == Qt::ToolTipRole) return Texto(p.mensagem);
    if (papel != Qt::DisplayRole) return {};
    switch (indice.column()) {
        case 0:
            return Texto(p.idApp);
        case 1:
            return Texto(p.desfecho);
        case 2:
            return QString::number(p.falhasSeguidas);
        case 3:
            return Opcional(p.idNfComercio);
        case 4:
            return Opcional(p.nrNotaFiscal);
        case 5:
            return Texto(p.mensagem);
        default:
            return {};
    }
}

QVariant ModeloPedidos::headerData(int secao, Qt::Orientation orientacao, int papel) const {
    return Cabecalho(kColunasPedido, secao, orientacao, papel);
}

}  // namespace tessora::ui
