// The variable definition dialog ("Características da variável").
//
// It shows and collects a `TAtributosVariavel`: one page per variable kind
// (titles by the statistics mode), the name and description, the flags, the
// alignment, and per kind the decimals, the label table (with the commands
// of the table store), the formula builder or the date settings. The rules
// that tie the check boxes together are the engine's (AplicaRegras); what
// "Confirmar" does to the worksheet is DefineVariavel, called by the owner
// with Atributos() after the dialog was accepted.
#pragma once

#include "common/Perguntas.h"
#include "worksheet/DefinicaoVariavel.h"

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace zelto {

class TFAtributos : public QDialog {
    Q_OBJECT
  public:
    TFAtributos(const TGridzelto &g, int coluna, TTabelasVariaveis &tabelas,
                QWidget *parent = nullptr);

    const TAtributosVariavel &Atributos() const { return a_; }

    // Controls, for tests and for the owner.
    QLineEdit *CampoNome() const { return nome_; }
    QLineEdit *CampoDescricao() const { return descricao_; }
    QTabWidget *Paginas() const { return paginas_; }
    QLineEdit *CampoDecimais(TipoVariavel t) const {
        return t == tvCalculada ? casasCalc_ : casas_;
    }
    QCheckBox *CaixaMilhar(TipoVariavel t) const {
        return t == tvCalculada ? milharCalc_ : milhar_;
    }
    QListWidget *ListaTabelas(TipoTabela t) const;
    QLineEdit *CampoFormula() const { return formula_; }
    QListWidget *ListaNomes() const { return nomes_; }
    QCheckBox *CaixaUsada() const { return usada_; }
    QCheckBox *CaixaDependente() const { return dependente_; }
    QCheckBox *CaixaCoeficiente() const { return coeficiente_; }
    QRadioButton *OpcaoTipoData(int i) const { return tipoData_[i]; }
    QDateEdit *CampoDataReferencia() const { return dataRef_; }
    QPushButton *BotaoConfirmar() const { return confirmar_; }

    // Inserts a text at the formula's caret ("+", "-", "×", "÷", "(", ")",
    // "[name]"); the power sign goes at the end.
    void InsereNaFormula(const QString &texto);
    void AcrescentaPotencia();

    // "Confirmar" on a calculated variable first tries the formula on the worksheet's first
    // rows; a fault is explained and the user chooses whether to confirm all the same (tests
    // answer instead of the yes/no question).
    std::function<Resposta(const std::string &texto)> PerguntaFormula;
    // The explanation of a fault of the formula, with the question.
    static std::string TextoFalhaFormula(const TGridzelto &g, const TFalhaFormula &f);

    void accept() override;

  private:
    QWidget *PaginaNumerica();
    QWidget *PaginaTabela(TipoTabela tipo);
    QWidget *PaginaCalculada();
    QWidget *PaginaData();
    QWidget *PaginaComentario();
    void CarregaTabelas(TipoTabela tipo, const std::string &selecionar);
    void ComandoTabela(TipoTabela tipo, int comando);
    void Coleta();
    void Mostra();
    void Mudou();

    const TGridzelto &grid_;
    TTabelasVariaveis &tabelas_;
    TAtributosVariavel a_;
    bool mostrando_ = false;

    QLineEdit *nome_, *descricao_;
    QTabWidget *paginas_;
    QLineEdit *casas_ = nullptr, *casasCalc_ = nullptr, *formula_ = nullptr;
    QCheckBox *milhar_ = nullptr, *milharCalc_ = nullptr;
    QListWidget *tabelasQ_ = nullptr, *tabelasD_ = nullptr, *nomes_ = nullptr;
    QRadioButton *tipoData_[3] = {};
    QDateEdit *dataRef_ = nullptr;
    QCheckBox *usada_, *dependente_, *coeficiente_;
    QRadioButton *esquerda_, *centro_, *direita_;
    QPushButton *confirmar_;
};

} // namespace zelto
