// The confirmation dialog: a question and the answers yes, no and cancel
// (or only yes and no). It is the front end's answer to the engine's
// question callback (`Pergunta`).
#pragma once

#include "common/Perguntas.h"

#include <QDialog>

class QPushButton;

namespace zelto {

class TFConfirma : public QDialog {
    Q_OBJECT
  public:
    TFConfirma(const QString &texto, bool comCancelar, QWidget *parent = nullptr);
    Resposta Escolha() const { return escolha_; }

    QPushButton *BotaoSim() const { return sim_; }
    QPushButton *BotaoNao() const { return nao_; }
    QPushButton *BotaoCancelar() const { return cancelar_; }

    // Asks and waits. Closing the window counts as cancel (as no when there is
    // no cancel button).
    static Resposta Pergunta(QWidget *parent, const std::string &texto, bool comCancelar = true);

  protected:
    void reject() override;

  private:
    Resposta escolha_;
    bool comCancelar_;
    QPushButton *sim_, *nao_, *cancelar_ = nullptr;
};

} // namespace zelto
