#include "gui/dialogs/DlgOrdenar.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zelto {

namespace {
// The direction chosen last, for the rest of the run; ascending at start.
bool ultimaCrescente = true;
} // namespace

TDlgOrdenar::TDlgOrdenar(const std::vector<std::string> &nomes, QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Ordenar a planilha"));
    auto *l = new QVBoxLayout(this);
    l->addWidget(new QLabel(QStringLiteral("Selecione os critérios de ordenação"), this));
    lista_ = new QListWidget(this);
    lista_->addItem(QStringLiteral("Número das linhas"));
    for (const std::string &n : nomes)
        lista_->addItem(QString::fromStdString(n));
    l->addWidget(lista_, 1);
    auto *grupo = new QGroupBox(this);
    auto *lg = new QHBoxLayout(grupo);
    crescente_ = new QRadioButton(QStringLiteral("&Crescente"), grupo);
    decrescente_ = new QRadioButton(QStringLiteral("&Decrescente"), grupo);
    lg->addWidget(crescente_);
    lg->addWidget(decrescente_);
    (ultimaCrescente ? crescente_ : decrescente_)->setChecked(true);
    l->addWidget(grupo);
    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    ordenar_ = new QPushButton(QStringLiteral("Ordenar"), this);
    auto *cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    botoes->addWidget(ordenar_);
    botoes->addWidget(cancelar);
    l->addLayout(botoes);
    ordenar_->setEnabled(false);
    ordenar_->setDefault(true);
    connect(lista_, &QListWidget::currentRowChanged, this,
            [this](int i) { ordenar_->setEnabled(i >= 0); });
    connect(lista_, &QListWidget::itemDoubleClicked, this, &TDlgOrdenar::accept);
    connect(ordenar_, &QPushButton::clicked, this, &TDlgOrdenar::accept);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
}

int TDlgOrdenar::Coluna() const {
    return lista_->currentRow();
}

bool TDlgOrdenar::Crescente() const {
    return crescente_->isChecked();
}

void TDlgOrdenar::accept() {
    if (Coluna() < 0) return;
    ultimaCrescente = Crescente();
    QDialog::accept();
}

} // namespace zelto
