// The dialog for unexpected failures ("Erro de processamento"): "Prosseguir"
// abandons the command that failed, "Encerrar programa" ends the program at
// once, without the closing questions.
#pragma once

#include <QDialog>

class QPushButton;

namespace zelto {

class TDlgErroFatal : public QDialog {
    Q_OBJECT
  public:
    enum Escolha { Prosseguir, Encerrar };

    // detalhe: what failed, shown small under the fixed texts (may be empty).
    explicit TDlgErroFatal(const QString &detalhe, QWidget *parent = nullptr);
    Escolha Resultado() const { return escolha_; }

    QPushButton *BotaoProsseguir() const { return prosseguir_; }
    QPushButton *BotaoEncerrar() const { return encerrar_; }

  protected:
    void reject() override;

  private:
    Escolha escolha_ = Prosseguir;
    QPushButton *prosseguir_, *encerrar_;
};

} // namespace zelto
