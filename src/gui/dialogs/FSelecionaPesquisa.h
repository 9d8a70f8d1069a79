// The search configuration dialog ("Configurar Pesquisa de Modelos").
//
// The dialog shows a `TSelecaoPesquisa` (the engine's model of what the user
// is choosing) and forwards every click to it; after each click every control
// is filled again from the model, with its signals blocked so that filling
// never counts as a click. It shows: the tab strip of the used variables (or,
// while one mask applies to every variable, a note in its place), the fifteen
// check boxes of the transformation codes, the five search types, the ranking
// criterion, rapid search with its slider, and a button that opens the
// significance settings and shows their description. Its exits are
// "Confirma configuração", "&Executa pesquisa" and "Cancelar"; storing the
// choice is the caller's (TPesquisa::Configura).
#pragma once

#include "search/ConfiguracaoPesquisa.h"
#include "significance/Significancias.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;
class QTabBar;

namespace zelto {

class TFSelecionaPesquisa : public QDialog {
    Q_OBJECT
  public:
    // `significancias`: the settings whose description the significance button shows.
    TFSelecionaPesquisa(TSelecaoPesquisa &s, const TSignificancias &significancias,
                        std::function<void()> abreSignificancias, QWidget *parent = nullptr);

    // Fills every control from the model.
    void Mostra();

    // Controls, for tests.
    QTabBar *Abas() const { return abas_; }
    QLabel *Nota() const { return nota_; }
    QCheckBox *Caixa(int codigo) const { return caixas_[static_cast<std::size_t>(codigo)]; }
    QRadioButton *BotaoTipo(TipoPesquisa t) const { return tipos_[t]; }
    QComboBox *Ordenacao() const { return ordenar_; }
    QCheckBox *CaixaRapida() const { return rapida_; }
    QSlider *Deslizador() const { return deslizador_; }
    QLabel *Percentual() const { return percentual_; }
    QPushButton *BotaoSignificancias() const { return significancias_; }
    QPushButton *BotaoConfirma() const { return confirma_; }
    QPushButton *BotaoExecuta() const { return executa_; }
    QPushButton *BotaoCancela() const { return cancela_; }

  public slots:
    void reject() override; // Escape: "Cancelar"

  private:
    TSelecaoPesquisa &s_;
    const TSignificancias &significanciasEmVigor_;
    std::function<void()> abreSignificancias_;

    QStackedWidget *topo_;
    QTabBar *abas_;
    QLabel *nota_;
    std::array<QCheckBox *, 15> caixas_{};
    std::array<QRadioButton *, 5> tipos_{};
    QComboBox *ordenar_;
    QCheckBox *rapida_;
    QSlider *deslizador_;
    QLabel *percentual_;
    QPushButton *significancias_, *confirma_, *executa_, *cancela_;
};

// Shows the dialog over `s` (already opened with TSelecaoPesquisa::Abre); returns
// kResultadoConfirma, kResultadoExecuta or kResultadoCancela. The significance button shows
// the description of `significancias`; `abreSignificancias` is called by it, and the caption is
// refreshed afterwards.
int MostraSelecaoPesquisa(QWidget *parent, TSelecaoPesquisa &s,
                          const TSignificancias &significancias,
                          const std::function<void()> &abreSignificancias);

} // namespace zelto
