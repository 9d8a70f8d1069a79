#include "gui/reportconfig/DlgConfiguraCelula.h"

#include "gui/reportconfig/ComponentesConfig.h"
#include "gui/reportconfig/FCNFTexto.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zelto {

TDlgConfiguraCelula::TDlgConfiguraCelula(const TFormatoCelula &f, QWidget *pai) : QDialog(pai), f_(f) {
    setWindowTitle(QStringLiteral("Configurar Célula"));
    auto *l = new QVBoxLayout(this);

    auto *grupoBordas = new QGroupBox(QStringLiteral("Bordas"), this);
    auto *g = new QGridLayout(grupoBordas);
    // Rows in the order shown; the value is the stored side (top, bottom, left, right).
    const std::pair<const char *, int> lados[4] = {{"Esquerda", 2}, {"Direita", 3}, {"Superior", 0}, {"Inferior", 1}};
    int linha = 0;
    for (const auto &[nome, lado] : lados) {
        const TLadoCelula &s = f_.Lados[static_cast<std::size_t>(lado)];
        bordas_[lado] = new TComboBorda(s.Tipo, s.Multiplicidade, s.Espessura, grupoBordas);
        bordas_[lado]->setObjectName(QStringLiteral("Borda%1").arg(lado));
        coresBorda_[lado] = new TComboCor(s.Cor, grupoBordas);
        coresBorda_[lado]->setObjectName(QStringLiteral("CorBorda%1").arg(lado));
        g->addWidget(new QLabel(QString::fromUtf8(nome), grupoBordas), linha, 0);
        g->addWidget(bordas_[lado], linha, 1);
        g->addWidget(coresBorda_[lado], linha, 2);
        connect(bordas_[lado], &QComboBox::currentIndexChanged, this, &TDlgConfiguraCelula::Atualiza);
        connect(coresBorda_[lado], &QComboBox::currentIndexChanged, this, &TDlgConfiguraCelula::Atualiza);
        ++linha;
    }
    fundo_ = new TComboCor(f_.Fundo, grupoBordas);
    fundo_->setObjectName(QStringLiteral("Fundo"));
    g->addWidget(new QLabel(QStringLiteral("Fundo"), grupoBordas), linha, 0);
    g->addWidget(fundo_, linha, 2);
    connect(fundo_, &QComboBox::currentIndexChanged, this, &TDlgConfiguraCelula::Atualiza);
    l->addWidget(grupoBordas);

    auto *grupoFonte = new QGroupBox(QStringLiteral("Fonte"), this);
    auto *gf = new QGridLayout(grupoFonte);
    nome_ = new QFontComboBox(grupoFonte);
    nome_->setObjectName(QStringLiteral("NomeFonte"));
    nome_->setCurrentFont(f_.Fonte.ParaQFont());
    nome_->setEditText(f_.Fonte.Nome);
    tamanho_ = new QSpinBox(grupoFonte);
    tamanho_->setObjectName(QStringLiteral("Tamanho"));
    tamanho_->setRange(4, 72);
    tamanho_->setValue(f_.Fonte.Tamanho);
    corFonte_ = new TComboCor(f_.Fonte.Cor, grupoFonte);
    corFonte_->setObjectName(QStringLiteral("CorFonte"));
    gf->addWidget(nome_, 0, 0, 1, 2);
    gf->addWidget(tamanho_, 0, 2);
    gf->addWidget(corFonte_, 0, 3);
    const char *estilos[3] = {"Negrito", "Itálico", "Sublinhado"};
    const bool marcados[3] = {f_.Fonte.Negrito, f_.Fonte.Italico, f_.Fonte.Sublinhado};
    for (int i = 0; i < 3; ++i) {
        estilo_[i] = new QCheckBox(QString::fromUtf8(estilos[i]), grupoFonte);
        estilo_[i]->setObjectName(QString::fromUtf8(estilos[i]));
        estilo_[i]->setChecked(marcados[i]);
        gf->addWidget(estilo_[i], 1, i);
        connect(estilo_[i], &QCheckBox::toggled, this, &TDlgConfiguraCelula::Atualiza);
    }
    connect(nome_, &QFontComboBox::currentTextChanged, this, &TDlgConfiguraCelula::Atualiza);
    connect(tamanho_, &QSpinBox::valueChanged, this, &TDlgConfiguraCelula::Atualiza);
    connect(corFonte_, &QComboBox::currentIndexChanged, this, &TDlgConfiguraCelula::Atualiza);
    l->addWidget(grupoFonte);

    amostra_ = new TAmostraTabela(f_, this);
    l->addWidget(amostra_, 1);

    auto *b = new QDialogButtonBox(this);
    QPushButton *confirma = b->addButton(QStringLiteral("Confirma"), QDialogButtonBox::AcceptRole);
    confirma->setObjectName(QStringLiteral("Confirma"));
    b->addButton(QStringLiteral("Cancela"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("Cancela"));
    connect(b, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(b, &QDialogButtonBox::rejected, this, &QDialog::reject);
    l->addWidget(b);
}

void TDlgConfiguraCelula::Atualiza() {
    for (int lado = 0; lado < 4; ++lado) {
        TLadoCelula &s = f_.Lados[static_cast<std::size_t>(lado)];
        bordas_[lado]->Aplica(s.Tipo, s.Multiplicidade, s.Espessura);
        s.Cor = coresBorda_[lado]->Cor();
    }
    // The inner vertical side follows the left one, the inner horizontal the top one.
    f_.Lados[4] = f_.Lados[2];
    f_.Lados[5] = f_.Lados[0];
    f_.Fundo = fundo_->Cor();
    const QString nome = nome_->currentText().trimmed();
    if (!nome.isEmpty()) f_.Fonte.Nome = nome;
    f_.Fonte.Tamanho = tamanho_->value();
    f_.Fonte.Cor = corFonte_->Cor();
    f_.Fonte.Negrito = estilo_[0]->isChecked();
    f_.Fonte.Italico = estilo_[1]->isChecked();
    f_.Fonte.Sublinhado = estilo_[2]->isChecked();
    amostra_->update();
}

} // namespace zelto

// The meta-object code compiled with this unit.
#include "moc_DlgConfiguraCelula.cpp"
