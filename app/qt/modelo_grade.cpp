#include "app/qt/modelo_grade.h"

#include <QHeaderView>

#include <string>

#include "app/apresentacao/cores.h"
#include "app/qt/cor_qt.h"

namespace tessora::qt {

ModeloGrade::ModeloGrade(std::span<const char* const> titulos, size_t primeiraContagem,
                         const std::vector<app::LinhaGrade>& linhas, QObject* parent)
    : QAbstractTableModel(parent),
      titulos_(titulos),
      primeiraContagem_(primeiraContagem),
      linhas_(linhas) {}

void ModeloGrade::Mudar(const std::function<void()>& mudanca) {
    beginResetModel();
    mudanca();
    endResetModel();
}

int ModeloGrade::rowCount(const QModelIndex& pai) const {
    return pai.isValid() ? 0 : static_cast<int>(linhas_.size());
}

int ModeloGrade::columnCount(const QModelIndex& pai) const {
    return pai.isValid() ? 0 : static_cast<int>(titulos_.size());
}

QVariant ModeloGrade::data(const QModelIndex& indice, int papel) const {
    if (!indice.isValid()) return {};
    const app::LinhaGrade& linha = linhas_.at(static_cast<size_t>(indice.row()));
    const auto coluna = static_cast<size_t>(indice.column());
    switch (papel) {
        case Qt::DisplayRole:
            return QString::fromStdString(linha.celulas.at(coluna));
        case Qt::ForegroundRole:
            return linha.cor ? QVariant(CorQt(*linha.cor)) : QVariant();
        case Qt::ToolTipRole:
            return linha.dica.empty() ? QVariant() : QString::fromStdString(linha.dica);
        case Qt::TextAlignmentRole:
            if (coluna >= primeiraContagem_) {
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            }
            return {};
        default:
            return {};
    }
}

QVariant ModeloGrade::headerData(int secao, Qt::Orientation orientacao, int papel) const {
    if (orientacao != Qt::Horizontal || papel != Qt::DisplayRole || secao < 0 ||
        static_cast<size_t>(secao) >= titulos_.size()) {
        return {};
    }
    return QString(titulos_[static_cast<size_t>(secao)]);
}

QTableView* NovaGrade(QWidget* pai, const char* nome, QAbstractItemModel& modelo) {
    auto* grade = new QTableView(pai);
    grade->setObjectName(nome);
    grade->setModel(&modelo);
    grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    grade->setSelectionMode(QAbstractItemView::SingleSelection);
    grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grade->setWordWrap(false);
    grade->verticalHeader()->hide();
    grade->verticalHeader()->setDefaultSectionSize(20);
    // The last column (the reason, the message) takes what the window's width leaves.
    grade->horizontalHeader()->setStretchLastSection(true);
    grade->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return grade;
}

}  // namespace tessora::qt
