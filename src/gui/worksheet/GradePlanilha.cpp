#include "gui/worksheet/GradePlanilha.h"

#include "gui/worksheet/DicaCabecalho.h"
#include "gui/worksheet/EditoresCelula.h"
#include "gui/worksheet/ModeloPlanilha.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMimeData>
#include <QToolTip>

#include <algorithm>

namespace zelto {

TGradePlanilha::TGradePlanilha(TModeloPlanilha &modelo, QWidget *parent)
    : QTableView(parent), modelo_(modelo), delegado_(new TDelegadoPlanilha(modelo, this)) {
    setModel(&modelo_);
    setItemDelegate(delegado_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    setCornerButtonEnabled(true);

    QHeaderView *h = horizontalHeader();
    QHeaderView *v = verticalHeader();
    for (QHeaderView *cab : {h, v}) {
        cab->setSectionsMovable(true);
        cab->setSectionResizeMode(QHeaderView::Interactive);
        cab->setContextMenuPolicy(Qt::CustomContextMenu);
        cab->setHighlightSections(true);
    }
    v->setMinimumSectionSize(8);
    v->setDefaultAlignment(Qt::AlignCenter);
    h->setMinimumSectionSize(8);
    h->viewport()->installEventFilter(this);

    connect(h, &QHeaderView::sectionMoved, this,
            [this](int l, int de, int para) { SecaoMovida(Qt::Horizontal, l, de, para); });
    connect(v, &QHeaderView::sectionMoved, this,
            [this](int l, int de, int para) { SecaoMovida(Qt::Vertical, l, de, para); });
    connect(h, &QHeaderView::sectionResized, this, &TGradePlanilha::LarguraMudou);
    connect(v, &QHeaderView::sectionResized, this, &TGradePlanilha::AlturaMudou);
    connect(h, &QHeaderView::sectionDoubleClicked, this,
            [this](int l) { emit cabecalhoDuploClique(l + 1); });
    connect(h, &QHeaderView::customContextMenuRequested, this,
            [this](const QPoint &p) { MenuCabecalho(Qt::Horizontal, p); });
    connect(v, &QHeaderView::customContextMenuRequested, this,
            [this](const QPoint &p) { MenuCabecalho(Qt::Vertical, p); });

    // Widths follow the worksheet: after a reset, new columns and changes of
    // a column's variable or format (which is where widths change).
    connect(&modelo_, &QAbstractItemModel::modelReset, this, &TGradePlanilha::AplicaDimensoes);
    connect(&modelo_, &QAbstractItemModel::columnsInserted, this,
            [this](const QModelIndex &, int a, int b) {
                aplicando_ = true;
                for (int j = a; j <= b; ++j)
                    setColumnWidth(j, Grid().LarguraColuna(j + 1));
                aplicando_ = false;
            });
    connect(&modelo_, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation o, int a, int b) {
                if (o != Qt::Horizontal || modelo_.Suspenso()) return;
                aplicando_ = true;
                for (int j = a; j <= b && j + 1 < Grid().ColCount(); ++j)
                    if (columnWidth(j) != Grid().LarguraColuna(j + 1))
                        setColumnWidth(j, Grid().LarguraColuna(j + 1));
                aplicando_ = false;
            });
    AplicaDimensoes();
}

TGridzelto &TGradePlanilha::Grid() {
    return modelo_.Grid();
}

void TGradePlanilha::AplicaDimensoes() {
    if (modelo_.Suspenso()) return;
    aplicando_ = true;
    const TGridzelto &g = Grid();
    verticalHeader()->setDefaultSectionSize(std::max(8, g.AlturaLinha));
    horizontalHeader()->setFixedHeight(
        std::max(horizontalHeader()->sizeHint().height(), g.AlturaCabecalho));
    for (int c = 1; c < g.ColCount(); ++c)
        if (columnWidth(c - 1) != g.LarguraColuna(c)) setColumnWidth(c - 1, g.LarguraColuna(c));
    aplicando_ = false;
}

// ---- Current cell and editing ------------------------------------------------------

void TGradePlanilha::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    QTableView::currentChanged(current, previous);
    if (!current.isValid() || modelo_.Suspenso()) return;
    TGridzelto &g = Grid();
    g.ColunaAtual = TModeloPlanilha::Coluna(current);
    g.LinhaAtual = TModeloPlanilha::Linha(current);
    emit celulaAtualMudou(g.ColunaAtual, g.LinhaAtual);
}

