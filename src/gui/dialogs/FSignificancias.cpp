#include "gui/dialogs/FSignificancias.h"

#include "common/Caminhos.h"
#include "common/Numeros.h"
#include "gui/dialogs/FConfirma.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>
#include <iterator>
#include <limits>

namespace zelto {

namespace fs = std::filesystem;

namespace {

QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

QString U(const char *s) {
    return QString::fromUtf8(s);
}

const char *const kRotulosKolmogorov[] = {"20 %", "15 %", "10 %", "5 %", "1 %"};
const char *const kRotulosDurbinWatson[] = {"1,0 %", "2,5 %", "5,0 %"};
const char *const kRotulosArley[] = {"10 %", "  5 %", "  1 %", "0,1%"};
const char *const kRotulosCriterio[] = {"Desvio Padrão", "Média", "Chauvenet", "Arley"};
const char *const kRotulosExtrapolacao[] = {"Não Admitida", "Admitida com Limites", "Admitida"};

const char *const kFaixaNivel = "Informe uma porcentagem maior ou igual a 0 e menor que 100.";
const char *const kFaixaReal = "Informe um número maior ou igual a 0.";
const char *const kFaixaInteiro = "Informe um número inteiro maior ou igual a 0.";

QComboBox *NovaLista(QWidget *dono, const char *const *rotulos, int n) {
    auto *c = new QComboBox(dono);
    for (int i = 0; i < n; ++i)
        c->addItem(U(rotulos[i]));
    return c;
}

QLabel *Rotulo(QWidget *dono, const char *texto) {
    return new QLabel(U(texto), dono);
}

// One line of a page: label, field, unit and "Normatizada" mark.
void Linha(QGridLayout *g, int r, const char *rotulo, QWidget *campo, const char *unidade,
           QWidget *marca) {
    QWidget *dono = g->parentWidget();
    auto *l = Rotulo(dono, rotulo);
    l->setBuddy(campo);
    g->addWidget(l, r, 0);
    g->addWidget(campo, r, 1);
    if (unidade) g->addWidget(Rotulo(dono, unidade), r, 2);
    if (marca) {
        g->addWidget(marca, r, 3);
        QWidget::setTabOrder(campo, marca); // the mark may have been made first
    }
}

QGridLayout *Grade(QWidget *p) {
    auto *g = new QGridLayout(p);
    g->setColumnStretch(4, 1);
    return g;
}

} // namespace

// ---- The settings dialog ----------------------------------------------------------------------

TFSignificancias::TFSignificancias(TSignificancias &registro, PaginaSignificancias pagina,
                                   bool modoInferencial, bool saneamentoAutomatico,
                                   const fs::path &pasta, QWidget *parent)
    : QDialog(parent), inferencial_(modoInferencial),
      pasta_(pasta.empty() ? PastaConfigUsuario() : pasta),
      trabalho_(ArquivoSignificancias(modoInferencial, pasta)), registro_(registro),
      inicial_(registro), s_(registro), saneamentoInicial_(saneamentoAutomatico),
      saneamentoFinal_(saneamentoAutomatico) {
    setWindowTitle(QStringLiteral("Significâncias / Confianças  32.57"));
    Confirma = [this](const std::string &t) { return TFConfirma::Pergunta(this, t, false); };
    Avisa = [this](const std::string &t) {
        QMessageBox::warning(this, QStringLiteral("Zelto 32"),
                             Q(t).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    };
    PedeNome = [this](const fs::path &p) { return TFSalvaSigConf::PedeNome(this, p); };

    auto *l = new QVBoxLayout(this);
    auto *topo = new QGridLayout;
    descricao_ = new QComboBox(this);
    descricao_->setEditable(true);
    descricao_->setInsertPolicy(QComboBox::NoInsert);
    descricao_->setCompleter(nullptr);
    descricao_->lineEdit()->setMaxLength(255);
    descricao_->setMinimumContentsLength(40);
    auto *rotulo = new QLabel(QStringLiteral("Descrição : "), this);
    rotulo->setBuddy(descricao_);
    topo->addWidget(rotulo, 0, 0);
    topo->addWidget(descricao_, 0, 1);
    arquivo_ = new QLineEdit(this);
    arquivo_->setReadOnly(true);
    arquivo_->setFocusPolicy(Qt::NoFocus);
    arquivo_->setToolTip(QStringLiteral("Arquivo da configuração escolhida"));
    topo->addWidget(arquivo_, 1, 1);
    topo->setColumnStretch(1, 1);
    l->addLayout(topo);

    paginas_ = new QTabWidget(this);
    paginas_->addTab(PaginaSignif(), U(NomePaginaSignificancias(pgSignificancias)));
    paginas_->addTab(PaginaContinuacao(), U(NomePaginaSignificancias(pgContinuacao)));
    paginas_->addTab(PaginaConfiancas(), U(NomePaginaSignificancias(pgConfiancas)));
    paginas_->addTab(PaginaCriterios(), U(NomePaginaSignificancias(pgCriterios)));
    paginas_->addTab(PaginaExtrapolacoes(), U(NomePaginaSignificancias(pgExtrapolacoes)));
    l->addWidget(paginas_, 1);

    auto *botoes = new QHBoxLayout;
    gravar_ = new QPushButton(QStringLiteral("&Gravar"), this);
    gravar_->setAutoDefault(false);
    gravar_->setToolTip(QStringLiteral("Grava estas significâncias e confianças com um nome"));
    botoes->addWidget(gravar_);
    botoes->addStretch();
    fechar_ = new QPushButton(QStringLiteral("&Fechar"), this);
    fechar_->setDefault(true);
    auto *cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cancelar->setAutoDefault(false);
    botoes->addWidget(fechar_);
    botoes->addWidget(cancelar);
    l->addLayout(botoes);
    connect(fechar_, &QPushButton::clicked, this, &TFSignificancias::accept);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(gravar_, &QPushButton::clicked, this, &TFSignificancias::GravaConfiguracaoNomeada);
    connect(descricao_, &QComboBox::activated, this, &TFSignificancias::EscolheConfiguracao);

    for (QRadioButton *r : criterios_)
        connect(r, &QRadioButton::toggled, this, &TFSignificancias::AtualizaEstados);
    for (QRadioButton *r : extrapolacao_)
        connect(r, &QRadioButton::toggled, this, &TFSignificancias::AtualizaEstados);
    connect(Caixa(&T::AmplitudeIlimitada), &QCheckBox::toggled, this,
            &TFSignificancias::AtualizaEstados);

    saneamento_->setChecked(saneamentoAutomatico);
    durbinWatson_->setCurrentIndex(IndiceNivel(kNiveisDurbinWatson, std::size(kNiveisDurbinWatson),
                                               TSignificancias{}.DurbinWatson));
    CarregaLista();
    Mostra();
    paginas_->setCurrentIndex(std::clamp(static_cast<int>(pagina), 0, paginas_->count() - 1));
}

QLineEdit *TFSignificancias::NovoReal(QWidget *dono, double T::*campo, double escala, bool nivel,
                                      int pagina) {
    auto *e = new QLineEdit(dono);
    e->setMinimumWidth(70);
    e->setMaximumWidth(90);
    e->setAlignment(Qt::AlignRight);
    reais_.push_back({campo, e, escala, nivel, pagina});
    return e;
}

QLineEdit *TFSignificancias::NovoInteiro(QWidget *dono, std::int32_t T::*campo, int pagina) {
    auto *e = new QLineEdit(dono);
    e->setMaximumWidth(60);
    e->setAlignment(Qt::AlignRight);
    inteiros_.push_back({campo, e, pagina});
    return e;
}

QCheckBox *TFSignificancias::NovaCaixa(QWidget *dono, const char *texto, bool T::*campo) {
    auto *c = new QCheckBox(U(texto), dono);
    caixas_.push_back({campo, c});
    return c;
}

QCheckBox *TFSignificancias::NovaNorma(QWidget *dono, MarcaNorma m, bool masculino) {
    normas_[m] = new QCheckBox(
        masculino ? QStringLiteral("Normatizado") : QStringLiteral("Normatizada"), dono);
    return normas_[m];
}

QWidget *TFSignificancias::PaginaSignif() {
    auto *p = new QWidget;
    auto *g = Grade(p);
    const int pg = pgSignificancias;
    Linha(g, 0,
          "Teste t, Coef. de correlação       :", NovoReal(p, &T::TesteCorrelacao, 100, true, pg),
          "%", NovaNorma(p, mnCorrelacao));
    Linha(g, 1, "Teste F, Sign. do Modelo           :", NovoReal(p, &T::TesteModelo, 100, true, pg),
          "%", NovaNorma(p, mnModelo));
    Linha(g, 2, "Teste t, Regressores, Unicaudal : ",
          NovoReal(p, &T::TesteRegressoresUnicaudal, 100, true, pg), "%",
          NovaNorma(p, mnUnicaudal));
    Linha(g, 3, "Teste t, Regressores, Bicaudal  : ",
          NovoReal(p, &T::TesteRegressoresBicaudal, 100, true, pg), "%", NovaNorma(p, mnBicaudal));
    g->setRowStretch(4, 1);
    return p;
}

QWidget *TFSignificancias::PaginaContinuacao() {
    auto *p = new QWidget;
    auto *g = Grade(p);
    const int pg = pgContinuacao;
    Linha(g, 0,
          "Teste z de Sequências             : ", NovoReal(p, &T::TesteSequencias, 100, true, pg),
          "%", NovaNorma(p, mnSequencias));
    kolmogorov_ = NovaLista(p, kRotulosKolmogorov, std::size(kRotulosKolmogorov));
    Linha(g, 1, "Kolmogorov-Smirnov :", kolmogorov_, nullptr, NovaNorma(p, mnKolmogorov));
    durbinWatson_ = NovaLista(p, kRotulosDurbinWatson, std::size(kRotulosDurbinWatson));
    Linha(g, 2, "Durbin-Watson (Autocorrelação) : ", durbinWatson_, nullptr,
          NovaNorma(p, mnDurbinWatson));
    Linha(g, 3, "Teste F da distância de Cook :", NovoReal(p, &T::TesteCook, 100, true, pg), "%",
          NovaNorma(p, mnCook));
    g->setRowStretch(4, 1);
    return p;
}

QWidget *TFSignificancias::PaginaConfiancas() {
    auto *p = new QWidget;
    auto *l = new QVBoxLayout(p);
    auto *g = new QGridLayout;
    g->setColumnStretch(4, 1);
    l->addLayout(g);
    const int pg = pgConfiancas;
    Linha(g, 0,
          "Intervalo dos regressores   :", NovoReal(p, &T::ConfiancaRegressores, 100, true, pg),
          "%", NovaNorma(p, mnConfiancaRegressores));
    Linha(g, 1, "Intervalo de confiança do valor estimado :",
          NovoReal(p, &T::ConfiancaEstimativa, 100, true, pg), "%",
          NovaNorma(p, mnConfiancaEstimativa));
    auto *precisao = new QGroupBox(p);
    auto *gp = Grade(precisao);
    Linha(gp, 0, "Amplitude do intervalo de confiança em torno do valor estimado  : ",
          NovoReal(precisao, &T::AmplitudeEstimativa, 100, false, pg), "%",
          NovaCaixa(precisao, "Normatizada", &T::AmplitudeNormatizada));
    gp->addWidget(NovaCaixa(precisao, "Ilimitado", &T::AmplitudeIlimitada), 1, 3);
    l->addWidget(precisao);
    l->addStretch();
    return p;
}

QWidget *TFSignificancias::PaginaCriterios() {
    auto *p = new QWidget;
    auto *l = new QVBoxLayout(p);
    auto *grupo = new QGroupBox(QStringLiteral(" Saneamento : "), p);
    auto *lg = new QGridLayout(grupo);
    auto *opcoes = new QButtonGroup(grupo);
    for (int i = 0; i < 4; ++i) {
        criterios_[i] = new QRadioButton(U(kRotulosCriterio[i]), grupo);
        opcoes->addButton(criterios_[i], i);
        lg->addWidget(criterios_[i], i, 0);
    }
    lg->addWidget(NovaNorma(grupo, mnSaneamento, true), 0, 2);

    paginasCriterio_ = new QStackedWidget(grupo);
    // Standard deviations.
    auto *desvio = new QWidget;
    auto *ld = new QHBoxLayout(desvio);
    ld->addWidget(Rotulo(desvio, "Limite de Média ±"));
    parametroDesvio_ = new QLineEdit(desvio);
    parametroDesvio_->setMaximumWidth(90);
    parametroDesvio_->setAlignment(Qt::AlignRight);
    ld->addWidget(parametroDesvio_);
    ld->addWidget(Rotulo(desvio, "x Desvio(s) Padrão(ões)."));
    ld->addStretch();
    paginasCriterio_->addWidget(desvio);
    // Percentage of the mean.
    auto *media = new QWidget;
    auto *lm = new QHBoxLayout(media);
    lm->addWidget(Rotulo(media, "Limite de ±"));
    parametroMedia_ = new QLineEdit(media);
    parametroMedia_->setMaximumWidth(90);
    parametroMedia_->setAlignment(Qt::AlignRight);
    lm->addWidget(parametroMedia_);
    lm->addWidget(Rotulo(media, "% em torno da média."));
    lm->addStretch();
    paginasCriterio_->addWidget(media);
    // Chauvenet.
    paginasCriterio_->addWidget(
        Rotulo(nullptr, "Limite de Média ± (Valor Chauvenet) x Desvio Padrão."));
    // Arley.
    auto *arley = new QWidget;
    auto *la = new QHBoxLayout(arley);
    arley_ = NovaLista(arley, kRotulosArley, std::size(kRotulosArley));
    auto *ra = Rotulo(arley, "Significância :");
    ra->setBuddy(arley_);
    la->addWidget(ra);
    la->addWidget(arley_);
    la->addStretch();
    paginasCriterio_->addWidget(arley);
    lg->addWidget(paginasCriterio_, 4, 0, 1, 3);
    lg->setColumnStretch(1, 1);
    l->addWidget(grupo);

    saneamento_ = new QCheckBox(QStringLiteral(" Sanear amostra automaticamente "), p);
    l->addWidget(saneamento_);

    auto *minimo = new QHBoxLayout;
    minimo->addWidget(Rotulo(p, "Número mínimo de amostragens :"));
    minimo->addWidget(NovoInteiro(p, &T::MultiplicadorAmostras, pgCriterios));
    minimo->addWidget(Rotulo(p, "x Nº de vars. independentes + "));
    minimo->addWidget(NovoInteiro(p, &T::AdendoAmostras, pgCriterios));
    minimo->addWidget(NovaNorma(p, mnAmostragens, true));
    minimo->addStretch();
    l->addLayout(minimo);
    l->addStretch();
    return p;
}

QWidget *TFSignificancias::PaginaExtrapolacoes() {
    auto *p = new QWidget;
    auto *l = new QVBoxLayout(p);
    const int pg = pgExtrapolacoes;
    auto *modo = new QGroupBox(p);
    auto *lm = new QHBoxLayout(modo);
    auto *opcoes = new QButtonGroup(modo);
    for (int i = 0; i < 3; ++i) {
        extrapolacao_[i] = new QRadioButton(U(kRotulosExtrapolacao[i]), modo);
        opcoes->addButton(extrapolacao_[i], i);
        lm->addWidget(extrapolacao_[i]);
    }
    lm->addStretch();
    lm->addWidget(NovaCaixa(modo, "Normatizada", &T::ExtrapolacaoNormatizada));
    l->addWidget(modo);

    // Inferential mode: the limits of characteristics and of the estimate.
    painelInferencial_ = new QWidget(p);
    auto *li = new QVBoxLayout(painelInferencial_);
    li->setContentsMargins(0, 0, 0, 0);
    limites_ = new QWidget(painelInferencial_);
    auto *g = Grade(limites_);
    g->setContentsMargins(0, 0, 0, 0);
    auto linha = [&](int r, double T::*campo, const char *texto, QCheckBox *marca) {
        auto *ate = Rotulo(limites_, "Até");
        QLineEdit *e = NovoReal(limites_, campo, 100, false, pg);
        ate->setBuddy(e);
        g->addWidget(ate, r, 0);
        g->addWidget(e, r, 1);
        g->addWidget(Rotulo(limites_, texto), r, 2);
        if (marca) {
            g->addWidget(marca, r, 3);
            QWidget::setTabOrder(e, marca);
        }
    };
    auto *ate = Rotulo(limites_, "Até");
    g->addWidget(ate, 0, 0);
    QLineEdit *conta = NovoInteiro(limites_, &T::VariaveisExtrapolando, pg);
    ate->setBuddy(conta);
    g->addWidget(conta, 0, 1);
    g->addWidget(Rotulo(limites_, "variável(is) podem extrapolar os limites amostrais"), 0, 2);
    g->addWidget(NovaCaixa(limites_, "Normatizada", &T::VariaveisExtrapolandoNormatizado), 0, 3);
    g->addWidget(NovaCaixa(limites_, "Todas as variáveis podem extrapolar os limites amostrais",
                           &T::TodasExtrapolam),
                 1, 0, 1, 4);
    g->addWidget(NovaCaixa(limites_,
                           "Não permitir extrapolações de variáveis dicotômias ou qualitativas",
                           &T::SemExtrapolarQualitativas),
                 2, 0, 1, 4);
    linha(3, &T::ExcessoSuperior, "% acima do limite superior da amostra",
          NovaCaixa(limites_, "Normatizada", &T::ExcessoNormatizado));
    linha(4, &T::ExcessoInferior, "% abaixo do limite inferior da amostra", nullptr);
    linha(5, &T::EstimativaSuperior, "% acima do limite superior amostral",
          NovaCaixa(limites_, "Normatizada", &T::EstimativaNormatizada));
    linha(6, &T::EstimativaInferior, "% abaixo do limite inferior amostral", nullptr);
    linha(7, &T::VariacaoNosLimites, "%  acima e abaixo nos limites amostrais de cada variável",
          NovaCaixa(limites_, "Normatizada", &T::VariacaoNormatizada));
    li->addWidget(limites_);
    l->addWidget(painelInferencial_);

    // Descriptive mode: the admissible intervals of the factors.
    painelDescritivo_ = new QWidget(p);
    auto *gd = Grade(painelDescritivo_);
    gd->setContentsMargins(0, 0, 0, 0);
    gd->addWidget(NovaCaixa(painelDescritivo_, "Permite extrapolação para qualquer fator",
                            &T::ExtrapolacaoQualquerFator),
                  0, 0, 1, 5);
    auto intervalo = [&](int r, const char *texto, double T::*inferior, double T::*superior,
                         bool T::*marca) {
        gd->addWidget(Rotulo(painelDescritivo_, texto), r, 0);
        gd->addWidget(NovoReal(painelDescritivo_, inferior, 1, false, pg), r, 1);
        gd->addWidget(Rotulo(painelDescritivo_, "a"), r, 2);
        gd->addWidget(NovoReal(painelDescritivo_, superior, 1, false, pg), r, 3);
        gd->addWidget(NovaCaixa(painelDescritivo_, "Normatizado", marca), r, 4);
    };
    intervalo(1, "Intervalo admissível por fator :", &T::IntervaloFatorInferior,
              &T::IntervaloFatorSuperior, &T::IntervaloFatorNormatizado);
    intervalo(2, "Intervalo admissível por :", &T::IntervaloConjuntoInferior,
              &T::IntervaloConjuntoSuperior, &T::IntervaloConjuntoNormatizado);
    gd->addWidget(Rotulo(painelDescritivo_, "conjunto de fatores"), 3, 0);
    gd->setColumnStretch(5, 1);
    l->addWidget(painelDescritivo_);
    l->addStretch();

    painelInferencial_->setVisible(inferencial_);
    painelDescritivo_->setVisible(!inferencial_);
    return p;
}

QLineEdit *TFSignificancias::Campo(double T::*campo) const {
    for (const CampoReal &c : reais_)
        if (c.campo == campo) return c.edicao;
    return nullptr;
}

QLineEdit *TFSignificancias::Campo(std::int32_t T::*campo) const {
    for (const CampoInteiro &c : inteiros_)
        if (c.campo == campo) return c.edicao;
    return nullptr;
}

QCheckBox *TFSignificancias::Caixa(bool T::*campo) const {
    for (const CaixaBool &c : caixas_)
        if (c.campo == campo) return c.caixa;
    return nullptr;
}

bool TFSignificancias::SaneamentoAutomatico() const {
    return saneamentoFinal_;
}

bool TFSignificancias::Alterou() const {
    return registro_ != inicial_ || saneamentoFinal_ != saneamentoInicial_;
}

// ---- Showing and collecting -------------------------------------------------------------------

void TFSignificancias::CarregaLista() {
    configuracoes_ = ListaConfiguracoes(pasta_);
    const QSignalBlocker bloqueio(descricao_);
    descricao_->clear();
    for (const TConfiguracaoSignificancia &c : configuracoes_)
        descricao_->addItem(Q(c.Descricao));
}

void TFSignificancias::MostraTexto(QLineEdit *e, const QString &texto) {
    e->setText(texto);
    e->setProperty("mostrado", texto);
}

void TFSignificancias::Mostra() {
    {
        // The description, and the configuration that bears it.
        const QSignalBlocker bloqueio(descricao_);
        int indice = -1;
        for (std::size_t i = 0; i < configuracoes_.size() && indice < 0; ++i)
            if (configuracoes_[i].Descricao == s_.Descricao) indice = static_cast<int>(i);
        descricao_->setCurrentIndex(indice);
        descricao_->setEditText(Q(s_.Descricao));
        arquivo_->setText(indice >= 0 ? Q(configuracoes_[indice].Arquivo.filename().string())
                                      : QString());
    }
    for (const CampoReal &c : reais_)
        MostraTexto(c.edicao, Q(FormatoFixo(s_.*c.campo * c.escala, 2)));
    for (const CampoInteiro &c : inteiros_)
        MostraTexto(c.edicao, QString::number(s_.*c.campo));
    for (const CaixaBool &c : caixas_)
        c.caixa->setChecked(s_.*c.campo);
    for (int i = 0; i < kNumeroMarcasNorma; ++i)
        normas_[i]->setChecked(s_.Normatizada[i]);

    kolmogorov_->setCurrentIndex(IndiceNivel(kNiveisKolmogorov, std::size(kNiveisKolmogorov),
                                             NivelKolmogorovExibido(s_.KolmogorovSmirnov)));
    int dw = IndiceNivel(kNiveisDurbinWatson, std::size(kNiveisDurbinWatson), s_.DurbinWatson);
    if (dw >= 0) durbinWatson_->setCurrentIndex(dw);

    const QString parametro = Q(FormatoFixo(s_.ParametroSaneamento, 2));
    MostraTexto(parametroDesvio_, parametro);
    MostraTexto(parametroMedia_, parametro);
    // Any other Arley level counts as 10 %.
    arley_->setCurrentIndex(
        std::max(0, IndiceNivel(kNiveisArley, std::size(kNiveisArley), s_.ParametroSaneamento)));
    criterios_[std::clamp<std::int32_t>(s_.Saneamento, csDesvioPadrao, csArley)]->setChecked(true);
    extrapolacao_[std::clamp<std::int32_t>(s_.Extrapolacao, meNaoAdmitida, meAdmitida)]->setChecked(
        true);
    AtualizaEstados();
}

void TFSignificancias::AtualizaEstados() {
    for (int i = 0; i < 4; ++i)
        if (criterios_[i]->isChecked()) paginasCriterio_->setCurrentIndex(i);
    limites_->setEnabled(extrapolacao_[meAdmitidaComLimites]->isChecked());
    Campo(&T::AmplitudeEstimativa)->setEnabled(!Caixa(&T::AmplitudeIlimitada)->isChecked());
}

void TFSignificancias::Foca(QLineEdit *e, int pagina) {
    paginas_->setCurrentIndex(pagina);
    e->setFocus(Qt::OtherFocusReason);
    e->selectAll();
}

bool TFSignificancias::Recusa(QLineEdit *e, int pagina, const QString &texto,
                              const std::string &faixa) {
    Foca(e, pagina);
    if (Avisa)
        Avisa("\"" + texto.toStdString() + "\" não é um valor válido para este campo.\r\n" + faixa);
    return false;
}

bool TFSignificancias::Coleta(TSignificancias &s) {
    // A real field: untouched keeps its value, empty is 0, anything else must
    // be a number in range. A disabled field cannot be corrected: a text of
    // it that is no valid number leaves its value as it was.
    auto real = [&](QLineEdit *e, int pagina, bool nivel, double escala, double &destino) {
        const QString texto = e->text().trimmed();
        if (e->text() == e->property("mostrado").toString()) return true;
        long double v = 0;
        const bool numero = texto.isEmpty() || ConverteNumero(texto.toStdString(), v);
        const double x = static_cast<double>(v / escala);
        if (!numero || !std::isfinite(x) || v < 0 || (nivel && v >= 100))
            return !e->isEnabled() || Recusa(e, pagina, texto, nivel ? kFaixaNivel : kFaixaReal);
        destino = x;
        return true;
    };
    for (const CampoReal &c : reais_)
        if (!real(c.edicao, c.pagina, c.nivel, c.escala, s.*c.campo)) return false;
    for (const CampoInteiro &c : inteiros_) {
        const QString texto = c.edicao->text().trimmed();
        long long n = 0;
        const bool numero = texto.isEmpty() || ConverteInteiro(texto.toStdString(), n);
        if (!numero || n < 0 || n > std::numeric_limits<std::int32_t>::max()) {
            if (c.edicao->isEnabled()) return Recusa(c.edicao, c.pagina, texto, kFaixaInteiro);
            continue;
        }
        s.*c.campo = static_cast<std::int32_t>(n);
    }

    s.Saneamento = csDesvioPadrao;
    for (int i = 0; i < 4; ++i)
        if (criterios_[i]->isChecked()) s.Saneamento = i;
    if (s.Saneamento == csDesvioPadrao &&
        !real(parametroDesvio_, pgCriterios, false, 1, s.ParametroSaneamento))
        return false;
    if (s.Saneamento == csMedia &&
        !real(parametroMedia_, pgCriterios, false, 1, s.ParametroSaneamento))
        return false;
    if (s.Saneamento == csArley) s.ParametroSaneamento = kNiveisArley[arley_->currentIndex()];

    s.Descricao = descricao_->currentText().toStdString();
    s.KolmogorovSmirnov = kNiveisKolmogorov[kolmogorov_->currentIndex()];
    s.DurbinWatson = kNiveisDurbinWatson[durbinWatson_->currentIndex()];
    for (const CaixaBool &c : caixas_)
        s.*c.campo = c.caixa->isChecked();
    for (int i = 0; i < kNumeroMarcasNorma; ++i)
        s.Normatizada[i] = normas_[i]->isChecked();
    for (int i = 0; i < 3; ++i)
        if (extrapolacao_[i]->isChecked()) s.Extrapolacao = i;
    return true;
}

QLineEdit *TFSignificancias::EdicaoDoCampo(CampoSignificancia c) const {
    switch (c) {
    case sgCorrelacao:
        return Campo(&T::TesteCorrelacao);
    case sgModelo:
        return Campo(&T::TesteModelo);
    case sgUnicaudal:
        return Campo(&T::TesteRegressoresUnicaudal);
    case sgBicaudal:
        return Campo(&T::TesteRegressoresBicaudal);
    case sgSequencias:
        return Campo(&T::TesteSequencias);
    case sgCook:
        return Campo(&T::TesteCook);
    case sgParametroDesvioPadrao:
        return parametroDesvio_;
    case sgParametroMedia:
        return parametroMedia_;
    case sgConfiancaRegressores:
        return Campo(&T::ConfiancaRegressores);
    case sgConfiancaEstimativa:
    case sgNenhum:
        break;
    }
    return Campo(&T::ConfiancaEstimativa);
}

bool TFSignificancias::Armazena() {
    TSignificancias t = s_;
    if (!Coleta(t)) return false;
    const TResultadoValidacao v = ValidaSignificancias(t, Confirma);
    if (v.resultado == Validacao::Corrigir) {
        Foca(EdicaoDoCampo(v.campo), v.pagina);
        return false;
    }
    if (v.resultado == Validacao::Cancelada) {
        reject();
        return false;
    }
    s_ = t;
    registro_ = t;
    if (!GravaSignificancias(trabalho_, t) && Avisa)
        Avisa("Não foi possível gravar o arquivo \r\n" + trabalho_.string() + ".");
    // What is shown is now what is stored.
    Mostra();
    return true;
}

void TFSignificancias::accept() {
    if (!Armazena()) return;
    saneamentoFinal_ = saneamento_->isChecked();
    QDialog::accept();
}

void TFSignificancias::GravaConfiguracaoNomeada() {
    if (!Armazena()) return;
    const std::string nome = PedeNome ? PedeNome(pasta_) : std::string();
    if (nome.empty()) return;
    switch (GravaConfiguracao(trabalho_, pasta_, nome, Confirma)) {
    case Gravacao::Gravada:
        CarregaLista();
        Mostra();
        break;
    case Gravacao::Falhou:
        if (Avisa) Avisa("Não foi possível gravar a configuração \r\n" + nome + ".");
        break;
    case Gravacao::Abandonada:
        break;
    }
}

void TFSignificancias::EscolheConfiguracao(int indice) {
    if (indice < 0 || indice >= static_cast<int>(configuracoes_.size())) return;
    const fs::path arquivo = configuracoes_[indice].Arquivo;
    std::error_code ec;
    if (!fs::is_regular_file(arquivo, ec)) {
        if (Avisa)
            Avisa("O arquivo \r\n" + arquivo.filename().string() + "\r\nnão foi encontrado.");
        CarregaLista();
        Mostra();
        return;
    }
    const TArquivoIni ini(arquivo);
    s_.Le(ini);
    Mostra();
    if (configuracoes_[indice].Descricao == s_.Descricao) {
        const QSignalBlocker bloqueio(descricao_);
        descricao_->setCurrentIndex(indice);
    }
    arquivo_->setText(Q(arquivo.filename().string()));
}

bool MostraSignificancias(QWidget *parent, TSignificancias &registro, PaginaSignificancias pagina,
                          bool modoInferencial, bool &saneamentoAutomatico, const fs::path &pasta) {
    TFSignificancias f(registro, pagina, modoInferencial, saneamentoAutomatico, pasta, parent);
    f.exec();
    saneamentoAutomatico = f.SaneamentoAutomatico();
    return f.Alterou();
}

// ---- The name of a saved configuration ------------------------------------------------------

TFSalvaSigConf::TFSalvaSigConf(const fs::path &pasta, QWidget *parent)
    : QDialog(parent), pasta_(pasta) {
    setWindowTitle(QStringLiteral("Gravar Significâncias/Confianças"));
    auto *l = new QVBoxLayout(this);
    auto *rotulo = new QLabel(QStringLiteral("&Nome do arquivo:"), this);
    nome_ = new QLineEdit(QStringLiteral("*") + Q(kExtensaoConfiguracao), this);
    nome_->setMaxLength(255);
    rotulo->setBuddy(nome_);
    l->addWidget(rotulo);
    l->addWidget(nome_);
    lista_ = new QListWidget(this);
    l->addWidget(lista_, 1);
    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    auto *gravar = new QPushButton(QStringLiteral("&Gravar"), this);
    gravar->setDefault(true);
    auto *cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cancelar->setAutoDefault(false);
    botoes->addWidget(gravar);
    botoes->addWidget(cancelar);
    l->addLayout(botoes);
    connect(gravar, &QPushButton::clicked, this, &TFSalvaSigConf::accept);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(lista_, &QListWidget::currentTextChanged, this, [this](const QString &t) {
        if (!t.isEmpty()) nome_->setText(t);
    });
    connect(lista_, &QListWidget::itemDoubleClicked, this, &TFSalvaSigConf::accept);
    Filtra(nome_->text());
    nome_->selectAll();
}

void TFSalvaSigConf::Filtra(const QString &mascara) {
    lista_->clear();
    QDir pasta(QString::fromStdString(pasta_.string()));
    lista_->addItems(pasta.entryList({mascara}, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

std::string TFSalvaSigConf::Nome() const {
    return nome_->text().trimmed().toStdString();
}

void TFSalvaSigConf::accept() {
    const QString nome = nome_->text().trimmed();
    // A mask lists the files that match it.
    if (nome.contains(QLatin1Char('*')) || nome.contains(QLatin1Char('?'))) {
        const QSignalBlocker bloqueio(lista_);
        Filtra(nome);
        return;
    }
    QDialog::accept();
}

std::string TFSalvaSigConf::PedeNome(QWidget *parent, const fs::path &pasta) {
    TFSalvaSigConf d(pasta, parent);
    if (d.exec() != QDialog::Accepted) return {};
    return d.Nome();
}

} // namespace zelto
