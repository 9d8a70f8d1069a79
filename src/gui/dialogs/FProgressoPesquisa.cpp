#include "gui/dialogs/FProgressoPesquisa.h"

#include "common/Numeros.h"
#include "gui/dialogs/FProgressao.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace zelto {

namespace {
constexpr int kEscala = 1000;     // the bar's resolution
constexpr int kIntervaloMs = 250; // the window shows new values four times a second

QString Q(const char *s) {
    return QString::fromUtf8(s);
}
} // namespace

TFProgressoPesquisa::TFProgressoPesquisa(QWidget *parent)
    : QDialog(parent), titulo_(new QLabel(this)), examinados_(new QLabel(this)),
      maiorR_(new QLabel(this)), decorrido_(new QLabel(this)), estimado_(new QLabel(this)),
      barra_(new QProgressBar(this)), interromper_(new QPushButton(Q(kBotaoInterromper), this)),
      relogio_(new QTimer(this)) {
    setWindowTitle(Q(kTituloPesquisando));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    textoTitulo_ = kTituloPesquisando;
    examinados_->setObjectName(QStringLiteral("examinados"));

    auto *l = new QVBoxLayout(this);
    l->addWidget(titulo_);
    auto *valores = new QGridLayout;
    const std::pair<const char *, QLabel *> linhas[] = {{kRotuloExaminados, examinados_},
                                                        {kRotuloMaiorR, maiorR_},
                                                        {kRotuloDecorrido, decorrido_},
                                                        {kRotuloEstimado, estimado_}};
    int linha = 0;
    for (const auto &[rotulo, valor] : linhas) {
        valores->addWidget(new QLabel(Q(rotulo), this), linha, 0);
        valor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        valor->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0.000.000.000")));
        valores->addWidget(valor, linha, 1);
        ++linha;
    }
    valores->setColumnStretch(0, 1);
    l->addLayout(valores);
    barra_->setRange(0, kEscala);
    barra_->setMinimumWidth(340);
    l->addWidget(barra_);
    l->addWidget(interromper_, 0, Qt::AlignHCenter);
    interromper_->setDefault(true);
    connect(interromper_, &QPushButton::clicked, this, &TFProgressoPesquisa::Interrompe);

    relogio_->setInterval(kIntervaloMs);
    connect(relogio_, &QTimer::timeout, this, &TFProgressoPesquisa::Atualiza);
    relogio_->start();
    Atualiza();
}

void TFProgressoPesquisa::Inicia(const std::string &titulo, double minimo, double maximo,
                                 bool /*interrompivel*/) {
    std::lock_guard<std::mutex> g(m_);
    textoTitulo_ = titulo;
    minimo_ = minimo;
    maximo_ = maximo;
    posicao_ = minimo;
    estado_ = TEstadoPesquisa{};
    mudou_ = true;
}

void TFProgressoPesquisa::Avanca(double posicao) {
    std::lock_guard<std::mutex> g(m_);
    posicao_ = posicao;
    mudou_ = true;
}

void TFProgressoPesquisa::Estado(const TEstadoPesquisa &estado) {
    std::lock_guard<std::mutex> g(m_);
    estado_ = estado;
    mudou_ = true;
}

void TFProgressoPesquisa::Termina() {
    std::lock_guard<std::mutex> g(m_);
    posicao_ = maximo_;
    mudou_ = true;
}

QString TFProgressoPesquisa::TextoContagem(std::uint64_t n) {
    return QString::fromStdString(FormatoMilhar(static_cast<long double>(n), 0));
}

QString TFProgressoPesquisa::TextoR(long double r) {
    if (!std::isfinite(r) || std::fabs(r) >= Infinito) r = 0;
    // As the best-models list writes it, so that the valuer compares like with like.
    return QString::fromStdString(FormatoFixo(r, 4));
}

QString TFProgressoPesquisa::TextoTempo(double segundos) {
    if (!(segundos >= 0) || segundos > 3.6e12) segundos = 0; // NaN, negative or absurd
    const auto total = static_cast<long long>(std::llround(segundos));
    return QStringLiteral("%1:%2:%3")
        .arg(total / 3600)
        .arg(total / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(total % 60, 2, 10, QLatin1Char('0'));
}

void TFProgressoPesquisa::Atualiza() {
    std::string titulo;
    TEstadoPesquisa e;
    double fracao = 0;
    {
        std::lock_guard<std::mutex> g(m_);
        if (!mudou_) return;
        mudou_ = false;
        titulo = textoTitulo_;
        e = estado_;
        const double amplitude = maximo_ - minimo_;
        fracao = amplitude > 0 ? (posicao_ - minimo_) / amplitude : 0;
    }
    if (!(fracao >= 0)) fracao = 0;
    if (fracao > 1) fracao = 1;
    titulo_->setText(QString::fromStdString(titulo));
    examinados_->setText(TextoContagem(e.Examinados));
    maiorR_->setText(TextoR(e.MelhorR));
    decorrido_->setText(TextoTempo(e.Decorrido));
    estimado_->setText(TextoTempo(e.Estimado));
    barra_->setValue(static_cast<int>(std::lround(fracao * kEscala)));
}

void TFProgressoPesquisa::Interrompe() {
    Cancela();
    interromper_->setEnabled(false);
}

void TFProgressoPesquisa::reject() {
    Interrompe();
}

bool ExecutaPesquisa(QWidget *parent, const std::function<void(TProgressoPesquisa &)> &trabalho) {
    TFProgressoPesquisa janela(parent);
    ExecutaComJanela(
        janela, [&] { trabalho(janela); }, [&] { janela.Atualiza(); });
    return !janela.Cancelado();
}

} // namespace zelto
