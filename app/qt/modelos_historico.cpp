#include "app/qt/modelos_historico.h"

#include <QColor>
#include <QStringList>

#include <array>
#include <string>

#include "app/historico/colunas_historico.h"

namespace tessora::qt {

namespace {
QColor CorFalha() { return {0xb0, 0x00, 0x20}; }

QString Texto(const std::string& texto) { return QString::fromStdString(texto); }

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
    return pai.isValid() ? 0 : static_cast<int>(app::kColunasExecucao.size());
}

QVariant ModeloExecucoes::data(const QModelIndex& indice, int papel) const {
    if (!indice.isValid()) return {};
    const app::ExecucaoRegistrada& e = Execucao(indice.row());
    if (papel == Qt::ForegroundRole) return e.Falhou() ? QVariant(CorFalha()) : QVariant();
    if (papel == Qt::ToolTipRole) return e.motivo.empty() ? QVariant() : Texto(e.motivo);
    if (papel == Qt::TextAlignmentRole &&
        static_cast<size_t>(indice.column()) >= app::kPrimeiraContagemExecucao) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (papel != Qt::DisplayRole) return {};
    return Texto(app::CelulaExecucao(e, static_cast<size_t>(indice.column())));
}

QVariant ModeloExecucoes::headerData(int secao, Qt::Orientation orientacao, int papel) const {
    return Cabecalho(app::kColunasExecucao, secao, orientacao, papel);
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
    return pai.isValid() ? 0 : static_cast<int>(app::kColunasPedido.size());
}

QVariant ModeloPedidos::data(const QModelIndex& indice, int papel) const {
    if (!indice.isValid()) return {};
    const app::PedidoRegistrado& p = pedidos_.at(static_cast<size_t>(indice.row()));
    if (papel == Qt::ForegroundRole) return p.Falhou() ? QVariant(CorFalha()) : QVariant();
    if (papel == Qt::ToolTipRole) return Texto(p.mensagem);
    if (papel != Qt::DisplayRole) return {};
    return Texto(app::CelulaPedido(p, static_cast<size_t>(indice.column())));
}

QVariant ModeloPedidos::headerData(int secao, Qt::Orientation orientacao, int papel) const {
    return Cabecalho(app::kColunasPedido, secao, orientacao, papel);
}

}  // namespace tessora::qt
