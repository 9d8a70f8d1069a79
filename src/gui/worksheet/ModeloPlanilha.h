// The Qt table model over the worksheet.
//
// `TModeloPlanilha` shows the data cells of a `TGridzelto`: model row i is
// grid row i + 1 and model column j is grid column j + 1; the grid's header
// row (variable names) and number column (sample numbers) are the model's
// header data. The model keeps no cell of its own: it reads the grid's texts
// and listens to the grid's change events, turning each into the exact Qt
// notification (rows inserted, removed or moved, a range of data changed,
// header data changed). Only clearing and reading a whole file reset it.
//
// Calculated values are computed by the worksheet when data change; data()
// only reads texts. Row and column counts are mirrored so that the counts the
// views see change only inside the begin/end pair of each notification.
//
// Edits arrive through setData: the typed text goes to AceitaEdicao (a column
// without a variable is defined by the first character typed), a click on the
// check box of a dichotomous cell writes "TRUE" or "FALSE". Before each change
// the model calls AntesDeAlterar with a description (the main window records
// the undo step there) and afterwards emits edicaoAceita.
//
// While another thread works on the worksheet (reading, writing, sorting) the
// model is suspended: it ignores the grid's events and reads nothing; Retoma
// brings the views up to date afterwards.
#pragma once

#include "gui/worksheet/AparenciaPlanilha.h"
#include "worksheet/Gridzelto.h"

#include <QAbstractTableModel>
#include <QPixmap>

#include <functional>
#include <string>

namespace zelto {

class TModeloPlanilha : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TModeloPlanilha(TGridzelto &grid, QObject *parent = nullptr);
    ~TModeloPlanilha() override;

    TGridzelto &Grid() { return grid_; }
    const TGridzelto &Grid() const { return grid_; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Grid coordinates of a model index and back.
    static int Coluna(const QModelIndex &i) { return i.column() + 1; }
    static int Linha(const QModelIndex &i) { return i.row() + 1; }
    QModelIndex Indice(int c, int r) const { return index(r - 1, c - 1); }

    const TAparenciaPlanilha &Aparencia() const { return aparencia_; }
    void DefineAparencia(const TAparenciaPlanilha &a);

    // Coalesces the cell changes of a long operation into one notification
    // per rectangle; a structural change flushes what is pending first.
    void IniciaLote();
    void TerminaLote();

    // The worksheet is handed to another thread, and back. Retoma with
    // reinicia resets the model (the whole worksheet was replaced); otherwise
    // counts are brought up to date at the end and everything is repainted.
    void Suspende();
    void Retoma(bool reinicia);
    bool Suspenso() const { return suspenso_; }
    // While another thread only reads the worksheet (the model search), the views keep
    // showing it but nothing can be typed into it.
    void DefineSomenteLeitura(bool somenteLeitura) { somenteLeitura_ = somenteLeitura; }
    bool SomenteLeitura() const { return somenteLeitura_; }

    // Called before a change made through the model, with its description.
    std::function<void(const std::string &)> AntesDeAlterar;

  signals:
    // An edit of cell (c, r) was accepted by the worksheet.
    void edicaoAceita(int c, int r);

  private:
    // While Qt announces a change (the "about to" signals), views read the
    // worksheet as it stood before: the worksheet has already changed, so
    // the model translates positions back for that moment.
    struct Traducao {
        enum Tipo { Nenhuma, Insercao, Remocao, Movimento } tipo = Nenhuma;
        int a = 0, b = 0; // grid positions: the range inserted or removed, or from -> to
    };
    static int Traduz(const Traducao &t, int k); // -1: the position no longer exists
    int LinhaGrid(int linhaModelo) const;
    int ColunaGrid(int colunaModelo) const;
    void TrataMudanca(const TMudanca &m);
    void EmiteCelulas(int c0, int r0, int c1, int r1);
    void DescarregaLote();
    void AtualizaUsadas();
    bool ColunaNaoUsada(int c) const;
    bool Aceita(int c, int r, const std::string &texto);

    TGridzelto &grid_;
    int ouvinte_ = 0;
    Traducao trLinhas_, trColunas_;
    int linhas_ = 0;  // mirrored grid.RowCount() - 1
    int colunas_ = 0; // mirrored grid.ColCount() - 1
    int linhasUsadas_ = 0, colunasUsadas_ = 0;
    bool suspenso_ = false;
    bool somenteLeitura_ = false;
    int lote_ = 0;
    bool pendente_ = false;
    int pc0_ = 0, pr0_ = 0, pc1_ = 0, pr1_ = 0;
    TAparenciaPlanilha aparencia_;
    QPixmap marcaNaoUsada_, marcaDependente_;
    QColor corNaoUsada_;
};

} // namespace zelto
