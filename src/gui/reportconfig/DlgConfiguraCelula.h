// TDlgConfiguraCelula: one cell format of a table item. The four borders (line kind and
// colour each), the background colour and the font (name, size, colour, "Negrito",
// "Itálico", "Sublinhado"), with a live sample table in that format. The two inner sides
// follow the left and top borders.
#pragma once

#include "evaluation/ItemAvaliacao.h"

#include <QDialog>

class QCheckBox;
class QFontComboBox;
class QSpinBox;

namespace zelto {

class TComboBorda;
class TComboCor;

class TDlgConfiguraCelula : public QDialog {
    Q_OBJECT
  public:
    TDlgConfiguraCelula(const TFormatoCelula &f, QWidget *pai = nullptr);
    const TFormatoCelula &Formato() const { return f_; }

  private:
    void Atualiza();
    TFormatoCelula f_;
    TComboBorda *bordas_[4] = {};
    TComboCor *coresBorda_[4] = {};
    TComboCor *fundo_ = nullptr, *corFonte_ = nullptr;
    QFontComboBox *nome_ = nullptr;
    QSpinBox *tamanho_ = nullptr;
    QCheckBox *estilo_[3] = {};
    QWidget *amostra_ = nullptr;
};

} // namespace zelto
