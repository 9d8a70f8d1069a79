#include "gui/dialogs/FormCelulaVazia.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zelto {

std::string TFormCelulaVazia::Texto(const std::string &nomeVariavel,
                                    const std::string &amostragem) {
    return "A variável \"" + nomeVariavel + "\" da amostragem " + amostragem + " está em branco.";
}

TFormCelulaVazia::TFormCelulaVazia(const std::string &nomeVariavel, const std::string &amostragem,
                                   QWidget *parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Dados não preenchidos"));
    auto *l = new QVBoxLayout(this);
    auto *texto = new QLabel(QString::fromStdString(Texto(nomeVariavel, amostragem)), this);
    texto->setObjectName(QStringLiteral("texto"));
    l->addWidget(texto);
    const char *rotulos[3] = {"Preencher a célula em branco.",
                              "Não usar amostragens que possuam células em branco.",
                              "Não usar variáveis que possuam células em branco."};
    for (int i = 0; i < 3; ++i) {
        opcoes_[i] = new QRadioButton(QString::fromUtf8(rotulos[i]), this);
        l->addWidget(opcoes_[i]);
    }
    opcoes_[0]->setChecked(true);
    naoVerificar_ = new QCheckBox(
        QStringLiteral("Não realizar a verificação de células em branco novamente."), this);
    l->addSpacing(8);
    l->addWidget(naoVerificar_);
    auto *botoes = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    l->addWidget(botoes);
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

TRespostaCelulaVazia TFormCelulaVazia::Resposta() const {
    TRespostaCelulaVazia r;
    if (opcoes_[1]->isChecked()) r.Escolha = EscolhaCelulaVazia::DesconsiderarAmostragens;
    if (opcoes_[2]->isChecked()) r.Escolha = EscolhaCelulaVazia::NaoUsarVariaveis;
    r.NaoVerificarMais = naoVerificar_->isChecked();
    return r;
}

} // namespace zelto