void TGradePlanilha::AceitaEdicaoPendente() {
    if (state() != QAbstractItemView::EditingState) return;
    // Leaving the current index commits and closes its editor.
    QModelIndex i = currentIndex();
    QTableView::currentChanged(i, i);
}

void TGradePlanilha::IrPara(int c, int r) {
    QModelIndex i = modelo_.Indice(c, r);
    if (!i.isValid()) return;
    // Going to a cell selects it alone, whatever keys seem to be held.
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    scrollTo(i);
}

void TGradePlanilha::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool avanca = hint == QAbstractItemDelegate::SubmitModelCache;
    QTableView::closeEditor(editor, avanca ? QAbstractItemDelegate::NoHint : hint);
    if (avanca) Avanca();
}

void TGradePlanilha::Avanca() {
    QModelIndex i = currentIndex();
    if (!i.isValid()) return;
    int linha = i.row(), coluna = i.column();
    switch (Grid().Avanco) {
    case DirecaoAvanco::dAvancoVertical:
        ++linha;
        break;
    case DirecaoAvanco::dAvancoHorizontal:
        ++coluna;
        break;
    case DirecaoAvanco::dSemAvanco:
        return;
    }
    QModelIndex j = modelo_.index(linha, coluna);
    if (!j.isValid()) return;
    selectionModel()->setCurrentIndex(j, QItemSelectionModel::ClearAndSelect);
    scrollTo(j);
}

