#include "gui/reportconfig/DLGCNFGrafico.h"

#include "gui/reportconfig/ComponentesConfig.h"
#include "gui/reportconfig/FOpcoes.h"
#include "items/GraficoItem.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace zelto {

namespace {

// A graph item that draws a sample chart with its settings, through the same dressing as the
// report's graphs.
class TGraficoAmostra : public TItemGrafico {
  public:
    using TItemGrafico::TItemGrafico;
    TChart Amostra() const {
        TChart c = ChartBase(TFaixa{0, 100}, TFaixa{-30, 30}, Titulo, "Valor Estimado", "Resíduo");
        const double residuos[12] = {-12, 8, 21, -5, 3, -18, 14, -2, 9, -24, 6, 17};
        for (int i = 0; i < 12; ++i)
            c.PlotPoint(std::to_string(i + 1), residuos[i], 6 + i * 8);
        c.Line(0, 100, 0, 0);
        return c;
    }
};

class TPrevia : public QWidget {
  public:
    explicit TPrevia(const TDLGCNFGrafico &d, QWidget *pai) : QWidget(pai), d_(d) { setMinimumSize(300, 260); }

  protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        const QImage img = ImagemChart(d_.Previa(), d_.Cores());
        const QSize s = img.size().scaled(size() - QSize(8, 8), Qt::KeepAspectRatio);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(QPoint((width() - s.width()) / 2, (height() - s.height()) / 2), s), img);
    }

  private:
    const TDLGCNFGrafico &d_;
};

QComboBox *Lista(QWidget *pai, std::initializer_list<const char *> textos, int atual, const QString &nome) {
    auto *c = new QComboBox(pai);
    for (const char *t : textos) c->addItem(QString::fromUtf8(t));
    c->setCurrentIndex(std::clamp(atual, 0, c->count() - 1));
    c->setObjectName(nome);
    return c;
}

// Pen styles as the chart draws them: 0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot,
// 5 none.
const std::initializer_list<const char *> kEstilosLinha{"Contínua", "Tracejada", "Pontilhada", "Traço e ponto",
                                                        "Traço e dois pontos", "Nenhuma"};

} // namespace

double NumeroDigitado(const QString &texto) {
    const QString t = texto.trimmed();
    bool ok = false;
    QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    double v = brasil.toDouble(t, &ok);
    if (!ok) v = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(v) ? v : std::numeric_limits<double>::quiet_NaN();
}

QString TextoNumero(double v) {
    if (!std::isfinite(v)) return {};
    QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    brasil.setNumberOptions(QLocale::OmitGroupSeparator);
    return brasil.toString(v, 'g', 15);
}

QString TamanhoEstimado(int largura, int altura, int cores) {
    const int bits = cores <= 2 ? 1 : cores <= 16 ? 4 : 8;
    const long long linha = (static_cast<long long>(largura) * bits + 31) / 32 * 4;
    const long long n = 54 + 4LL * (cores <= 256 ? cores : 0) + linha * altura;
    if (n < 1024) return QStringLiteral("( %1 bytes )").arg(n);
    if (n < 1024 * 1024) return QStringLiteral("( %1 kbytes )").arg(std::llround(n / 1024.0));
    return QStringLiteral("( %1 Mbytes )").arg(std::llround(n / (1024.0 * 1024.0)));
}

