// The program as a whole: the application object that catches unexpected
// failures, and the start-up order.
//
// `TAplicacao` loads Qt's Portuguese (Brazil) translations, so that the
// toolkit's own dialogs and buttons speak the program's language, and catches
// every exception that escapes an event handler and shows
// "Erro de processamento": "Prosseguir" hides any progress window and returns
// to the event loop, the failed command being abandoned; "Encerrar programa"
// ends the process at once, without the closing questions.
//
// ExecutaPrograma brings the program up: the single-instance guard (a second
// copy activates the first and ends), the start-up window, the settings file
// and the table store (user copies refreshed from the installed defaults),
// the main window (maximised), the hand-over check, the file named by the
// first argument; then the event loop until the window closes.
#pragma once

#include <QApplication>

#include <filesystem>
#include <functional>

namespace zelto {

class TAplicacao : public QApplication {
    Q_OBJECT
  public:
    enum class EscolhaErro { Prosseguir, Encerrar };

    TAplicacao(int &argc, char **argv);
    bool notify(QObject *o, QEvent *e) override;

    // Shows the error dialog (tests answer instead).
    std::function<EscolhaErro(const QString &detalhe)> PerguntaErro;
    // Ends the process at once (tests replace it).
    std::function<void()> Encerra;

    // What happens after an unexpected failure.
    void TrataFalha(const QString &detalhe);

  private:
    bool tratando_ = false;
};

// The folder of the installed defaults (ZERADE.INI, TAB_VAR.QVT): $ZELTO_SHARE,
// else share/zelto beside the program's folder, else the source tree's share/.
std::filesystem::path PastaPadroes();

int ExecutaPrograma(int argc, char **argv);

} // namespace zelto
