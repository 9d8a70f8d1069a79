#include "gui/dialogs/FSelecionaPesquisa.h"

#include "regression/Transformacoes.h"
#include "significance/Significancias.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace zelto {

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A text shown on a control that reads "&" as an accelerator mark.
QString SemAtalho(const std::string &s) {
    return Q(s).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

constexpr int kCodigos = 15;

} // namespace

TFSelecionaPesquisa::TFSelecionaPesquisa(TSelecaoPesquisa &s,
                                         const TSignificancias &significancias,
                                         std::function<void()> abreSignificancias, QWidget *parent)
    : QDialog(parent), s_(s), significanciasEmVigor_(significancias),
      abreSignificancias_(std::move(abreSignificancias)) {
    setWindowTitle(Q(kTituloSelecaoPesquisa));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *l = new QVBoxLayout(this);

    // The variables' tabs, or the note that one mask applies to all of them.
    topo_ = new QStackedWidget(this);
    abas_ = new QTabBar(topo_);
    abas_->setExpanding(false);
    abas_->setUsesScrollButtons(true);
    for (const TFormaPesqPagina &p : s_.Paginas())
        abas_->addTab(SemAtalho(p.Caption));
    nota_ = new QLabel(Q(kNotaMascaraComum), topo_);
    nota_->setAlignment(Qt::AlignCenter);
    nota_->setFrameShape(QFrame::StyledPanel);
    topo_->addWidget(abas_);
    topo_->addWidget(nota_);
    topo_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    l->addWidget(topo_);

    auto *meio = new QHBoxLayout;
    auto *grupoCaixas = new QGroupBox(this);
    auto *gc = new QGridLayout(grupoCaixas);
    for (int k = 0; k < kCodigos; ++k) {
        auto *c =
            new QCheckBox(Q(DescricaoTransformacao(static_cast<std::uint8_t>(k))), grupoCaixas);
        caixas_[static_cast<std::size_t>(k)] = c;
        gc->addWidget(c, k % 5, k / 5);
        connect(c, &QCheckBox::clicked, this, [this, k](bool marcada) {
            s_.MarcaCaixa(static_cast<std::uint8_t>(k), marcada);
            Mostra();
        });
    }
    meio->addWidget(grupoCaixas, 1);

    auto *grupoTipos = new QGroupBox(this);
    auto *gt = new QVBoxLayout(grupoTipos);
    for (int t = tpManual; t <= tpDirigida; ++t) {
        auto *b = new QRadioButton(Q(NomeTipoPesquisa(static_cast<TipoPesquisa>(t))), grupoTipos);
        tipos_[static_cast<std::size_t>(t)] = b;
        gt->addWidget(b);
        connect(b, &QRadioButton::clicked, this, [this, t] {
            s_.PressionaTipo(static_cast<TipoPesquisa>(t));
            Mostra();
        });
    }
    gt->addStretch();
    meio->addWidget(grupoTipos);
    l->addLayout(meio);

    // Ranking, rapid search and its slider.
    auto *baixo = new QHBoxLayout;
    auto *ordem = new QVBoxLayout;
    auto *rotuloOrdem = new QLabel(Q(kRotuloOrdenar), this);
    ordenar_ = new QComboBox(this);
    for (int c = cpCorrelacao; c <= cpGrau; ++c)
        ordenar_->addItem(Q(NomeCriterioPesquisa(static_cast<CriterioPesquisa>(c))));
    rotuloOrdem->setBuddy(ordenar_);
    ordem->addWidget(rotuloOrdem);
    ordem->addWidget(ordenar_);
    ordem->addStretch();
    baixo->addLayout(ordem);
    connect(ordenar_, &QComboBox::activated, this, [this](int i) {
        s_.DefineCriterio(static_cast<CriterioPesquisa>(i));
        Mostra();
    });

    auto *grupoRapida = new QGroupBox(this);
    auto *gr = new QGridLayout(grupoRapida);
    rapida_ = new QCheckBox(Q(kRotuloPesquisaRapida), grupoRapida);
    deslizador_ = new QSlider(Qt::Horizontal, grupoRapida);
    deslizador_->setRange(1, std::max(s_.DeslizadorMaximo(), 1));
    deslizador_->setPageStep(1);
    deslizador_->setTickPosition(QSlider::TicksBelow);
    percentual_ = new QLabel(grupoRapida);
    percentual_->setAlignment(Qt::AlignCenter);
    auto *maisRapida = new QLabel(QStringLiteral("mais\nrápida"), grupoRapida);
    auto *maisCompleta = new QLabel(QStringLiteral("mais\ncompleta"), grupoRapida);
    maisRapida->setAlignment(Qt::AlignCenter);
    maisCompleta->setAlignment(Qt::AlignCenter);
    gr->addWidget(rapida_, 0, 0, 1, 3);
    gr->addWidget(percentual_, 1, 1);
    gr->addWidget(maisRapida, 2, 0);
    gr->addWidget(deslizador_, 2, 1);
    gr->addWidget(maisCompleta, 2, 2);
    gr->setColumnStretch(1, 1);
    baixo->addWidget(grupoRapida, 1);
    l->addLayout(baixo);
    connect(rapida_, &QCheckBox::clicked, this, [this](bool marcada) {
        s_.DefinePesquisaRapida(marcada);
        Mostra();
    });
    connect(deslizador_, &QSlider::valueChanged, this, [this](int v) {
        s_.DefineDeslizador(v);
        Mostra();
    });

    significancias_ = new QPushButton(this);
    significancias_->setToolTip(Q(kDicaSignificancias));
    significancias_->setAutoDefault(false);
    l->addWidget(significancias_);
    connect(significancias_, &QPushButton::clicked, this, [this] {
        if (abreSignificancias_) abreSignificancias_();
        Mostra();
    });

    auto *botoes = new QHBoxLayout;
    confirma_ = new QPushButton(Q(kBotaoConfirma), this);
    executa_ = new QPushButton(Q(kBotaoExecuta), this);
    cancela_ = new QPushButton(Q(kBotaoCancela), this);
    confirma_->setDefault(true);
    executa_->setAutoDefault(false);
    cancela_->setAutoDefault(false);
    botoes->addStretch();
    botoes->addWidget(confirma_);
    botoes->addWidget(executa_);
    botoes->addWidget(cancela_);
    l->addLayout(botoes);
    connect(confirma_, &QPushButton::clicked, this, [this] { done(kResultadoConfirma); });
    connect(executa_, &QPushButton::clicked, this, [this] { done(kResultadoExecuta); });
    connect(cancela_, &QPushButton::clicked, this, &TFSelecionaPesquisa::reject);
    connect(abas_, &QTabBar::currentChanged, this, [this](int i) {
        s_.MudaPagina(i);
        Mostra();
    });

    Mostra();
}

