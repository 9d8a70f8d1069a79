// The item list of the report page: the titles, in the statistics mode, of the items that the
// report holds, each row standing for an index in the report's item list.
#pragma once

#include <QAbstractListModel>

#include <memory>
#include <vector>

namespace zelto {

class TItemAvaliacao;
using TListaItens = std::vector<std::unique_ptr<TItemAvaliacao>>;

class TModeloItensRelatorio : public QAbstractListModel {
  public:
    explicit TModeloItensRelatorio(QObject *parent = nullptr) : QAbstractListModel(parent) {}

    // The items in the report: included, and offered in the mode.
    void Define(const TListaItens &itens, bool inferencial);

    int rowCount(const QModelIndex &pai = {}) const override;
    QVariant data(const QModelIndex &indice, int papel) const override;

    // The index in the item list of a row, and the row of an index (-1: not listed).
    int Item(int linha) const;
    int Linha(int item) const;

  private:
    std::vector<int> itens_;
    QStringList titulos_;
};

} // namespace zelto
