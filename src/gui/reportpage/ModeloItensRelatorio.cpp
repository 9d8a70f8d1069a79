#include "gui/reportpage/ModeloItensRelatorio.h"

#include "items/Catalogo.h"
#include "evaluation/ItemAvaliacao.h"

#include <algorithm>

namespace zelto {

void TModeloItensRelatorio::Define(const TListaItens &itens, bool inferencial) {
    beginResetModel();
    itens_.clear();
    titulos_.clear();
    for (std::size_t i = 0; i < itens.size(); ++i) {
        const TItemAvaliacao &item = *itens[i];
        if (!item.Incluido || (!inferencial && !item.OferecidoDescritivo)) continue;
        itens_.push_back(static_cast<int>(i));
        titulos_.push_back(QString::fromStdString(item.TituloModo(inferencial)));
    }
    endResetModel();
}

int TModeloItensRelatorio::rowCount(const QModelIndex &pai) const {
    return pai.isValid() ? 0 : static_cast<int>(itens_.size());
}

QVariant TModeloItensRelatorio::data(const QModelIndex &indice, int papel) const {
    if (!indice.isValid() || indice.row() >= rowCount()) return {};
    if (papel == Qt::DisplayRole || papel == Qt::ToolTipRole) return titulos_[indice.row()];
    return {};
}

int TModeloItensRelatorio::Item(int linha) const {
    return linha >= 0 && linha < rowCount() ? itens_[static_cast<std::size_t>(linha)] : -1;
}

int TModeloItensRelatorio::Linha(int item) const {
    const auto it = std::find(itens_.begin(), itens_.end(), item);
    return it == itens_.end() ? -1 : static_cast<int>(it - itens_.begin());
}

} // namespace zelto
