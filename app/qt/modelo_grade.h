#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "app/apresentacao/colunas_historico.h"

namespace tessora::qt {

// One of the history page's lists, drawn from the rows its presenter keeps.
class ModeloGrade : public QAbstractTableModel {
    Q_OBJECT

  public:
    // `linhas` outlives the model; columns from `primeiraContagem` on are counts.
    ModeloGrade(std::span<const char* const> titulos, size_t primeiraContagem,
                const std::vector<app::LinhaGrade>& linhas, QObject* parent = nullptr);

    // The rows change inside `mudanca`.
    void Mudar(const std::function<void()>& mudanca);

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override;

  private:
    std::span<const char* const> titulos_;
    size_t primeiraContagem_;
    const std::vector<app::LinhaGrade>& linhas_;
};

// A read-only list of whole rows, one selected at a time, sized to its cells.
QTableView* NovaGrade(QWidget* pai, const char* nome, QAbstractItemModel& modelo);

}  // namespace tessora::qt