TDLGCNFGrafico::TDLGCNFGrafico(TListaItens &itens, int indice, bool todos, QWidget *pai)
    : TDlgItem(itens, indice, std::make_unique<TGraficoAmostra>(itens[static_cast<std::size_t>(indice)]->Descricao()),
               todos, pai) {
    setWindowTitle(QStringLiteral("Configurar Gráfico"));
    TItemAvaliacaoGraf &g = G();
    auto *principal = new QVBoxLayout(this);
    principal->addWidget(CriaRotuloTitulo());
    auto *colunas = new QHBoxLayout;
    principal->addLayout(colunas);
    auto *esquerda = new QVBoxLayout;
    colunas->addLayout(esquerda);

    auto *grupoFontes = new QGroupBox(QStringLiteral("Fontes"), this);
    auto *gf = new QGridLayout(grupoFontes);
    const TFonte *fontes[6] = {&g.FonteTitulo, &g.FonteCorpo, &g.FonteComentario,
                               &g.FonteEscalaX, &g.FonteSeries, &g.FonteEscalaY};
    const char *rotulos[6] = {"Título", "Legendas", "Comentários", "Escala X", "Índices", "Escala Y"};
    const char *nomes[6] = {"Tit", "Leg", "Cmn", "EX", "Ind", "EY"};
    for (int i = 0; i < 6; ++i) {
        fontes_[i] = new TBotaoFonte(*fontes[i], grupoFontes);
        fontes_[i]->setObjectName(QString::fromLatin1(nomes[i]));
        gf->addWidget(new QLabel(QString::fromUtf8(rotulos[i]), grupoFontes), i % 3, (i / 3) * 2);
        gf->addWidget(fontes_[i], i % 3, (i / 3) * 2 + 1);
        connect(fontes_[i], &TBotaoFonte::Mudou, this, &TDLGCNFGrafico::Atualiza);
    }
    esquerda->addWidget(grupoFontes);

    auto *grupoCores = new QGroupBox(QStringLiteral("Cores"), this);
    auto *gc = new QGridLayout(grupoCores);
    // Buttons in the order shown; the value is the stored colour.
    const std::pair<const char *, int> cores[7] = {{"Borda", 1},  {"Fundo", 0},  {"Marcas", 5}, {"Grade", 2},
                                                   {"Mínimo", 3}, {"Máximo", 4}, {"Linhas", 6}};
    int k = 0;
    for (const auto &[texto, indiceCor] : cores) {
        cores_[indiceCor] = new TBotaoCor(QString::fromUtf8(texto), g.Cores[static_cast<std::size_t>(indiceCor)], grupoCores);
        cores_[indiceCor]->setObjectName(QStringLiteral("Cor%1").arg(indiceCor));
        gc->addWidget(cores_[indiceCor], k / 4, k % 4);
        connect(cores_[indiceCor], &TBotaoCor::Mudou, this, &TDLGCNFGrafico::Atualiza);
        ++k;
    }
    esquerda->addWidget(grupoCores);

    auto *grupoOpcoes = new QGroupBox(QStringLiteral("Opções"), this);
    auto *go = new QGridLayout(grupoOpcoes);
    comentarios_ = new QCheckBox(QStringLiteral("Comentários"), grupoOpcoes);
    comentarios_->setObjectName(QStringLiteral("Comentarios"));
    comentarios_->setChecked(g.Comentarios);
    indices_ = new QCheckBox(QStringLiteral("Índices das marcas"), grupoOpcoes);
    indices_->setObjectName(QStringLiteral("Indices"));
    // Three states: always, never, or (partly checked) while the chart has at most 100 points.
    indices_->setTristate(true);
    indices_->setToolTip(QStringLiteral("Marcado: sempre; vazio: nunca; parcial: só em gráficos de até 100 pontos"));
    indices_->setCheckState((g.OpcoesSerie[0] & 0x04)   ? Qt::Unchecked
                            : (g.OpcoesSerie[0] & 0x08) ? Qt::Checked
                                                        : Qt::PartiallyChecked);
    marcador_ = Lista(grupoOpcoes, {"Círculo", "Quadrado", "Triângulo", "Esfera", "Nenhuma"}, g.OpcoesSerie[1] & 0x07,
                      QStringLiteral("Marcador"));
    estiloLinha_ = Lista(grupoOpcoes, kEstilosLinha, g.EstiloCaneta, QStringLiteral("EstiloLinha"));
    larguraLinha_ = new QSpinBox(grupoOpcoes);
    larguraLinha_->setObjectName(QStringLiteral("LarguraLinha"));
    larguraLinha_->setRange(1, 10);
    larguraLinha_->setValue(std::max<int>(1, g.LarguraCaneta));
    const int codigoCores = g.OpcoesSerie[0] & 0x03;
    numeroCores_ = Lista(grupoOpcoes, {"2 cores", "16 cores", "256 cores"}, std::min(codigoCores, 2),
                         QStringLiteral("NumeroCores"));
    go->addWidget(comentarios_, 0, 0);
    go->addWidget(indices_, 0, 1);
    go->addWidget(new QLabel(QStringLiteral("Marca"), grupoOpcoes), 1, 0);
    go->addWidget(marcador_, 1, 1);
    go->addWidget(new QLabel(QStringLiteral("Linha"), grupoOpcoes), 2, 0);
    go->addWidget(estiloLinha_, 2, 1);
    go->addWidget(larguraLinha_, 2, 2);
    go->addWidget(new QLabel(QStringLiteral("Cores da figura"), grupoOpcoes), 3, 0);
    go->addWidget(numeroCores_, 3, 1);
    esquerda->addWidget(grupoOpcoes);

    auto *grupoEixos = new QGroupBox(QStringLiteral("Escalas"), this);
    auto *ge = new QGridLayout(grupoEixos);
    for (int e = 0; e < 2; ++e) {
        const TItemAvaliacaoGraf::TEixo &eixo = g.Eixos[static_cast<std::size_t>(e)];
        TControlesEixo &c = eixos_[e];
        const QString sufixo = e == 0 ? QStringLiteral("X") : QStringLiteral("Y");
        ge->addWidget(new QLabel(QStringLiteral("Escala ") + sufixo, grupoEixos), 0, e + 1);
        // An axis that never had a manual range shows empty fields (its range is 0 .. 0).
        const bool semFaixa = eixo.Minimo == 0 && eixo.Maximo == 0;
        c.Maximo = new QLineEdit(semFaixa ? QString() : TextoNumero(eixo.Maximo), grupoEixos);
        c.Maximo->setObjectName(QStringLiteral("Maximo") + sufixo);
        c.Minimo = new QLineEdit(semFaixa ? QString() : TextoNumero(eixo.Minimo), grupoEixos);
        c.Minimo->setObjectName(QStringLiteral("Minimo") + sufixo);
        c.Divisoes = new QSpinBox(grupoEixos);
        c.Divisoes->setObjectName(QStringLiteral("Divisoes") + sufixo);
        c.Divisoes->setRange(1, 100);
        c.Divisoes->setValue(std::max<int>(1, eixo.Divisoes));
        c.Automatica = new QCheckBox(QStringLiteral("escala automática"), grupoEixos);
        c.Automatica->setObjectName(QStringLiteral("Automatica") + sufixo);
        c.Automatica->setChecked(eixo.Modo != 1 && eixo.Modo != 3);
        c.Oculta = new QCheckBox(QStringLiteral("Ocultar escala"), grupoEixos);
        c.Oculta->setObjectName(QStringLiteral("Oculta") + sufixo);
        c.Oculta->setChecked(eixo.Modo == 2 || eixo.Modo == 3);
        c.Centra = new QCheckBox(QStringLiteral("Centrar em zero"), grupoEixos);
        c.Centra->setObjectName(QStringLiteral("Centra") + sufixo);
        c.Centra->setChecked(eixo.Extra != 0);
        c.Grade = Lista(grupoEixos, kEstilosLinha, eixo.Grade, QStringLiteral("Grade") + sufixo);
        ge->addWidget(c.Maximo, 1, e + 1);
        ge->addWidget(c.Minimo, 2, e + 1);
        ge->addWidget(c.Divisoes, 3, e + 1);
        ge->addWidget(c.Automatica, 4, e + 1);
        ge->addWidget(c.Oculta, 5, e + 1);
        ge->addWidget(c.Centra, 6, e + 1);
        ge->addWidget(c.Grade, 7, e + 1);
        // The range fields are open while the scale is manual.
        for (QLineEdit *f : {c.Minimo, c.Maximo}) {
            f->setEnabled(!c.Automatica->isChecked());
            connect(c.Automatica, &QCheckBox::toggled, f, &QWidget::setDisabled);
            connect(f, &QLineEdit::textChanged, this, &TDLGCNFGrafico::Atualiza);
        }
        connect(c.Divisoes, &QSpinBox::valueChanged, this, &TDLGCNFGrafico::Atualiza);
        for (QCheckBox *b : {c.Automatica, c.Oculta, c.Centra})
            connect(b, &QCheckBox::toggled, this, &TDLGCNFGrafico::Atualiza);
        connect(c.Grade, &QComboBox::currentIndexChanged, this, &TDLGCNFGrafico::Atualiza);
    }
    ge->addWidget(new QLabel(QStringLiteral("Máximo"), grupoEixos), 1, 0);
    ge->addWidget(new QLabel(QStringLiteral("Mínimo"), grupoEixos), 2, 0);
    ge->addWidget(new QLabel(QStringLiteral("Divisões"), grupoEixos), 3, 0);
    ge->addWidget(new QLabel(QStringLiteral("Grade"), grupoEixos), 7, 0);
    esquerda->addWidget(grupoEixos);

    auto *direita = new QVBoxLayout;
    colunas->addLayout(direita, 1);
    previa_ = new TPrevia(*this, this);
    previa_->setObjectName(QStringLiteral("Previa"));
    direita->addWidget(previa_, 1);
    auto *tamanho = new QFormLayout;
    largura_ = new QSpinBox(this);
    largura_->setObjectName(QStringLiteral("Largura"));
    largura_->setRange(20, 255);
    largura_->setValue(std::max<int>(20, g.LarguraGrafico));
    altura_ = new QSpinBox(this);
    altura_->setObjectName(QStringLiteral("Altura"));
    altura_->setRange(20, 255);
    altura_->setValue(std::max<int>(20, g.AlturaGrafico));
    tamanho->addRow(QStringLiteral("Largura (mm)"), largura_);
    tamanho->addRow(QStringLiteral("Altura (mm)"), altura_);
    tamanho_ = new QLabel(this);
    tamanho_->setObjectName(QStringLiteral("TamanhoEstimado"));
    tamanho->addRow(tamanho_);
    direita->addLayout(tamanho);
    if (g.Tipo == tiSeries) {
        auto *opcoes = new QPushButton(QStringLiteral("Opções..."), this);
        opcoes->setObjectName(QStringLiteral("Opcoes"));
        connect(opcoes, &QPushButton::clicked, this, [this] {
            TFOpcoes d(G(), this);
            if (d.exec() == QDialog::Accepted) Atualiza();
        });
        direita->addWidget(opcoes);
    }

    for (QComboBox *c : {marcador_, estiloLinha_, numeroCores_})
        connect(c, &QComboBox::currentIndexChanged, this, &TDLGCNFGrafico::Atualiza);
    for (QSpinBox *s : {larguraLinha_, largura_, altura_})
        connect(s, &QSpinBox::valueChanged, this, &TDLGCNFGrafico::Atualiza);
    connect(comentarios_, &QCheckBox::toggled, this, &TDLGCNFGrafico::Atualiza);
    connect(indices_, &QCheckBox::stateChanged, this, &TDLGCNFGrafico::Atualiza);
    AdicionaBotoes(principal);
    // The controls only write the settings once one of them changes.
    const TChart c = Previa();
    tamanho_->setText(TamanhoEstimado(c.Largura, c.Altura, Cores()));
}

