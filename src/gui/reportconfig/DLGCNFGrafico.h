// TDLGCNFGrafico: the format of a graph item. Fonts (title, legends, comments, X scale,
// indices, Y scale), colours (around the plot, plot background, markers, grid, lowest and
// highest value of colour maps, lines), the comments and numbering options, the marker kind,
// line style and width, per axis the maximum and minimum of a manual range (open while
// "escala automática" is off; typed with a decimal comma, or point), the divisions, automatic
// or manual scale, hidden scale, centring on zero and grid line kind, the picture size in mm
// and the colour count. A live
// preview draws a sample chart with the chart component exactly as the report will, with the
// estimated size of the picture. Series graphs also open TFOpcoes.
#pragma once

#include "gui/reportconfig/DlgItem.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace zelto {

class TBotaoCor;
class TBotaoFonte;
struct TChart;

// A number typed in a range field: decimal comma (with or without thousands dots) or decimal
// point; NaN when the text is no number (an empty field included).
double NumeroDigitado(const QString &texto);
// A range end as the field shows it (empty when NaN).
QString TextoNumero(double v);

// The estimated size of a picture of w x h pixels at a colour count (2, 16 or 256) as shown:
// "( 512 bytes )", "( 37 kbytes )", "( 2 Mbytes )".
QString TamanhoEstimado(int largura, int altura, int cores);

class TDLGCNFGrafico : public TDlgItem {
    Q_OBJECT
  public:
    TDLGCNFGrafico(TListaItens &itens, int indice, bool todos, QWidget *pai = nullptr);
    // The sample chart of the preview, as the settings stand.
    TChart Previa() const;
    // The colour count chosen (2, 16 or 256).
    int Cores() const;

  private:
    TItemAvaliacaoGraf &G() { return static_cast<TItemAvaliacaoGraf &>(Rascunho()); }
    void Atualiza();

    TBotaoFonte *fontes_[6] = {};
    TBotaoCor *cores_[7] = {};
    QCheckBox *comentarios_ = nullptr, *indices_ = nullptr;
    QComboBox *marcador_ = nullptr, *estiloLinha_ = nullptr, *numeroCores_ = nullptr;
    QSpinBox *larguraLinha_ = nullptr, *largura_ = nullptr, *altura_ = nullptr;
    struct TControlesEixo {
        QLineEdit *Minimo = nullptr, *Maximo = nullptr;
        QSpinBox *Divisoes = nullptr;
        QCheckBox *Automatica = nullptr, *Oculta = nullptr, *Centra = nullptr;
        QComboBox *Grade = nullptr;
    } eixos_[2];
    QWidget *previa_ = nullptr;
    QLabel *tamanho_ = nullptr;
};

} // namespace zelto
