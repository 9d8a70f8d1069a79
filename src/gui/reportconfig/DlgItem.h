// The common frame of the per-item dialogs: a scratch copy of the item that the controls
// edit, and the three buttons "Confirma" (the scratch settings go to the item), "Cancela"
// (nothing changes) and "Aplicar a Todos" (they go to every item of the same kind: texts,
// tables, or graphs of both graph kinds). A graph series item keeps its own series options,
// and every graph item its own manual axis ranges, when another graph's format is applied to it.
//
// Opened for "all items of a kind" (todos), "Confirma" applies to every item of the kind.
#pragma once

#include "items/Catalogo.h"

#include <QDialog>

#include <memory>

class QLabel;
class QVBoxLayout;

namespace zelto {

// Whether two items are of the same kind for "Aplicar a Todos".
bool MesmoGenero(const TItemAvaliacao &a, const TItemAvaliacao &b);
// Copies the format of `origem` into `destino` (the series options and the manual axis ranges
// stay with a graph item other than the origin's own).
void CopiaFormato(TItemAvaliacao &destino, const TItemAvaliacao &origem, bool proprio);

class TDlgItem : public QDialog {
    Q_OBJECT
  public:
    TDlgItem(TListaItens &itens, int indice, std::unique_ptr<TItemAvaliacao> rascunho, bool todos,
             QWidget *pai);
    // The scratch copy the controls edit.
    TItemAvaliacao &Rascunho() { return *rascunho_; }
    const TItemAvaliacao &Rascunho() const { return *rascunho_; }
    const TItemAvaliacao &Item() const { return *itens_[static_cast<std::size_t>(indice_)]; }
    // Shows the item's title in a statistics mode (inferential by default).
    void DefineModo(bool inferencial);

  protected:
    // The item's title in bold, at the top of the dialog.
    QLabel *CriaRotuloTitulo();
    // Adds the three buttons under the dialog's contents (call last in the constructor).
    void AdicionaBotoes(QVBoxLayout *l);
    // Confirms: the scratch settings go to the item (todos false) or to all of its kind.
    void Conclui(bool todos);

  private:
    TListaItens &itens_;
    int indice_;
    std::unique_ptr<TItemAvaliacao> rascunho_;
    bool todos_;
    QLabel *titulo_ = nullptr;
};

} // namespace zelto
