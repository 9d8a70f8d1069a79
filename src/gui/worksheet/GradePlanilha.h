// The worksheet grid: a table view over `TModeloPlanilha`.
//
// It keeps the worksheet's current cell in step with the view's, moves the
// cursor after an accepted edit in the worksheet's direction (down, right or
// none), lets rows and columns be dragged by their headers to a new place
// (the worksheet moves them with their records), mirrors column widths into
// the worksheet, shows the hint of a column header, and asks its owner for
// the context menu of the area under the pointer. It also builds the two
// clipboard forms of a block copy and pastes a block of text.
#pragma once

#include "worksheet/Gridzelto.h"

#include <QTableView>

class QMimeData;

namespace zelto {

class TModeloPlanilha;
class TDelegadoPlanilha;

enum class TAreaGrade { Celula, CabecalhoLinha, CabecalhoColuna, Canto };

// Mime types of the block copy in Rich Text Format.
inline constexpr const char *kMimeRtf = "text/rtf";
inline constexpr const char *kMimeRtfNome = "Rich Text Format";

class TGradePlanilha : public QTableView {
    Q_OBJECT
  public:
    TGradePlanilha(TModeloPlanilha &modelo, QWidget *parent = nullptr);

    TModeloPlanilha &Modelo() { return modelo_; }
    TGridzelto &Grid();

    // Commits an edit in progress (every command does this first).
    void AceitaEdicaoPendente();
    // Makes cell (c, r) current and visible.
    void IrPara(int c, int r);
    // The selected rectangle in grid coordinates (the current cell when
    // nothing is selected).
    TSelecao Selecao() const;
    void DefineSelecao(const TSelecao &s);

    // The block copy in both forms: tab-separated text and Rich Text Format.
    QMimeData *CopiaBloco() const;
    // Pastes a block of tab-separated text into the selection.
    TResultado ColaBloco(const QString &texto);

    // Applies the worksheet's column widths and the row height to the view.
    void AplicaDimensoes();

  signals:
    void celulaAtualMudou(int c, int r);
    void menuPedido(zelto::TAreaGrade area, const QPoint &global);
    void cabecalhoDuploClique(int c);
    // The user changed the height of a data row.
    void alturaLinhaMudou(int altura);

  protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

  private:
    void Avanca();
    void SecaoMovida(Qt::Orientation o, int logica, int de, int para);
    void LarguraMudou(int logica, int antiga, int nova);
    void AlturaMudou(int logica, int antiga, int nova);
    void MenuCabecalho(Qt::Orientation o, const QPoint &p);

    TModeloPlanilha &modelo_;
    TDelegadoPlanilha *delegado_;
    bool aplicando_ = false;
};

} // namespace zelto
