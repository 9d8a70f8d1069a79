// The format dialogs of text and table items.
//
// TFCNFTexto ("Configurar Texto"): the title, text and comment fonts, whether comments are
// written, the line spacing, and a live sample of the three fonts at that spacing.
// TFCNFTabela ("Configurar Tabela"): the same, plus the look of the table by region, each
// region edited in TDlgConfiguraCelula, with a live sample table.
#pragma once

#include "gui/reportconfig/DlgItem.h"

#include <QWidget>

class QCheckBox;
class QRadioButton;

namespace zelto {

class TBotaoFonte;

// A few lines in an item's title, body and comment fonts at its line spacing.
class TAmostraTexto : public QWidget {
  public:
    TAmostraTexto(const TItemAvaliacao &item, QWidget *pai);

  protected:
    void paintEvent(QPaintEvent *) override;

  private:
    const TItemAvaliacao &item_;
};

// A small table drawn with the five cell formats of a table item (by region), or with one
// format in every cell.
class TAmostraTabela : public QWidget {
  public:
    TAmostraTabela(const TItemAvaliacaoTab &item, QWidget *pai);
    TAmostraTabela(const TFormatoCelula &formato, QWidget *pai);

  protected:
    void paintEvent(QPaintEvent *) override;

  private:
    const TItemAvaliacaoTab *item_ = nullptr;
    const TFormatoCelula *formato_ = nullptr;
};

// Paints one cell: background, text in its font, its four borders.
void PintaCelula(QPainter &p, const QRect &r, const TFormatoCelula &f, const QString &texto);

class TFCNFTexto : public TDlgItem {
    Q_OBJECT
  public:
    TFCNFTexto(TListaItens &itens, int indice, bool todos, QWidget *pai = nullptr);

  protected:
    TFCNFTexto(TListaItens &itens, int indice, std::unique_ptr<TItemAvaliacao> rascunho, bool todos,
               QWidget *pai);
    // The fonts, options and sample; the table dialog adds its part between them and the
    // buttons.
    void MontaTexto(const QString &titulo);
    void Atualiza();
    QVBoxLayout *layout_ = nullptr;
    TAmostraTexto *amostra_ = nullptr;

  private:
    TBotaoFonte *fontes_[3] = {};
    QCheckBox *comentarios_ = nullptr;
    QRadioButton *espacamento_[3] = {};
};

class TFCNFTabela : public TFCNFTexto {
    Q_OBJECT
  public:
    TFCNFTabela(TListaItens &itens, int indice, bool todos, QWidget *pai = nullptr);
    // Opens the cell dialog of a region (TRegiaoTabela); true when it was confirmed.
    bool ConfiguraRegiao(int regiao);

  private:
    TItemAvaliacaoTab &Tab() { return static_cast<TItemAvaliacaoTab &>(Rascunho()); }
    TAmostraTabela *tabela_ = nullptr;
};

} // namespace zelto
