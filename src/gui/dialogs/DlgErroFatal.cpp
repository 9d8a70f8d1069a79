#include "gui/dialogs/DlgErroFatal.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace zelto {

TDlgErroFatal::TDlgErroFatal(const QString &detalhe, QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Erro de processamento"));
    auto *l = new QVBoxLayout(this);
    auto *topo = new QHBoxLayout;
    auto *icone = new QLabel(this);
    icone->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(40, 40));
    topo->addWidget(icone, 0, Qt::AlignTop);
    auto *textos = new QVBoxLayout;
    auto *atencao = new QLabel(QStringLiteral("ATENÇÃO"), this);
    QFont f = atencao->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    atencao->setFont(f);
    textos->addWidget(atencao);
    textos->addWidget(new QLabel(QStringLiteral("Ocorreu uma falha de processamento"), this));
    textos->addWidget(new QLabel(QStringLiteral("O seu comando não pôde ser executado."), this));
    if (!detalhe.isEmpty()) {
        auto *d = new QLabel(detalhe, this);
        d->setObjectName(QStringLiteral("detalhe"));
        d->setTextFormat(Qt::PlainText);
        d->setWordWrap(true);
        QFont fd = d->font();
        fd.setPointSize(std::max(6, fd.pointSize() - 2));
        d->setFont(fd);
        d->setStyleSheet(QStringLiteral("color: gray"));
        textos->addWidget(d);
    }
    topo->addLayout(textos, 1);
    l->addLayout(topo);
    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    prosseguir_ = new QPushButton(QStringLiteral("Prosseguir"), this);
    encerrar_ = new QPushButton(QStringLiteral("Encerrar programa"), this);
    botoes->addWidget(prosseguir_);
    botoes->addWidget(encerrar_);
    l->addLayout(botoes);
    prosseguir_->setDefault(true);
    connect(prosseguir_, &QPushButton::clicked, this, [this] {
        escolha_ = Prosseguir;
        done(QDialog::Accepted);
    });
    connect(encerrar_, &QPushButton::clicked, this, [this] {
        escolha_ = Encerrar;
        done(QDialog::Accepted);
    });
}

void TDlgErroFatal::reject() {
    escolha_ = Prosseguir;
    QDialog::reject();
}

} // namespace zelto
