// The dialog of the property under evaluation ("Objeto a ser avaliado").
//
// It shows a `TEdicaoObjeto` and forwards the user's edits to it: the
// description of the subject (names, genders, units and their positions for
// the object, the multiplicative characteristic and the final value), the
// characteristic's value, and, in the inferential mode, a one-row grid with
// the subject's value of every variable but the dependent one. Each grid
// column copies its worksheet column's title, width, alignment and kind, with
// the kind's editor; calculated columns are computed by the engine and cannot
// be typed into. The ordering panel (hide unused variables, worksheet or
// alphabetical order) rebuilds the grid keeping the values typed so far and
// writes its options to the general settings at once.
//
// Nothing reaches the worksheet before "Confirma"; a characteristic value
// that is no number is refused there, with a message, instead of being taken
// as 0. "Abandona", Escape and closing leave the worksheet as it was.
#pragma once

#include "files/ArquivoIni.h"
#include "search/ObjetoAvaliacao.h"

#include <QDialog>
#include <QFont>

#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace zelto {

struct TResultadoObjeto {
    bool Confirmado = false; // "Confirma" (false: "Abandona", Escape, close)
    bool Alterado = false;   // the worksheet's subject changed (it is then marked modified)
};

// "Definir objeto sob avaliação": the dialog on the worksheet `g`; the options "OcNU" and
// "OrAlf" are read from and written to the general settings `ini` (section "Geral").
// `fonte` is the worksheet's font (the value grid uses it).
TResultadoObjeto InformaObjeto(QWidget *parent, TGridzelto &g, TArquivoIni &ini,
                               bool modoInferencial, const QFont &fonte);

class TModeloObjeto;
class TGradeObjeto;

class TFVariaveisIndependentes : public QDialog {
    Q_OBJECT
  public:
    // The rows of the description.
    enum Descricao { dObjeto = 0, dCaracteristica = 1, dValorFinal = 2 };

    TFVariaveisIndependentes(TGridzelto &g, TArquivoIni &ini, bool modoInferencial,
                             const QFont &fonte, QWidget *parent = nullptr);
    ~TFVariaveisIndependentes() override;

    // Tells the user why something was refused; a warning box unless replaced.
    std::function<void(const std::string &)> Avisa;

    const TResultadoObjeto &Resultado() const { return resultado_; }
    const TEdicaoObjeto &Edicao() const { return *edicao_; }

    // Controls, for tests.
    QLineEdit *CampoNome(Descricao d) const { return linhas_[d].nome; }
    QComboBox *CaixaGenero(Descricao d) const { return linhas_[d].genero; }
    QLineEdit *CampoUnidade(Descricao d) const { return linhas_[d].unidade; }
    QComboBox *CaixaPosicao(Descricao d) const { return linhas_[d].posicao; }
    QLabel *RotuloValorFinal() const { return rotuloValorFinal_; }
    QLabel *RotuloDependente() const { return dependente_; }
    QLabel *LegendaUnidade() const { return legenda_; }
    QLabel *RotuloMultiplicador() const { return rotuloMultiplicador_; }
    QLineEdit *CampoMultiplicador() const { return multiplicador_; }
    QLabel *Resumo() const { return resumo_; }
    QGroupBox *GrupoValores() const { return grupoValores_; }
    QTableView *Grade() const;
    QWidget *PainelOrdem() const { return painelOrdem_; }
    QCheckBox *CaixaOcultar() const { return ocultar_; }
    QRadioButton *OpcaoPlanilha() const { return ordemPlanilha_; }
    QRadioButton *OpcaoAlfabetica() const { return ordemAlfabetica_; }
    QPushButton *BotaoConfirma() const { return confirma_; }
    QPushButton *BotaoAbandona() const { return abandona_; }

    // The entry of Edicao().Valores() shown in column k of the grid; -1 when none.
    int EntradaDaColuna(int k) const;

    void accept() override;

  private:
    struct LinhaDescricao {
        QLineEdit *nome = nullptr, *unidade = nullptr;
        QComboBox *genero = nullptr, *posicao = nullptr;
    };
    void MontaDescricao(QGridLayout *l, Descricao d, const QString &rotulo, const char *exemplo,
                        QWidget *legendaUnidade);
    void MostraDescricao();
    void ColetaDescricao();
    void AtualizaTextos();
    void MudouOpcoes();
    void AjustaGrade();

    TGridzelto &grid_;
    TArquivoIni &ini_;
    QFont fonte_;
    std::unique_ptr<TEdicaoObjeto> edicao_;
    TResultadoObjeto resultado_;
    bool mostrando_ = false;

    LinhaDescricao linhas_[3];
    QLabel *rotuloValorFinal_ = nullptr, *dependente_ = nullptr, *legenda_ = nullptr;
    QLabel *rotuloMultiplicador_ = nullptr, *resumo_ = nullptr;
    QLineEdit *multiplicador_ = nullptr;
    QGroupBox *grupoValores_ = nullptr;
    TModeloObjeto *modelo_ = nullptr;
    TGradeObjeto *grade_ = nullptr;
    QWidget *painelOrdem_ = nullptr;
    QCheckBox *ocultar_ = nullptr;
    QRadioButton *ordemPlanilha_ = nullptr, *ordemAlfabetica_ = nullptr;
    QPushButton *confirma_ = nullptr, *abandona_ = nullptr;
};

} // namespace zelto
