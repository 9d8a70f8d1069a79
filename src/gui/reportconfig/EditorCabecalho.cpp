#include "gui/reportconfig/EditorCabecalho.h"

#include "gui/reportconfig/ComponentesConfig.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace zelto {

TEditorCabecalho::TEditorCabecalho(const QString &titulo, const TCabecalhoRodape &c, QWidget *pai)
    : QWidget(pai) {
    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    auto *barra = new QHBoxLayout;
    barra->addWidget(new QLabel(titulo, this));
    barra->addStretch(1);
    auto *grupo = new QButtonGroup(this);
    // Buttons in the order shown: left, centre, right; the value stored for each.
    const std::pair<const char *, int> botoes[3] = {{"Esquerda", acEsquerda}, {"Centro", acCentro}, {"Direita", acDireita}};
    for (const auto &[nome, valor] : botoes) {
        auto *b = new QToolButton(this);
        b->setText(QString::fromUtf8(nome));
        b->setObjectName(QStringLiteral("Alinha%1").arg(valor));
        b->setCheckable(true);
        grupo->addButton(b, valor);
        alinhamento_[valor] = b;
        barra->addWidget(b);
        connect(b, &QToolButton::toggled, this, [this](bool ligado) {
            if (ligado) emit Mudou();
        });
    }
    fonte_ = new TBotaoFonte(c.Fonte, this);
    fonte_->setObjectName(QStringLiteral("Fonte"));
    barra->addWidget(fonte_);
    auto *pagina = new QToolButton(this);
    pagina->setText(QStringLiteral("#"));
    pagina->setObjectName(QStringLiteral("Pagina"));
    barra->addWidget(pagina);
    l->addLayout(barra);
    texto_ = new QPlainTextEdit(this);
    texto_->setObjectName(QStringLiteral("Texto"));
    texto_->setMaximumHeight(70);
    l->addWidget(texto_);
    DefineValor(c);
    connect(pagina, &QToolButton::clicked, this, [this] {
        texto_->insertPlainText(QStringLiteral("(página)"));
        texto_->setFocus();
    });
    connect(fonte_, &TBotaoFonte::Mudou, this, &TEditorCabecalho::Mudou);
    connect(texto_, &QPlainTextEdit::textChanged, this, &TEditorCabecalho::Mudou);
}

TCabecalhoRodape TEditorCabecalho::Valor() const {
    TCabecalhoRodape c;
    c.Texto = texto_->toPlainText();
    c.Fonte = fonte_->Fonte();
    c.Alinhamento = acEsquerda;
    for (int i = 0; i < 3; ++i)
        if (alinhamento_[i]->isChecked()) c.Alinhamento = static_cast<std::uint8_t>(i);
    return c;
}

void TEditorCabecalho::DefineValor(const TCabecalhoRodape &c) {
    texto_->setPlainText(c.Texto);
    fonte_->DefineFonte(c.Fonte);
    alinhamento_[c.Alinhamento <= 2 ? c.Alinhamento : 0]->setChecked(true);
}

TDlgCabecalhoRodape::TDlgCabecalhoRodape(const TCabecalhoRodape &c, bool rodape, QWidget *pai) : QDialog(pai) {
    setWindowTitle(rodape ? QStringLiteral("Rodapé") : QStringLiteral("Cabeçalho"));
    auto *l = new QVBoxLayout(this);
    editor_ = new TEditorCabecalho(rodape ? QStringLiteral("Rodapé") : QStringLiteral("Cabeçalho"), c, this);
    editor_->Texto()->setMaximumHeight(QWIDGETSIZE_MAX);
    l->addWidget(editor_);
    auto *b = new QDialogButtonBox(this);
    b->addButton(QStringLiteral("Confirma"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("Confirma"));
    b->addButton(QStringLiteral("Cancela"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("Cancela"));
    connect(b, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(b, &QDialogButtonBox::rejected, this, &QDialog::reject);
    l->addWidget(b);
    resize(520, 240);
}

} // namespace zelto

// The meta-object code compiled with this unit.
#include "moc_EditorCabecalho.cpp"
