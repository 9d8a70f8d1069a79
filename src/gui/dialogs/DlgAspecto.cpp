#include "gui/dialogs/DlgAspecto.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zelto {

namespace {

QString Estilo(const QColor &c) {
    return QStringLiteral("background: %1; min-width: 48px").arg(c.name());
}

} // namespace

TDlgAspecto::TDlgAspecto(const TAparenciaPlanilha &a, QWidget *parent) : QDialog(parent), a_(a) {
    setWindowTitle(QStringLiteral("Aspecto da planilha"));
    auto *l = new QVBoxLayout(this);
    auto *f = new QFormLayout;
    fonte_ = new QPushButton(this);
    corFonte_ = new QPushButton(this);
    corCelula_ = new QPushButton(this);
    corFixa_ = new QPushButton(this);
    altura_ = new QSpinBox(this);
    altura_->setRange(8, 200);
    altura_->setSuffix(QStringLiteral(" pixels"));
    altura_->setValue(a_.AlturaLinha);
    f->addRow(QStringLiteral("Fonte:"), fonte_);
    f->addRow(QStringLiteral("Cor da fonte:"), corFonte_);
    f->addRow(QStringLiteral("Cor das células:"), corCelula_);
    f->addRow(QStringLiteral("Cor da linha e da coluna fixas:"), corFixa_);
    f->addRow(QStringLiteral("Altura das linhas:"), altura_);
    l->addLayout(f);
    amostra_ = new QLabel(QStringLiteral("  1.234,56   Amostra  "), this);
    amostra_->setAutoFillBackground(true);
    amostra_->setFrameShape(QFrame::Box);
    l->addWidget(amostra_);
    auto *botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    l->addWidget(botoes);
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(fonte_, &QPushButton::clicked, this, [this] {
        bool ok = false;
        QFont f = QFontDialog::getFont(&ok, a_.Fonte, this, QStringLiteral("Fonte da planilha"));
        if (ok) a_.Fonte = f;
        Mostra();
    });
    auto cor = [this](QColor &alvo, const QString &titulo) {
        QColor c = QColorDialog::getColor(alvo, this, titulo);
        if (c.isValid()) alvo = c;
        Mostra();
    };
    connect(corFonte_, &QPushButton::clicked, this,
            [this, cor] { cor(a_.CorFonte, QStringLiteral("Cor da fonte")); });
    connect(corCelula_, &QPushButton::clicked, this,
            [this, cor] { cor(a_.CorCelula, QStringLiteral("Cor das células")); });
    connect(corFixa_, &QPushButton::clicked, this,
            [this, cor] { cor(a_.CorFixa, QStringLiteral("Cor da linha e da coluna fixas")); });
    connect(altura_, &QSpinBox::valueChanged, this, [this](int v) { a_.AlturaLinha = v; });
    Mostra();
}

void TDlgAspecto::Mostra() {
    fonte_->setText(QStringLiteral("%1, %2 pt").arg(a_.Fonte.family()).arg(a_.Fonte.pointSize()));
    corFonte_->setStyleSheet(Estilo(a_.CorFonte));
    corCelula_->setStyleSheet(Estilo(a_.CorCelula));
    corFixa_->setStyleSheet(Estilo(a_.CorFixa));
    amostra_->setFont(a_.Fonte);
    QPalette p = amostra_->palette();
    p.setColor(QPalette::Window, a_.CorCelula);
    p.setColor(QPalette::WindowText, a_.CorFonte);
    amostra_->setPalette(p);
}

} // namespace zelto
