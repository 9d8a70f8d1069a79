#include "gui/reportconfig/FCNFTexto.h"

#include "gui/reportconfig/ComponentesConfig.h"
#include "gui/reportconfig/DlgConfiguraCelula.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zelto {

// ---- Samples ------------------------------------------------------------------------------

TAmostraTexto::TAmostraTexto(const TItemAvaliacao &item, QWidget *pai) : QWidget(pai), item_(item) {
    setMinimumSize(360, 150);
}

void TAmostraTexto::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(Qt::gray);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    struct TLinha {
        const TFonte *Fonte;
        const char *Texto;
    };
    std::vector<TLinha> linhas{{&item_.FonteTitulo, "Título do item"},
                               {&item_.FonteCorpo, "Texto do relatório: R² = 0,912"},
                               {&item_.FonteCorpo, "Média = 1.234,567"}};
    if (item_.Comentarios) linhas.push_back({&item_.FonteComentario, "Comentário sobre o resultado."});
    double y = 6;
    for (const TLinha &l : linhas) {
        const QFont f = l.Fonte->ParaQFont();
        p.setFont(f);
        p.setPen(ParaQColor(l.Fonte->Cor));
        const QFontMetricsF m(f);
        p.drawText(QPointF(8, y + m.ascent()), QString::fromUtf8(l.Texto));
        y += m.height() * item_.Espacamento / 100.0;
    }
}

void PintaCelula(QPainter &p, const QRect &r, const TFormatoCelula &f, const QString &texto) {
    p.fillRect(r, ParaQColor(f.Fundo));
    p.setFont(f.Fonte.ParaQFont());
    p.setPen(ParaQColor(f.Fonte.Cor));
    p.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, texto);
    // Sides: top, bottom, left, right.
    const QLine lados[4] = {QLine(r.topLeft(), r.topRight()), QLine(r.bottomLeft(), r.bottomRight()),
                            QLine(r.topLeft(), r.bottomLeft()), QLine(r.topRight(), r.bottomRight())};
    const QPoint dentro[4] = {QPoint(0, 3), QPoint(0, -3), QPoint(3, 0), QPoint(-3, 0)};
    for (int i = 0; i < 4; ++i) {
        const TLadoCelula &l = f.Lados[static_cast<std::size_t>(i)];
        if (l.Tipo == 0 || l.Espessura == 0 || l.Multiplicidade == 0) continue;
        QPen caneta(ParaQColor(l.Cor), l.Espessura);
        caneta.setStyle(l.Tipo == 2 ? Qt::DotLine : l.Tipo == 3 ? Qt::DashLine : Qt::SolidLine);
        p.setPen(caneta);
        p.drawLine(lados[i]);
        if (l.Multiplicidade > 1) p.drawLine(lados[i].translated(dentro[i]));
    }
}

TAmostraTabela::TAmostraTabela(const TItemAvaliacaoTab &item, QWidget *pai) : QWidget(pai), item_(&item) {
    setMinimumSize(360, 110);
}

TAmostraTabela::TAmostraTabela(const TFormatoCelula &formato, QWidget *pai) : QWidget(pai), formato_(&formato) {
    setMinimumSize(300, 90);
}

void TAmostraTabela::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const int linhas = 4, colunas = 4;
    const int w = (width() - 20) / colunas, h = (height() - 20) / linhas;
    static const char *textos[linhas][colunas] = {{"Variável", "Média", "Mínimo", "Máximo"},
                                                  {"Área", "120,5", "45,0", "310,0"},
                                                  {"Frente", "12,3", "8,0", "20,0"},
                                                  {"Total", "132,8", "53,0", "330,0"}};
    for (int li = 0; li < linhas; ++li)
        for (int co = 0; co < colunas; ++co) {
            const TFormatoCelula &f =
                formato_ ? *formato_
                         : item_->Formatos[static_cast<std::size_t>(item_->Regiao(li, co, linhas, colunas))];
            PintaCelula(p, QRect(10 + co * w, 10 + li * h, w, h), f, QString::fromUtf8(textos[li][co]));
        }
}

// ---- TFCNFTexto ---------------------------------------------------------------------------

TFCNFTexto::TFCNFTexto(TListaItens &itens, int indice, bool todos, QWidget *pai)
    : TFCNFTexto(itens, indice, std::make_unique<TItemAvaliacao>(itens[static_cast<std::size_t>(indice)]->Descricao()),
                 todos, pai) {
    MontaTexto(QStringLiteral("Configurar Texto"));
    AdicionaBotoes(layout_);
}

TFCNFTexto::TFCNFTexto(TListaItens &itens, int indice, std::unique_ptr<TItemAvaliacao> rascunho, bool todos,
                       QWidget *pai)
    : TDlgItem(itens, indice, std::move(rascunho), todos, pai) {}

