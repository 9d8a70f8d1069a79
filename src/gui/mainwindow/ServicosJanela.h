// What the command classes of the main window ask of the window that composes them: the
// answers of the user, the refresh of the status and the commands' state, long work with the
// worksheet handed to another thread, the settings file, and the worksheet's views.
#pragma once

#include "common/Perguntas.h"

#include <functional>
#include <string>

class QAction;
class QMainWindow;
class QString;

namespace zelto {

class TGradePlanilha;
class TModeloPlanilha;
class TProgresso;

// The questions and notices the program shows. Each goes through a replaceable callback so
// that tests drive the real window and answer for the user.
struct TRespostasUsuario {
    Pergunta Confirma;       // yes / no / cancel
    Pergunta ConfirmaSimNao; // yes / no
    std::function<void(const std::string &)> Informa;
    std::function<void(const std::string &)> Avisa;
};

class TServicosJanela {
  public:
    // The parent of the dialogs, and its status line.
    virtual QMainWindow *Janela() = 0;
    // Every command first accepts a pending cell edit.
    virtual void Comando() = 0;
    // Status texts, command states and captions.
    virtual void Atualiza() = 0;
    // The mode's captions, the option marks and the mode's significance settings.
    virtual void AtualizaModo() = 0;
    // The state of the report commands and the caption of the report's tab.
    virtual void AtualizaComandosRelatorio() = 0;
    // The recent files in the "&Arquivo" menu.
    virtual void AtualizaRecentes() = 0;
    // Runs long work with the worksheet handed to another thread and the progress window up;
    // false when interrupted.
    virtual bool ExecutaLonga(const std::function<void(TProgresso &)> &trabalho, bool reinicia) = 0;
    // A long command runs: no input reaches the menus, the pages' tabs or the grid.
    virtual bool Ocupado() const = 0;
    // Writes one key of the general settings back (with a notice when it cannot).
    virtual void GravaChave(const char *chave) = 0;
    virtual TGradePlanilha *Grade() const = 0;
    virtual TModeloPlanilha *Modelo() const = 0;
    // An action by its object name.
    virtual QAction *Acao(const QString &nome) const = 0;
    // The empty-cell check before the worksheet is saved or searched (true: go on).
    virtual bool VerificaCelulasVazias() = 0;
    // Leaves the grid: trailing empty rows stop counting as used.
    virtual void AparaLinhas() = 0;

  protected:
    ~TServicosJanela() = default;
};

} // namespace zelto
