#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "app/historico/leitura_historico.h"

namespace tessora::qt {

// The recorded runs, newest first, one row each with its counts.
class ModeloExecucoes : public QAbstractTableModel {
    Q_OBJECT

  public:
    using QAbstractTableModel::QAbstractTableModel;

    // `execucoes` oldest first, as the history reads them.
    void Definir(std::vector<app::ExecucaoRegistrada> execucoes);
    const std::vector<app::ExecucaoRegistrada>& Execucoes() const { return execucoes_; }
    const app::ExecucaoRegistrada& Execucao(int linha) const;
    // The row of the run with this id; -1 when it is not shown.
    int Linha(int64_t id) const;

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override;

  private:
    std::vector<app::ExecucaoRegistrada> execucoes_;
};

// The orders of one run with their outcomes and messages, in the order they were processed.
class ModeloPedidos : public QAbstractTableModel {
    Q_OBJECT

  public:
    using QAbstractTableModel::QAbstractTableModel;

    void Definir(std::vector<app::PedidoRegistrado> pedidos);

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override;

  private:
    std::vector<app::PedidoRegistrado> pedidos_;
};

}  // namespace tessora::qt
