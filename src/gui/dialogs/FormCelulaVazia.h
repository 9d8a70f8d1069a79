// The empty-cell question ("Dados não preenchidos"): what to do about the
// first empty cell found before saving or searching.
#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QRadioButton;

namespace zelto {

enum class EscolhaCelulaVazia {
    Preencher,                // go to the cell; the save or search does not happen
    DesconsiderarAmostragens, // disregard the samples that have empty cells
    NaoUsarVariaveis,         // stop using the variables that have empty cells
};

struct TRespostaCelulaVazia {
    EscolhaCelulaVazia Escolha = EscolhaCelulaVazia::Preencher;
    bool NaoVerificarMais = false; // "Não realizar a verificação ... novamente."
};

class TFormCelulaVazia : public QDialog {
    Q_OBJECT
  public:
    TFormCelulaVazia(const std::string &nomeVariavel, const std::string &amostragem,
                     QWidget *parent = nullptr);
    TRespostaCelulaVazia Resposta() const;

    // The text of the question.
    static std::string Texto(const std::string &nomeVariavel, const std::string &amostragem);

    QRadioButton *Opcao(int i) const { return opcoes_[i]; }
    QCheckBox *CaixaNaoVerificar() const { return naoVerificar_; }

  private:
    QRadioButton *opcoes_[3];
    QCheckBox *naoVerificar_;
};

} // namespace zelto