void TFSelecionaPesquisa::Mostra() {
    // What the program sets here is no click: every control's signals are blocked.
    const QSignalBlocker b0(abas_), b1(ordenar_), b2(rapida_), b3(deslizador_);
    topo_->setCurrentWidget(s_.AbasVisiveis() ? static_cast<QWidget *>(abas_) : nota_);
    abas_->setCurrentIndex(s_.PaginaAtual());
    for (int k = 0; k < kCodigos; ++k) {
        QCheckBox *c = caixas_[static_cast<std::size_t>(k)];
        const QSignalBlocker b(c);
        const auto codigo = static_cast<std::uint8_t>(k);
        c->setChecked(s_.Caixa(codigo));
        c->setEnabled(s_.CaixaHabilitada(codigo));
    }
    for (int t = tpManual; t <= tpDirigida; ++t) {
        QRadioButton *r = tipos_[static_cast<std::size_t>(t)];
        const QSignalBlocker b(r);
        r->setChecked(s_.Tipo() == t);
    }
    ordenar_->setCurrentIndex(s_.Criterio());
    rapida_->setEnabled(s_.RapidaOferecida());
    rapida_->setChecked(s_.PesquisaRapida() && s_.RapidaOferecida());
    deslizador_->setEnabled(rapida_->isEnabled() && rapida_->isChecked());
    deslizador_->setValue(s_.Deslizador());
    percentual_->setText(QStringLiteral("%1 %").arg(s_.DeslizadorPercentual()));
    significancias_->setText(SemAtalho(significanciasEmVigor_.Descricao));
}

void TFSelecionaPesquisa::reject() {
    done(kResultadoCancela);
}

int MostraSelecaoPesquisa(QWidget *parent, TSelecaoPesquisa &s,
                          const TSignificancias &significancias,
                          const std::function<void()> &abreSignificancias) {
    TFSelecionaPesquisa f(s, significancias, abreSignificancias, parent);
    const int r = f.exec();
    return r == kResultadoConfirma || r == kResultadoExecuta ? r : kResultadoCancela;
}

} // namespace zelto
