// TFOpcoes ("Opções"): the options of the regression graphs that draw one graph per variable
// or pair: where the functions are evaluated (sample mean or the subject property's data),
// which kinds of variables are taken, and a limit on the number of graphs.
// The options are the series bytes of the item: evaluation point, numeric and calculated
// variables, dates, qualitative, dichotomous, limit on, and the limit.
#pragma once

#include "evaluation/ItemAvaliacao.h"

#include <QDialog>

class QCheckBox;
class QRadioButton;
class QSpinBox;

namespace zelto {

class TFOpcoes : public QDialog {
    Q_OBJECT
  public:
    // Edits the item's options when confirmed.
    TFOpcoes(TItemAvaliacaoGraf &item, QWidget *pai = nullptr);
    void accept() override;

  private:
    TItemAvaliacaoGraf &item_;
    QRadioButton *media_, *objeto_, *naoLimitar_, *limitar_;
    QCheckBox *tipos_[4];
    QSpinBox *limite_;
};

} // namespace zelto
