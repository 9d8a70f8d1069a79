#include "gui/dialogs/FConfirma.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zelto {

TFConfirma::TFConfirma(const QString &texto, bool comCancelar, QWidget *parent)
    : QDialog(parent), escolha_(comCancelar ? Resposta::Cancelar : Resposta::Nao),
      comCancelar_(comCancelar) {
    setWindowTitle(QStringLiteral("Zelto 32"));
    auto *l = new QVBoxLayout(this);
    auto *topo = new QHBoxLayout;
    auto *icone = new QLabel(this);
    icone->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    icone->setAlignment(Qt::AlignTop);
    auto *rotulo =
        new QLabel(QString(texto).replace(QLatin1String("\r\n"), QLatin1String("\n")), this);
    rotulo->setObjectName(QStringLiteral("texto"));
    rotulo->setTextFormat(Qt::PlainText);
    rotulo->setWordWrap(false);
    topo->addWidget(icone);
    topo->addWidget(rotulo, 1);
    l->addLayout(topo);
    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    sim_ = new QPushButton(QStringLiteral("&Sim"), this);
    nao_ = new QPushButton(QStringLiteral("&Não"), this);
    botoes->addWidget(sim_);
    botoes->addWidget(nao_);
    if (comCancelar) {
        cancelar_ = new QPushButton(QStringLiteral("&Cancelar"), this);
        botoes->addWidget(cancelar_);
        connect(cancelar_, &QPushButton::clicked, this, [this] {
            escolha_ = Resposta::Cancelar;
            done(QDialog::Rejected);
        });
    }
    l->addLayout(botoes);
    sim_->setDefault(true);
    connect(sim_, &QPushButton::clicked, this, [this] {
        escolha_ = Resposta::Sim;
        done(QDialog::Accepted);
    });
    connect(nao_, &QPushButton::clicked, this, [this] {
        escolha_ = Resposta::Nao;
        done(QDialog::Accepted);
    });
}

void TFConfirma::reject() {
    escolha_ = comCancelar_ ? Resposta::Cancelar : Resposta::Nao;
    QDialog::reject();
}

Resposta TFConfirma::Pergunta(QWidget *parent, const std::string &texto, bool comCancelar) {
    TFConfirma d(QString::fromStdString(texto), comCancelar, parent);
    d.exec();
    return d.Escolha();
}

} // namespace zelto
