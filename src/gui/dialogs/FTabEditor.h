// The table editor ("Tabela de variável qualitativa" / "Tabela de variável
// dicotômica"): a grid over the engine's table editor model (`TEdicaoTabela`)
// with its commands; saving asks through the confirmation dialog before it
// replaces a table of the same name.
#pragma once

#include "common/Perguntas.h"
#include "worksheet/EdicaoTabela.h"

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zelto {

class TFTabEditor : public QDialog {
    Q_OBJECT
  public:
    // nome: the table to open (none: a new, empty table). somenteLeitura: the
    // table is only shown ("Ver tabela").
    TFTabEditor(TTabelasVariaveis &tabelas, TipoTabela tipo, const std::optional<std::string> &nome,
                bool somenteLeitura, QWidget *parent = nullptr);

    // The name under which the table was saved (empty when it was not).
    const std::string &NomeGravado() const { return gravado_; }
    TEdicaoTabela &Edicao() { return edicao_; }

    QLineEdit *CampoNome() const { return nome_; }
    QTableWidget *Grade() const { return grade_; }
    QPushButton *Botao(const QString &rotulo) const;

    // The question asked before replacing a table (tests answer it directly).
    Pergunta Confirma;

    void accept() override;

  protected:
    bool eventFilter(QObject *o, QEvent *e) override;

  private:
    void Recarrega();
    void ItemMudou(int linha, int coluna);
    void LinhaMudou(int linha);
    void Comando(void (TEdicaoTabela::*f)());

    TEdicaoTabela edicao_;
    bool somenteLeitura_;
    bool recarregando_ = false;
    std::string gravado_;
    QLineEdit *nome_;
    QTableWidget *grade_;
};

} // namespace zelto