void TFCNFTexto::MontaTexto(const QString &titulo) {
    setWindowTitle(titulo);
    TItemAvaliacao &r = Rascunho();
    layout_ = new QVBoxLayout(this);
    layout_->addWidget(CriaRotuloTitulo());

    auto *grupo = new QGroupBox(QStringLiteral("Fontes"), this);
    auto *form = new QFormLayout(grupo);
    const TFonte *atuais[3] = {&r.FonteTitulo, &r.FonteCorpo, &r.FonteComentario};
    const char *nomes[3] = {"Tit", "Crp", "Cmn"};
    const char *rotulos[3] = {"Título :", "Texto :", "Comentários :"};
    for (int i = 0; i < 3; ++i) {
        fontes_[i] = new TBotaoFonte(*atuais[i], grupo);
        fontes_[i]->setObjectName(QString::fromLatin1(nomes[i]));
        form->addRow(QString::fromUtf8(rotulos[i]), fontes_[i]);
        connect(fontes_[i], &TBotaoFonte::Mudou, this, &TFCNFTexto::Atualiza);
    }
    layout_->addWidget(grupo);

    auto *opcoes = new QHBoxLayout;
    comentarios_ = new QCheckBox(QStringLiteral("Incluir comentários"), this);
    comentarios_->setObjectName(QStringLiteral("Comentarios"));
    comentarios_->setChecked(r.Comentarios);
    connect(comentarios_, &QCheckBox::toggled, this, &TFCNFTexto::Atualiza);
    opcoes->addWidget(comentarios_);
    const char *espacos[3] = {"Espaçamento 1", "Espaçamento 1,5", "Espaçamento 2"};
    for (int i = 0; i < 3; ++i) {
        espacamento_[i] = new QRadioButton(QString::fromUtf8(espacos[i]), this);
        espacamento_[i]->setObjectName(QStringLiteral("Espacamento%1").arg(i));
        espacamento_[i]->setChecked(r.Espacamento == 100 + 50 * i);
        connect(espacamento_[i], &QRadioButton::toggled, this, &TFCNFTexto::Atualiza);
        opcoes->addWidget(espacamento_[i]);
    }
    // A spacing outside the three kinds is kept until another is chosen.
    layout_->addLayout(opcoes);

    amostra_ = new TAmostraTexto(r, this);
    layout_->addWidget(amostra_, 1);
}

void TFCNFTexto::Atualiza() {
    TItemAvaliacao &r = Rascunho();
    r.FonteTitulo = fontes_[0]->Fonte();
    r.FonteCorpo = fontes_[1]->Fonte();
    r.FonteComentario = fontes_[2]->Fonte();
    r.Comentarios = comentarios_->isChecked();
    for (int i = 0; i < 3; ++i)
        if (espacamento_[i]->isChecked()) r.Espacamento = static_cast<std::uint16_t>(100 + 50 * i);
    for (QWidget *w : findChildren<QWidget *>())
        if (dynamic_cast<TAmostraTexto *>(w) || dynamic_cast<TAmostraTabela *>(w)) w->update();
}

// ---- TFCNFTabela --------------------------------------------------------------------------

TFCNFTabela::TFCNFTabela(TListaItens &itens, int indice, bool todos, QWidget *pai)
    : TFCNFTexto(itens, indice,
                 std::make_unique<TItemAvaliacaoTab>(itens[static_cast<std::size_t>(indice)]->Descricao()), todos,
                 pai) {
    MontaTexto(QStringLiteral("Configurar Tabela"));
    auto *grupo = new QGroupBox(QStringLiteral("Aparência da tabela"), this);
    auto *l = new QHBoxLayout(grupo);
    // In the order shown; the value is the region edited.
    const std::pair<const char *, int> regioes[5] = {{"1ª linha", rtPrimeiraLinha},
                                                     {"Última L.", rtUltimaLinha},
                                                     {"Última C.", rtUltimaColuna},
                                                     {"1ª Coluna", rtPrimeiraColuna},
                                                     {"corpo da Tabela", rtCorpo}};
    for (const auto &[texto, regiao] : regioes) {
        auto *b = new QPushButton(QString::fromUtf8(texto), grupo);
        b->setObjectName(QStringLiteral("Regiao%1").arg(regiao));
        connect(b, &QPushButton::clicked, this, [this, regiao = regiao] { ConfiguraRegiao(regiao); });
        l->addWidget(b);
    }
    layout_->addWidget(grupo);
    tabela_ = new TAmostraTabela(Tab(), this);
    layout_->addWidget(tabela_, 1);
    AdicionaBotoes(layout_);
}

bool TFCNFTabela::ConfiguraRegiao(int regiao) {
    TFormatoCelula &f = Tab().Formatos[static_cast<std::size_t>(regiao)];
    TDlgConfiguraCelula d(f, this);
    if (d.exec() != QDialog::Accepted) return false;
    f = d.Formato();
    tabela_->update();
    return true;
}

} // namespace zelto

// The meta-object code compiled with this unit.
#include "moc_FCNFTexto.cpp"
