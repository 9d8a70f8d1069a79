// The sort dialog ("Ordenar a planilha"): the column to sort by ("Número
// das linhas" or a used variable) and the direction, remembered for the run.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;
class QRadioButton;

namespace zelto {

class TDlgOrdenar : public QDialog {
    Q_OBJECT
  public:
    // nomes: the names of columns 1..ColunasUsadas.
    TDlgOrdenar(const std::vector<std::string> &nomes, QWidget *parent = nullptr);

    // The chosen entry: 0 the sample numbers, k column k; -1 when none.
    int Coluna() const;
    bool Crescente() const;

    QListWidget *Lista() const { return lista_; }
    QPushButton *BotaoOrdenar() const { return ordenar_; }
    QRadioButton *OpcaoDecrescente() const { return decrescente_; }

    void accept() override;

  private:
    QListWidget *lista_;
    QRadioButton *crescente_, *decrescente_;
    QPushButton *ordenar_;
};

} // namespace zelto