void TGradePlanilha::keyPressEvent(QKeyEvent *e) {
    if (state() != QAbstractItemView::EditingState && e->modifiers() == Qt::NoModifier &&
        (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
        Avanca();
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}

// ---- Selection and block clipboard ----------------------------------------------------

TSelecao TGradePlanilha::Selecao() const {
    const QItemSelection sel = selectionModel() ? selectionModel()->selection() : QItemSelection();
    if (sel.isEmpty()) {
        QModelIndex i = currentIndex();
        int c = i.isValid() ? TModeloPlanilha::Coluna(i) : 1;
        int r = i.isValid() ? TModeloPlanilha::Linha(i) : 1;
        return {c, r, c, r};
    }
    int c0 = sel.first().left(), c1 = sel.first().right();
    int r0 = sel.first().top(), r1 = sel.first().bottom();
    for (const QItemSelectionRange &s : sel) {
        c0 = std::min(c0, s.left()), c1 = std::max(c1, s.right());
        r0 = std::min(r0, s.top()), r1 = std::max(r1, s.bottom());
    }
    return {c0 + 1, r0 + 1, c1 + 1, r1 + 1};
}

void TGradePlanilha::DefineSelecao(const TSelecao &s) {
    QModelIndex a = modelo_.Indice(s.Coluna0, s.Linha0), b = modelo_.Indice(s.Coluna1, s.Linha1);
    if (!a.isValid() || !b.isValid()) return;
    selectionModel()->select(QItemSelection(a, b), QItemSelectionModel::ClearAndSelect);
}

QMimeData *TGradePlanilha::CopiaBloco() const {
    const TSelecao s = Selecao();
    const TGridzelto &g = modelo_.Grid();
    auto *m = new QMimeData;
    m->setText(QString::fromStdString(g.CopiaBlocoTexto(s)));
    QByteArray rtf =
        QByteArray::fromStdString(g.CopiaBlocoRtf(s, modelo_.Aparencia().ParaGrade(logicalDpiX())));
    m->setData(QString::fromLatin1(kMimeRtf), rtf);
    m->setData(QString::fromLatin1(kMimeRtfNome), rtf);
    return m;
}

TResultado TGradePlanilha::ColaBloco(const QString &texto) {
    AceitaEdicaoPendente();
    const TSelecao s = Selecao();
    if (!Grid().Editavel) return {false, "A planilha não pode ser alterada agora."};
    if (modelo_.AntesDeAlterar) modelo_.AntesDeAlterar("Colar bloco");
    modelo_.IniciaLote();
    TResultado r = Grid().ColaBloco(s, texto.toStdString());
    modelo_.TerminaLote();
    if (r.ok) DefineSelecao(s);
    return r;
}

// ---- Moves by dragging the headers ------------------------------------------------

void TGradePlanilha::SecaoMovida(Qt::Orientation o, int logica, int de, int para) {
    if (aplicando_) return;
    QHeaderView *cab = o == Qt::Horizontal ? horizontalHeader() : verticalHeader();
    // The header goes back to its own order; the worksheet moves the row or
    // column, and the model tells the view.
    aplicando_ = true;
    cab->moveSection(para, de);
    aplicando_ = false;
    (void)logica;
    const int origem = de + 1, destino = para + 1;
    TGridzelto &g = Grid();
    if (!g.Editavel || origem == destino) return;
    if (modelo_.AntesDeAlterar)
        modelo_.AntesDeAlterar(o == Qt::Horizontal ? "Mover variável" : "Mover amostragem");
    if (o == Qt::Horizontal) {
        g.MoveColuna(origem, destino);
        IrPara(destino, g.LinhaAtual);
    } else {
        g.MoveLinha(origem, destino);
        IrPara(g.ColunaAtual, destino);
    }
}

void TGradePlanilha::LarguraMudou(int logica, int, int nova) {
    if (aplicando_ || modelo_.Suspenso()) return;
    aplicando_ = true;
    Grid().DefineLarguraColuna(logica + 1, nova);
    aplicando_ = false;
}

void TGradePlanilha::AlturaMudou(int, int, int nova) {
    if (aplicando_ || modelo_.Suspenso()) return;
    aplicando_ = true;
    Grid().AlturaLinha = nova;
    verticalHeader()->setDefaultSectionSize(nova);
    aplicando_ = false;
    emit alturaLinhaMudou(nova);
}

// ---- Context menus and hints ------------------------------------------------------

void TGradePlanilha::contextMenuEvent(QContextMenuEvent *e) {
    // The event comes from the viewport: its position is in viewport coordinates.
    QModelIndex i = e->reason() == QContextMenuEvent::Mouse ? indexAt(e->pos()) : currentIndex();
    if (!i.isValid()) return;
    AceitaEdicaoPendente();
    if (i != currentIndex()) setCurrentIndex(i);
    emit menuPedido(TAreaGrade::Celula, e->globalPos());
}

void TGradePlanilha::MenuCabecalho(Qt::Orientation o, const QPoint &p) {
    QHeaderView *cab = o == Qt::Horizontal ? horizontalHeader() : verticalHeader();
    int l = cab->logicalIndexAt(p);
    if (l < 0) return;
    AceitaEdicaoPendente();
    TGridzelto &g = Grid();
    if (o == Qt::Horizontal)
        IrPara(l + 1, std::max(1, g.LinhaAtual));
    else
        IrPara(std::max(1, g.ColunaAtual), l + 1);
    emit menuPedido(o == Qt::Horizontal ? TAreaGrade::CabecalhoColuna : TAreaGrade::CabecalhoLinha,
                    cab->viewport()->mapToGlobal(p));
}

bool TGradePlanilha::eventFilter(QObject *o, QEvent *e) {
    if (o == horizontalHeader()->viewport() && e->type() == QEvent::ToolTip) {
        auto *he = static_cast<QHelpEvent *>(e);
        QHeaderView *cab = horizontalHeader();
        int l = cab->logicalIndexAt(he->pos());
        std::string dica = l < 0 ? std::string() : DicaCabecalho(Grid(), l + 1, Grid().Modo.Inferencial);
        if (dica.empty()) {
            QToolTip::hideText();
            return true;
        }
        // At the cell's lower right corner, 10 pixels inside it.
        QPoint canto(cab->sectionViewportPosition(l) + cab->sectionSize(l) - 10,
                     cab->height() - 10);
        QString texto =
            QString::fromStdString(dica).replace(QLatin1String("\r\n"), QLatin1String("\n"));
        QToolTip::showText(cab->viewport()->mapToGlobal(canto), texto, cab->viewport());
        return true;
    }
    return QTableView::eventFilter(o, e);
}

} // namespace zelto
