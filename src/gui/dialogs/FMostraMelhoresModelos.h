// The best-models window ("Melhores Modelos").
//
// It shows the search's best-models table: the row numbers and the column
// titles stand fixed, whole rows are selected and columns can be moved. The
// symbolic equation of the selected row's model stands in the box
// "&Modelo :"; "&Seleciona Modelo" is offered only for a row with an
// equation. "&Detalhamento" shows all twelve columns (building the detailed
// table first, with the progress window, when it has not been built yet) and
// becomes "&Resumo", which shows the first five. When the list was graded
// (TPesquisa::Gradua) the column "Fund." follows, in both views, with each
// model's grade of fundamentação. The left and right arrows
// scroll the table by one column. "&Imprimir" hands the table to the print
// callback. Cells are painted in the worksheet grid's colours.
#pragma once

#include "gui/worksheet/AparenciaPlanilha.h"
#include "search/Pesquisa.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace zelto {

class TFMostraMelhoresModelos : public QDialog {
    Q_OBJECT
  public:
    TFMostraMelhoresModelos(TPesquisa &p, int linhaInicial, bool detalhada,
                            const TAparenciaPlanilha &aparencia, std::function<void()> imprimir,
                            QWidget *parent = nullptr);

    // The selected table row (1-based); 0 when none.
    int LinhaAtual() const;
    void SelecionaLinha(int linha);
    // The "DetMod" setting as the window leaves it.
    bool Detalhada() const { return detalhada_; }
    // "&Detalhamento" (true) or "&Resumo" (false).
    void AplicaDetalhe(bool detalhada);
    // The equation of the selected row, as the search writes it.
    const std::string &Equacao() const { return equacao_; }

    // Controls, for tests.
    QTableWidget *Grade() const { return grade_; }
    QLabel *Titulo() const { return titulo_; }
    QLabel *Modelo() const { return modelo_; }
    QPushButton *BotaoSeleciona() const { return seleciona_; }
    QPushButton *BotaoDetalhe() const { return detalhe_; }
    QPushButton *BotaoImprimir() const { return imprimir_; }
    QPushButton *BotaoCancelar() const { return cancelar_; }

    // The size that shows every visible column and the row numbers whole, within the screen
    // area `disponivel` (the window's first size; later it keeps the size the valuer gave it).
    QSize TamanhoParaColunas(const QRect &disponivel) const;

    // The column "Fund." (0-based; present when the list was graded) and its title.
    static constexpr int kColunaFund = kColunasTabela - 1;
    static constexpr const char *kTituloFund = "Fund.";

    // `texto`'s markup (common/Marcacao.h) in HTML: superscripts and exponents in <sup>; text
    // escaped with Literal() (the variables' names) shows as typed.
    static QString EquacaoEmHtml(const std::string &texto);

  protected:
    bool eventFilter(QObject *o, QEvent *e) override;

  private:
    void Carrega();
    void MostraEquacao();

    TPesquisa &p_;
    bool detalhada_;
    std::function<void()> imprimirTabela_;
    std::string equacao_;

    QLabel *titulo_, *modelo_;
    QGroupBox *caixaModelo_;
    QTableWidget *grade_;
    QPushButton *seleciona_, *detalhe_, *imprimir_, *cancelar_;
};

// The window over the search's table (already built with MontaTabela), opened on row
// `linhaInicial` (clamped to the rows present). Returns the chosen table row (1-based)
// or 0 for "&Cancelar"/Escape. `detalhada` is the "DetMod" setting, in and out.
// `aparencia` gives the grid's colours and font (defaults when null). `tamanho`, when given, is
// the window's size in and out: an empty size opens it at the size that shows every column.
int MostraMelhoresModelos(QWidget *parent, TPesquisa &p, int linhaInicial, bool &detalhada,
                          const TAparenciaPlanilha *aparencia = nullptr,
                          const std::function<void()> &imprimir = {}, QSize *tamanho = nullptr);

} // namespace zelto
