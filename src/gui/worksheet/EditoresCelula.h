// The in-cell editors of the worksheet grid, one per editor kind of a column:
// real number (a line edit that takes digits, signs, "," and "."), list of the
// table's labels (qualitative), check box showing the labels of `Rotulos`
// (dichotomous), date (a line edit with a calendar button, texts in the
// column's date form) and plain text (comments and columns without a
// variable). The editor only collects a text; the worksheet puts it in the
// column's form when the edit is accepted.
#pragma once

#include "worksheet/Variavel.h"

#include <QStyledItemDelegate>
#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolButton;

namespace zelto {

class TModeloPlanilha;

// The number editor (digits, signs, "," and ".", right-aligned) and the list of a table's
// labels with an empty first entry.
QLineEdit *CriaEditorNumero(QWidget *parent);
QComboBox *CriaEditorLista(QWidget *parent, const std::vector<TObjetoValor> &itens);
// The date editor of a delegate: choosing a day in the calendar accepts the edit.
class TEditorData;
TEditorData *CriaEditorData(QAbstractItemDelegate *delegado, int tipoData, QWidget *parent);
// Plain text, without a frame.
QLineEdit *CriaEditorTexto(QWidget *parent);
// Any of these editors shows a cell's text / gives back the text it holds (dichotomous:
// "TRUE"/"FALSE").
void MostraNoEditor(QWidget *editor, const QString &texto);
QString TextoDoEditor(QWidget *editor);

// The date editor: a line edit and a button that opens a calendar; the chosen
// day is written in the column's date form.
class TEditorData : public QWidget {
    Q_OBJECT
  public:
    TEditorData(int tipoData, QWidget *parent = nullptr);
    QString Texto() const;
    void DefineTexto(const QString &t);
    QLineEdit *Edicao() const { return edicao_; }

  signals:
    void escolhido();

  private:
    void AbreCalendario();
    int tipoData_;
    QLineEdit *edicao_;
    QToolButton *botao_;
};

// The dichotomous editor: a check box whose caption is the label of its state.
class TEditorDicotomico : public QWidget {
    Q_OBJECT
  public:
    TEditorDicotomico(QString rotuloVerdadeiro, QString rotuloFalso, QWidget *parent = nullptr);
    bool Marcado() const;
    void DefineMarcado(bool m);
    QCheckBox *Caixa() const { return caixa_; }

  private:
    void Atualiza();
    QCheckBox *caixa_;
    QString verdadeiro_, falso_;
};

class TDelegadoPlanilha : public QStyledItemDelegate {
    Q_OBJECT
  public:
    TDelegadoPlanilha(TModeloPlanilha &modelo, QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

  private:
    TModeloPlanilha &modelo_;
};

} // namespace zelto
