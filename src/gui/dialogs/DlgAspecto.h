// The worksheet's appearance ("aspecto da Planilha"): font, font colour,
// cell colour, colour of the fixed row and column, and the data row height.
#pragma once

#include "gui/worksheet/AparenciaPlanilha.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;

namespace zelto {

class TDlgAspecto : public QDialog {
    Q_OBJECT
  public:
    TDlgAspecto(const TAparenciaPlanilha &a, QWidget *parent = nullptr);
    const TAparenciaPlanilha &Aparencia() const { return a_; }

  private:
    void Mostra();
    TAparenciaPlanilha a_;
    QLabel *amostra_;
    QPushButton *fonte_, *corFonte_, *corCelula_, *corFixa_;
    QSpinBox *altura_;
};

} // namespace zelto
