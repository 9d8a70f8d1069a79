// The window that follows a model search while it runs.
//
// `TFProgressoPesquisa` is the search's progress sink: the search thread
// hands it the models examined and the search's state (the best R so far,
// the time spent and the time the whole search is expected to take); the
// window shows the latest of them a few times a second on the user-interface
// thread, with a bar over the total number of models. "Interromper pesquisa"
// (and Escape, and closing the window) sets the cancel flag; the search stops
// at its next step and may be continued later.
//
// ExecutaPesquisa runs the search on another thread with the window shown
// modal, through the same hand-off as the general progress window.
#pragma once

#include "search/Pesquisa.h"

#include <QDialog>

#include <functional>
#include <mutex>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zelto {

class TFProgressoPesquisa : public QDialog, public TProgressoPesquisa {
    Q_OBJECT
  public:
    explicit TFProgressoPesquisa(QWidget *parent = nullptr);

    // Called by the search, from any thread.
    void Inicia(const std::string &titulo, double minimo, double maximo,
                bool interrompivel) override;
    void Avanca(double posicao) override;
    void Estado(const TEstadoPesquisa &estado) override;
    void Termina() override;

    // Shows the latest values (called by the window's timer).
    void Atualiza();

    // The texts shown: examined count, best R, elapsed and estimated time.
    static QString TextoContagem(std::uint64_t n);
    static QString TextoR(long double r);
    static QString TextoTempo(double segundos);

    // Controls, for tests.
    QLabel *Titulo() const { return titulo_; }
    QLabel *ValorExaminados() const { return examinados_; }
    QLabel *ValorMaiorR() const { return maiorR_; }
    QLabel *ValorDecorrido() const { return decorrido_; }
    QLabel *ValorEstimado() const { return estimado_; }
    QProgressBar *Barra() const { return barra_; }
    QPushButton *BotaoInterromper() const { return interromper_; }

  protected:
    void reject() override; // Escape and the close button interrupt

  private:
    void Interrompe();

    std::mutex m_;
    std::string textoTitulo_;
    double minimo_ = 0, maximo_ = 1, posicao_ = 0;
    TEstadoPesquisa estado_;
    bool mudou_ = true;
    QLabel *titulo_, *examinados_, *maiorR_, *decorrido_, *estimado_;
    QProgressBar *barra_;
    QPushButton *interromper_;
    QTimer *relogio_;
};

// Runs trabalho(janela) on another thread with the search progress window
// shown modal over parent; returns when the work has ended; true when it was
// not interrupted. An exception of the work is rethrown on the calling thread.
bool ExecutaPesquisa(QWidget *parent, const std::function<void(TProgressoPesquisa &)> &trabalho);

} // namespace zelto