int TDLGCNFGrafico::Cores() const {
    const int i = numeroCores_->currentIndex();
    return i == 0 ? 2 : i == 1 ? 16 : 256;
}

TChart TDLGCNFGrafico::Previa() const {
    return static_cast<const TGraficoAmostra &>(Rascunho()).Amostra();
}

void TDLGCNFGrafico::Atualiza() {
    TItemAvaliacaoGraf &g = G();
    g.FonteTitulo = fontes_[0]->Fonte();
    g.FonteCorpo = fontes_[1]->Fonte();
    g.FonteComentario = fontes_[2]->Fonte();
    g.FonteEscalaX = fontes_[3]->Fonte();
    g.FonteSeries = fontes_[4]->Fonte();
    g.FonteEscalaY = fontes_[5]->Fonte();
    for (std::size_t i = 0; i < g.Cores.size(); ++i) g.Cores[i] = cores_[i]->Cor();
    g.Comentarios = comentarios_->isChecked();
    // The option bytes keep the bits that no control shows.
    std::uint8_t o0 = static_cast<std::uint8_t>(g.OpcoesSerie[0] & ~0x0F);
    const int codigoAtual = g.OpcoesSerie[0] & 0x03;
    const int codigo = numeroCores_->currentIndex() == 2 && codigoAtual == 3 ? 3 : numeroCores_->currentIndex();
    const int numeros = indices_->checkState() == Qt::Unchecked ? 0x04 : indices_->checkState() == Qt::Checked ? 0x08 : 0;
    o0 = static_cast<std::uint8_t>(o0 | codigo | numeros);
    g.OpcoesSerie[0] = o0;
    g.OpcoesSerie[1] = static_cast<std::uint8_t>((g.OpcoesSerie[1] & ~0x07) | marcador_->currentIndex());
    g.EstiloCaneta = static_cast<std::uint8_t>(estiloLinha_->currentIndex());
    g.LarguraCaneta = static_cast<std::uint8_t>(larguraLinha_->value());
    for (std::size_t e = 0; e < 2; ++e) {
        TItemAvaliacaoGraf::TEixo &eixo = g.Eixos[e];
        const TControlesEixo &c = eixos_[e];
        eixo.Divisoes = static_cast<std::uint16_t>(c.Divisoes->value());
        eixo.Modo = static_cast<std::uint8_t>((c.Automatica->isChecked() ? 0 : 1) | (c.Oculta->isChecked() ? 2 : 0));
        eixo.Extra = c.Centra->isChecked() ? 1 : 0;
        eixo.Grade = static_cast<std::uint8_t>(c.Grade->currentIndex());
        // Empty fields keep the range 0 .. 0 (none); a range that is no range (minimum not
        // below the maximum, or no number) is kept as typed and the axis stays automatic.
        const bool vazios = c.Minimo->text().trimmed().isEmpty() && c.Maximo->text().trimmed().isEmpty();
        eixo.Minimo = vazios ? 0 : NumeroDigitado(c.Minimo->text());
        eixo.Maximo = vazios ? 0 : NumeroDigitado(c.Maximo->text());
    }
    g.LarguraGrafico = static_cast<std::uint8_t>(largura_->value());
    g.AlturaGrafico = static_cast<std::uint8_t>(altura_->value());
    const TChart c = Previa();
    tamanho_->setText(TamanhoEstimado(c.Largura, c.Altura, Cores()));
    previa_->update();
}

} // namespace zelto

// The meta-object code compiled with this unit.
#include "moc_DLGCNFGrafico.cpp"
