#include "gui/reportconfig/FOpcoes.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zelto {

TFOpcoes::TFOpcoes(TItemAvaliacaoGraf &item, QWidget *pai) : QDialog(pai), item_(item) {
    setWindowTitle(QStringLiteral("Opções"));
    const auto &o = item.OpcoesMGr;
    auto *l = new QVBoxLayout(this);

    auto *avaliar = new QGroupBox(QStringLiteral("Avaliar funções com :"), this);
    auto *la = new QVBoxLayout(avaliar);
    media_ = new QRadioButton(QStringLiteral("ponto médio da amostra."), avaliar);
    objeto_ = new QRadioButton(QStringLiteral("dados do objeto de avaliação."), avaliar);
    media_->setObjectName(QStringLiteral("Media"));
    objeto_->setObjectName(QStringLiteral("Objeto"));
    (o[0] != 0 ? media_ : objeto_)->setChecked(true);
    la->addWidget(media_);
    la->addWidget(objeto_);
    l->addWidget(avaliar);

    auto *aplicar = new QGroupBox(QStringLiteral("Aplicar às variáveis : "), this);
    auto *lt = new QVBoxLayout(aplicar);
    const char *tipos[4] = {"Numéricas/Equações", "Datas", "Qualitativas", "Dicotômicas"};
    for (int i = 0; i < 4; ++i) {
        tipos_[i] = new QCheckBox(QString::fromUtf8(tipos[i]), aplicar);
        tipos_[i]->setObjectName(QStringLiteral("Tipo%1").arg(i));
        tipos_[i]->setChecked(o[static_cast<std::size_t>(i + 1)] != 0);
        lt->addWidget(tipos_[i]);
    }
    l->addWidget(aplicar);

    auto *limitar = new QGroupBox(QStringLiteral("Limitar nº de gráficos em :"), this);
    auto *ll = new QHBoxLayout(limitar);
    naoLimitar_ = new QRadioButton(QStringLiteral("Não limitar"), limitar);
    naoLimitar_->setObjectName(QStringLiteral("NaoLimitar"));
    limitar_ = new QRadioButton(limitar);
    limitar_->setObjectName(QStringLiteral("Limitar"));
    limite_ = new QSpinBox(limitar);
    limite_->setObjectName(QStringLiteral("Limite"));
    limite_->setRange(1, 65535);
    limite_->setValue(std::max<int>(1, item.ValorMGr));
    (o[5] != 0 ? limitar_ : naoLimitar_)->setChecked(true);
    limite_->setEnabled(o[5] != 0);
    connect(limitar_, &QRadioButton::toggled, limite_, &QSpinBox::setEnabled);
    ll->addWidget(naoLimitar_);
    ll->addWidget(limitar_);
    ll->addWidget(limite_);
    l->addWidget(limitar);

    auto *b = new QDialogButtonBox(this);
    b->addButton(QStringLiteral("Confirma"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("Confirma"));
    b->addButton(QStringLiteral("Cancela"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("Cancela"));
    connect(b, &QDialogButtonBox::accepted, this, &TFOpcoes::accept);
    connect(b, &QDialogButtonBox::rejected, this, &QDialog::reject);
    l->addWidget(b);
}

void TFOpcoes::accept() {
    auto &o = item_.OpcoesMGr;
    o[0] = media_->isChecked() ? 1 : 0;
    for (int i = 0; i < 4; ++i) o[static_cast<std::size_t>(i + 1)] = tipos_[i]->isChecked() ? 1 : 0;
    o[5] = limitar_->isChecked() ? 1 : 0;
    if (limitar_->isChecked()) item_.ValorMGr = static_cast<std::uint16_t>(limite_->value());
    QDialog::accept();
}

} // namespace zelto

// The meta-object code compiled with this unit.
#include "moc_FOpcoes.cpp"
