// The progress window, driven by the engine's progress sink.
//
// `TFProgressao` is a `TProgresso`: the engine calls Inicia, Avanca,
// TextoAuxiliar and Termina from whatever thread runs the work; the window
// picks the values up on the user-interface thread a few times a second. Its
// "Interromper" button (shown when the work may be interrupted) sets the
// sink's cancel flag, which the engine checks between steps.
//
// ExecutaComProgresso runs a piece of work on another thread while the
// window is shown modal, so the program keeps painting and the button keeps
// working; it returns when the work has ended. Short work finishes before the
// window appears. An exception thrown by the work is thrown again on the
// calling thread, after the window is gone. ExecutaComJanela is that hand-off
// for any window (the search has a progress window of its own).
#pragma once

#include "common/Progresso.h"

#include <QDialog>

#include <functional>
#include <mutex>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zelto {

class TFProgressao : public QDialog, public TProgresso {
    Q_OBJECT
  public:
    explicit TFProgressao(QWidget *parent = nullptr);

    void Inicia(const std::string &titulo, double minimo, double maximo,
                bool interrompivel) override;
    void Avanca(double posicao) override;
    void TextoAuxiliar(const std::string &texto) override;
    void Termina() override;

    // Shows the latest values (called by the window's timer).
    void Atualiza();
    // What the work has set so far, whether or not the window has shown it yet.
    std::string Titulo() const;
    std::string Auxiliar() const;
    bool Interrompivel() const;
    QPushButton *BotaoInterromper() const { return interromper_; }

  protected:
    void reject() override; // Escape and the close button interrupt when allowed

  private:
    mutable std::mutex m_;
    std::string titulo_, auxiliar_;
    double minimo_ = 0, maximo_ = 100, posicao_ = 0;
    bool interrompivel_ = false;
    bool mudou_ = false;
    QLabel *titulo_rotulo_, *auxiliar_rotulo_;
    QProgressBar *barra_;
    QPushButton *interromper_;
    QTimer *relogio_;
};

// Milliseconds before a progress window shows: work that ends sooner shows none. Tests that
// must press a window's button on short work set 0.
inline int AtrasoJanelaProgresso = 300;

// Runs trabalho(progresso) on another thread with the progress window shown
// over parent after a short delay. True when the work ended without being
// interrupted.
bool ExecutaComProgresso(QWidget *parent, const std::function<void(TProgresso &)> &trabalho);

// Runs trabalho() on another thread. When it has not ended after a short
// delay, `prepara` is called and `janela` is shown modal until the work ends,
// then hidden. Returns after the work has ended; an exception of the work is
// thrown again here.
void ExecutaComJanela(QDialog &janela, const std::function<void()> &trabalho,
                      const std::function<void()> &prepara = {});
// True while some work handed to another thread by ExecutaComJanela has not ended: what runs
// in idle moments of this thread leaves the engine alone then.
bool TrabalhoEmAndamento();

} // namespace zelto
