#include "gui/reportconfig/FConfiguraRelatorio.h"

#include "evaluation/ArquivoItens.h"
#include "gui/dialogs/FProgressao.h"
#include "gui/reportconfig/ComponentesConfig.h"
#include "gui/reportconfig/DLGCNFGrafico.h"
#include "gui/reportconfig/EditorCabecalho.h"
#include "gui/reportconfig/FCNFTexto.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace zelto {

namespace {

int primeiraPagina = 1;

QString EscolhePorDialogo(QWidget *pai, bool gravar) {
    const QString filtro = QStringLiteral("Arquivos configuração (*.CNF);;Todos os arquivos (*.*)");
    QFileDialog d(pai, gravar ? QStringLiteral("Gravar Configuração de Relatórios")
                              : QStringLiteral("Ler Configuração de Relatórios"));
    d.setNameFilter(filtro);
    d.setDefaultSuffix(QStringLiteral("CNF"));
    d.setAcceptMode(gravar ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d.setFileMode(gravar ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return {};
    return d.selectedFiles().first();
}

bool EhGrafico(TTipoItem t) { return t == tiGrafico || t == tiSeries; }

// Where a header's or footer's line stands across the page, as the report writes it.
Qt::Alignment AlinhamentoLinha(std::uint8_t a) {
    return a == acEsquerda ? Qt::AlignLeft : a == acCentro ? Qt::AlignHCenter : Qt::AlignRight;
}

// The page in miniature: paper, margins, the header and footer lines and sample contents.
class TMiniatura : public QWidget {
  public:
    TMiniatura(std::function<TConfiguracaoRelatorio()> cfg, QWidget *pai)
        : QWidget(pai), cfg_(std::move(cfg)) {
        setObjectName(QStringLiteral("Miniatura"));
        setMinimumSize(170, 220);
    }

  protected:
    void paintEvent(QPaintEvent *) override {
        const TConfiguracaoRelatorio c = cfg_();
        QPainter p(this);
        const double escala = std::min((width() - 16) / c.LarguraPagina, (height() - 16) / c.AlturaPagina);
        const QRectF folha((width() - c.LarguraPagina * escala) / 2, (height() - c.AlturaPagina * escala) / 2,
                           c.LarguraPagina * escala, c.AlturaPagina * escala);
        p.fillRect(folha.translated(3, 3), Qt::darkGray);
        p.fillRect(folha, Qt::white);
        p.setPen(Qt::black);
        p.drawRect(folha);
        const QRectF area = folha.adjusted(c.MargemEsquerda * escala, c.MargemSuperior * escala,
                                           -c.MargemDireita * escala, -c.MargemInferior * escala);
        p.setPen(QPen(Qt::blue, 0, Qt::DotLine));
        p.drawRect(area);
        QFont f = font();
        f.setPixelSize(std::max(6, static_cast<int>(area.height() / 22)));
        p.setFont(f);
        p.setPen(Qt::black);
        const double linha = f.pixelSize() * 1.4;
        double y = area.top();
        if (!c.Cabecalho.Texto.isEmpty()) {
            p.drawText(QRectF(area.left(), y, area.width(), linha), AlinhamentoLinha(c.Cabecalho.Alinhamento),
                       c.Cabecalho.Texto.section(QLatin1Char('\n'), 0, 0));
            y += linha * 1.5;
        }
        p.drawText(QRectF(area.left(), y, area.width(), linha), Qt::AlignLeft, QStringLiteral("Tabela de dados"));
        y += linha;
        for (int i = 0; i < 5 && y + linha < area.bottom(); ++i, y += linha * 0.8)
            for (int k = 0; k < 4; ++k)
                p.drawRect(QRectF(area.left() + k * area.width() / 4, y, area.width() / 4, linha * 0.8));
        y += linha;
        p.drawText(QRectF(area.left(), y, area.width(), linha), Qt::AlignLeft, QStringLiteral("Gráfico para análise"));
        y += linha;
        const QRectF grafico(area.left() + area.width() * 0.1, y, area.width() * 0.8,
                             std::max(0.0, std::min(area.width() * 0.6, area.bottom() - y - 2 * linha)));
        p.fillRect(grafico, QColor(192, 192, 192));
        p.drawRect(grafico);
        if (!c.Rodape.Texto.isEmpty())
            p.drawText(QRectF(area.left(), area.bottom() - linha, area.width(), linha),
                       AlinhamentoLinha(c.Rodape.Alinhamento), c.Rodape.Texto.section(QLatin1Char('\n'), 0, 0));
    }

  private:
    std::function<TConfiguracaoRelatorio()> cfg_;
};

QSpinBox *Numero(QWidget *pai, int minimo, int maximo, int valor, const char *nome) {
    auto *s = new QSpinBox(pai);
    s->setRange(minimo, maximo);
    s->setValue(valor);
    s->setObjectName(QString::fromLatin1(nome));
    return s;
}

QCheckBox *Opcao(QWidget *pai, const char *texto, const char *nome) {
    auto *c = new QCheckBox(QString::fromUtf8(texto), pai);
    c->setObjectName(QString::fromLatin1(nome));
    return c;
}

} // namespace

std::function<QString(QWidget *, bool)> EscolheArquivoConfiguracao = EscolhePorDialogo;

int PrimeiraPaginaRelatorio() { return primeiraPagina; }
void DefinePrimeiraPaginaRelatorio(int n) { primeiraPagina = std::max(1, n); }

QString TextoPontoClicado(QPointF ponto) {
    const QLocale br(QLocale::Portuguese, QLocale::Brazil);
    return QStringLiteral("  -  ponto clicado: X = ") + br.toString(ponto.x(), 'g', 6) +
           QStringLiteral("   Y = ") + br.toString(ponto.y(), 'g', 6);
}

bool AbreDialogoItem(QWidget *pai, TListaItens &itens, int indice, bool todos, bool inferencial,
                     const std::optional<QPointF> &ponto) {
    if (indice < 0 || indice >= static_cast<int>(itens.size())) return false;
    const TTipoItem tipo = itens[static_cast<std::size_t>(indice)]->Tipo;
    if (EhGrafico(tipo)) {
        TDLGCNFGrafico d(itens, indice, todos, pai);
        d.DefineModo(inferencial);
        if (ponto) d.setWindowTitle(d.windowTitle() + TextoPontoClicado(*ponto));
        return d.exec() == QDialog::Accepted;
    }
    if (tipo == tiTabela && dynamic_cast<TItemAvaliacaoTab *>(itens[static_cast<std::size_t>(indice)].get())) {
        TFCNFTabela d(itens, indice, todos, pai);
        d.DefineModo(inferencial);
        return d.exec() == QDialog::Accepted;
    }
    TFCNFTexto d(itens, indice, todos, pai);
    d.DefineModo(inferencial);
    return d.exec() == QDialog::Accepted;
}

TFConfiguraRelatorio::TFConfiguraRelatorio(TListaItens &itens, const TConfiguracaoRelatorio &cfg, bool inferencial,
                                           int itemInicial, QWidget *pai)
    : QDialog(pai), itens_(itens), cfg_(cfg), original_(cfg), inferencial_(inferencial) {
    setWindowTitle(QStringLiteral("Configurar Relatório"));
    for (const auto &item : itens_) {
        item->GravaConfiguracao(instantaneo_);
        const auto *g = dynamic_cast<const TItemAvaliacaoGraf *>(item.get());
        eixos_.push_back(g ? std::optional(g->Eixos) : std::nullopt);
    }
    textoInicial_ = TextoConfiguracaoItens(itens_);

    auto *l = new QVBoxLayout(this);
    auto *abas = new QTabWidget(this);
    abas->setObjectName(QStringLiteral("Abas"));
    abas->addTab(MontaPagina(), QStringLiteral("Página"));
    abas->addTab(MontaItens(), QStringLiteral("Itens do Relatório"));
    abas->addTab(MontaGeral(), QStringLiteral("Geral"));
    l->addWidget(abas);

    auto *b = new QDialogButtonBox(this);
    QPushButton *grava = b->addButton(QStringLiteral("&Gravar configuração..."), QDialogButtonBox::ActionRole);
    QPushButton *le = b->addButton(QStringLiteral("&Ler configuração..."), QDialogButtonBox::ActionRole);
    QPushButton *confirma = b->addButton(QStringLiteral("Confirma"), QDialogButtonBox::AcceptRole);
    QPushButton *cancela = b->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    grava->setObjectName(QStringLiteral("Gravar"));
    le->setObjectName(QStringLiteral("Ler"));
    confirma->setObjectName(QStringLiteral("Confirma"));
    cancela->setObjectName(QStringLiteral("Cancelar"));
    confirma->setDefault(true);
    connect(grava, &QPushButton::clicked, this, [this] { GravaConfiguracao(); });
    connect(le, &QPushButton::clicked, this, [this] { LeConfiguracao(); });
    connect(b, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(b, &QDialogButtonBox::rejected, this, &TFConfiguraRelatorio::reject);
    l->addWidget(b);

    Mostra(cfg_);
    MostraItens();
    if (itemInicial >= 0) {
        abas->setCurrentIndex(1);
        for (int i = 0; i < lista_->count(); ++i)
            if (lista_->item(i)->data(Qt::UserRole).toInt() == itemInicial) lista_->setCurrentRow(i);
    }
}

QWidget *TFConfiguraRelatorio::MontaPagina() {
    auto *w = new QWidget(this);
    auto *g = new QGridLayout(w);
    cabecalho_ = new TEditorCabecalho(QStringLiteral("Cabeçalho"), cfg_.Cabecalho, w);
    cabecalho_->setObjectName(QStringLiteral("Cabecalho"));
    rodape_ = new TEditorCabecalho(QStringLiteral("Rodapé"), cfg_.Rodape, w);
    rodape_->setObjectName(QStringLiteral("Rodape"));
    g->addWidget(cabecalho_, 0, 0, 1, 2);
    g->addWidget(rodape_, 1, 0, 1, 2);

    auto *margens = new QGroupBox(QStringLiteral("Margens (mm)"), w);
    auto *fm = new QFormLayout(margens);
    const char *rotulos[4] = {"Superior", "Inferior", "Esquerda", "Direita"};
    for (int i = 0; i < 4; ++i) {
        margens_[i] = Numero(margens, 0, 150, 0, rotulos[i]);
        fm->addRow(QString::fromUtf8(rotulos[i]), margens_[i]);
    }
    g->addWidget(margens, 2, 0);

    auto *papel = new QGroupBox(QStringLiteral("Papel"), w);
    auto *fp = new QFormLayout(papel);
    retrato_ = new QRadioButton(QStringLiteral("Retrato"), papel);
    paisagem_ = new QRadioButton(QStringLiteral("Paisagem"), papel);
    retrato_->setObjectName(QStringLiteral("Retrato"));
    paisagem_->setObjectName(QStringLiteral("Paisagem"));
    auto *orientacao = new QHBoxLayout;
    orientacao->addWidget(retrato_);
    orientacao->addWidget(paisagem_);
    fp->addRow(orientacao);
    primeira_ = Numero(papel, 1, 9999, primeiraPagina, "PrimeiraPagina");
    copias_ = Numero(papel, 1, 999, 1, "Copias");
    fp->addRow(QStringLiteral("Nº da 1ª página :"), primeira_);
    fp->addRow(QStringLiteral("Nº de cópias :"), copias_);
    auto *impressora = new QPushButton(QStringLiteral("Impressora"), papel);
    impressora->setObjectName(QStringLiteral("Impressora"));
    papel_ = new QLabel(papel);
    papel_->setObjectName(QStringLiteral("Papel"));
    fp->addRow(impressora, papel_);
    g->addWidget(papel, 2, 1);

    miniatura_ = new TMiniatura([this] { return Configuracao(); }, w);
    g->addWidget(miniatura_, 0, 2, 3, 1);

    auto redesenha = [this] { miniatura_->update(); };
    for (QSpinBox *s : margens_) connect(s, &QSpinBox::valueChanged, this, redesenha);
    connect(cabecalho_, &TEditorCabecalho::Mudou, this, redesenha);
    connect(rodape_, &TEditorCabecalho::Mudou, this, redesenha);
    connect(paisagem_, &QRadioButton::toggled, this, [this] {
        MostraPapel();
        miniatura_->update();
    });
    connect(impressora, &QPushButton::clicked, this, [this] {
        QPrinter p;
        p.setPageOrientation(paisagem_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
        QPrintDialog d(&p, this);
        if (d.exec() != QDialog::Accepted) return;
        const QSizeF mm = p.pageLayout().pageSize().size(QPageSize::Millimeter);
        cfg_.LarguraPagina = std::round(std::min(mm.width(), mm.height()));
        cfg_.AlturaPagina = std::round(std::max(mm.width(), mm.height()));
        paisagem_->setChecked(p.pageLayout().orientation() == QPageLayout::Landscape);
        MostraPapel();
        miniatura_->update();
    });
    return w;
}

QWidget *TFConfiguraRelatorio::MontaItens() {
    auto *w = new QWidget(this);
    auto *g = new QGridLayout(w);
    lista_ = new QListWidget(w);
    lista_->setObjectName(QStringLiteral("Itens"));
    g->addWidget(lista_, 0, 0, 8, 1);
    auto botao = [&](const char *texto, const char *nome, int linha, auto acao) {
        auto *b = new QPushButton(QString::fromUtf8(texto), w);
        b->setObjectName(QString::fromLatin1(nome));
        connect(b, &QPushButton::clicked, this, acao);
        g->addWidget(b, linha, 1);
    };
    botao("Marcar todos", "MarcarTodos", 0, [this] {
        for (int i = 0; i < lista_->count(); ++i) Marca(lista_->item(i), true);
    });
    botao("Desmarcar todos", "DesmarcarTodos", 1, [this] {
        for (int i = 0; i < lista_->count(); ++i) Marca(lista_->item(i), false);
    });
    botao("&Configurar item...", "ConfigurarItem", 2, [this] { ConfiguraAtual(); });
    botao("Todos os textos", "TodosTextos", 3, [this] { ConfiguraTodos(tiTexto); });
    botao("Todas as tabelas", "TodasTabelas", 4, [this] { ConfiguraTodos(tiTabela); });
    botao("Todos os gráficos", "TodosGraficos", 5, [this] { ConfiguraTodos(tiGrafico); });
    auto *contagem = new QGroupBox(QStringLiteral("Selecionados"), w);
    auto *lc = new QVBoxLayout(contagem);
    for (int i = 0; i < 4; ++i) {
        contagem_[i] = new QLabel(contagem);
        contagem_[i]->setObjectName(QStringLiteral("Contagem%1").arg(i));
        lc->addWidget(contagem_[i]);
    }
    g->addWidget(contagem, 6, 1);
    g->setRowStretch(7, 1);

    // The check mark follows the item; double click toggles it (space does by itself).
    connect(lista_, &QListWidget::itemChanged, this, [this](QListWidgetItem *w) {
        const int i = w->data(Qt::UserRole).toInt();
        itens_[static_cast<std::size_t>(i)]->Incluido = w->checkState() == Qt::Checked;
        MostraContagem();
    });
    connect(lista_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *w) { Marca(w, w->checkState() != Qt::Checked); });
    return w;
}

QWidget *TFConfiguraRelatorio::MontaGeral() {
    auto *w = new QWidget(this);
    auto *l = new QVBoxLayout(w);
    auto *numero = new QGroupBox(QStringLiteral("Formato numérico"), w);
    auto *fn = new QFormLayout(numero);
    digitos_ = Numero(numero, 1, 30, 7, "Digitos");
    decimais_ = Numero(numero, 0, 20, 3, "Decimais");
    fn->addRow(QStringLiteral("Nº máximo de digitos"), digitos_);
    fn->addRow(QStringLiteral("Casas decimais"), decimais_);
    completar_ = Opcao(numero, "Completar casas decimais com zeros", "Completar");
    naoLimitar_ = Opcao(numero, "Não limitar número de decimais", "NaoLimitar");
    naoCientifica_ = Opcao(numero, "Não converter para notação científica", "NaoCientifica");
    fn->addRow(completar_);
    fn->addRow(naoLimitar_);
    fn->addRow(naoCientifica_);
    l->addWidget(numero);

    auto *usuario = new QGroupBox(QStringLiteral("Informações do usuário"), w);
    auto *lu = new QVBoxLayout(usuario);
    auto *rotulo = new QLabel(QStringLiteral("&Resumo técnico"), usuario);
    resumo_ = new QPlainTextEdit(usuario);
    resumo_->setObjectName(QStringLiteral("Resumo"));
    rotulo->setBuddy(resumo_);
    lu->addWidget(rotulo);
    lu->addWidget(resumo_);
    data_ = Opcao(usuario, "Incluir data de &impressão", "Data");
    nomeArquivo_ = Opcao(usuario, "Incluir &nome do Arquivo", "NomeArquivo");
    lu->addWidget(data_);
    lu->addWidget(nomeArquivo_);
    l->addWidget(usuario);

    auto *naoUsados = new QGroupBox(QStringLiteral("Dados não usados"), w);
    auto *ln = new QVBoxLayout(naoUsados);
    variaveis_ = Opcao(naoUsados, "Apresentar &variáveis não usadas", "Variaveis");
    amostragens_ = Opcao(naoUsados, "Apresentar &amostragens não usadas", "Amostragens");
    variaveis_->setToolTip(QStringLiteral(
        "Inclui no relatório informações das variáveis\r\nque não estiverem sendo usadas no modelo."));
    amostragens_->setToolTip(QStringLiteral(
        "Inclui no relatório informações das amostragens\r\nque não estiverem sendo usadas no modelo."));
    ln->addWidget(variaveis_);
    ln->addWidget(amostragens_);
    l->addWidget(naoUsados);

    // The valuer's declarations of the grading under the valuation standard.
    auto *enquadramento = new QGroupBox(QStringLiteral("Enquadramento"), w);
    auto *fe = new QFormLayout(enquadramento);
    auto Grau = [&](const char *nome) {
        auto *c = new QComboBox(enquadramento);
        c->setObjectName(QString::fromLatin1(nome));
        c->addItems({QStringLiteral("Não declarado"), QStringLiteral("III"), QStringLiteral("II"),
                     QStringLiteral("I")});
        return c;
    };
    caracterizacao_ = Grau("Caracterizacao");
    identificacao_ = Grau("Identificacao");
    caracterizacao_->setToolTip(QStringLiteral(
        "III: completa quanto a todas as variáveis analisadas;\r\nII: completa quanto às variáveis "
        "utilizadas no modelo;\r\nI: adoção de situação paradigma."));
    identificacao_->setToolTip(QStringLiteral(
        "III: apresentação de informações relativas a todos os dados e variáveis analisados,\r\ncom "
        "foto e características observadas pelo autor do laudo;\r\nII e I: dos dados e variáveis "
        "efetivamente utilizados no modelo."));
    fe->addRow(QStringLiteral("Caracterização do imóvel avaliando"), caracterizacao_);
    fe->addRow(QStringLiteral("Identificação dos dados de mercado"), identificacao_);
    l->addWidget(enquadramento);
    return w;
}

namespace {

// Combo index 0 is "Não declarado", then III, II, I.
int IndiceGrau(const std::optional<std::uint8_t> &g) { return g ? 4 - std::clamp<int>(*g, 1, 3) : 0; }
std::optional<std::uint8_t> GrauDoIndice(int i) {
    if (i < 1 || i > 3) return std::nullopt;
    return static_cast<std::uint8_t>(4 - i);
}

} // namespace

void TFConfiguraRelatorio::Mostra(const TConfiguracaoRelatorio &c) {
    cfg_ = c;
    cabecalho_->DefineValor(c.Cabecalho);
    rodape_->DefineValor(c.Rodape);
    const int margens[4] = {c.MargemSuperior, c.MargemInferior, c.MargemEsquerda, c.MargemDireita};
    for (int i = 0; i < 4; ++i) margens_[i]->setValue(margens[i]);
    (c.LarguraPagina > c.AlturaPagina ? paisagem_ : retrato_)->setChecked(true);
    copias_->setValue(c.Copias);
    digitos_->setValue(c.Numero.Digitos);
    decimais_->setValue(c.Numero.Decimais);
    completar_->setChecked(c.Numero.CompletarZeros);
    naoLimitar_->setChecked(c.Numero.NaoLimitarDecimais);
    naoCientifica_->setChecked(c.Numero.NaoConverterCientifica);
    data_->setChecked(c.IncluirData);
    nomeArquivo_->setChecked(c.IncluirNomeArquivo);
    variaveis_->setChecked(c.VariaveisNaoUsadas);
    amostragens_->setChecked(c.AmostragensNaoUsadas);
    caracterizacao_->setCurrentIndex(IndiceGrau(c.Caracterizacao));
    identificacao_->setCurrentIndex(IndiceGrau(c.Identificacao));
    QStringList resumo;
    for (const std::string &s : c.ResumoTecnico) resumo << QString::fromStdString(s);
    resumo_->setPlainText(resumo.join(QLatin1Char('\n')));
    MostraPapel();
    miniatura_->update();
}

void TFConfiguraRelatorio::MostraPapel() {
    const double menor = std::min(cfg_.LarguraPagina, cfg_.AlturaPagina);
    const double maior = std::max(cfg_.LarguraPagina, cfg_.AlturaPagina);
    const bool paisagem = paisagem_->isChecked();
    papel_->setText(QStringLiteral("Papel: ") + QString::number(std::lround(paisagem ? maior : menor)) +
                    QStringLiteral(" x ") + QString::number(std::lround(paisagem ? menor : maior)) +
                    QStringLiteral(" mm"));
}

TConfiguracaoRelatorio TFConfiguraRelatorio::Configuracao() const {
    TConfiguracaoRelatorio c = cfg_;
    c.Cabecalho = cabecalho_->Valor();
    c.Rodape = rodape_->Valor();
    c.MargemSuperior = static_cast<std::uint16_t>(margens_[0]->value());
    c.MargemInferior = static_cast<std::uint16_t>(margens_[1]->value());
    c.MargemEsquerda = static_cast<std::uint16_t>(margens_[2]->value());
    c.MargemDireita = static_cast<std::uint16_t>(margens_[3]->value());
    const double menor = std::min(cfg_.LarguraPagina, cfg_.AlturaPagina);
    const double maior = std::max(cfg_.LarguraPagina, cfg_.AlturaPagina);
    c.LarguraPagina = paisagem_->isChecked() ? maior : menor;
    c.AlturaPagina = paisagem_->isChecked() ? menor : maior;
    c.Copias = static_cast<std::uint16_t>(copias_->value());
    c.Numero.Digitos = digitos_->value();
    c.Numero.Decimais = decimais_->value();
    c.Numero.CompletarZeros = completar_->isChecked();
    c.Numero.NaoLimitarDecimais = naoLimitar_->isChecked();
    c.Numero.NaoConverterCientifica = naoCientifica_->isChecked();
    c.IncluirData = data_->isChecked();
    c.IncluirNomeArquivo = nomeArquivo_->isChecked();
    c.VariaveisNaoUsadas = variaveis_->isChecked();
    c.AmostragensNaoUsadas = amostragens_->isChecked();
    c.Caracterizacao = GrauDoIndice(caracterizacao_->currentIndex());
    c.Identificacao = GrauDoIndice(identificacao_->currentIndex());
    c.ResumoTecnico.clear();
    const QString resumo = resumo_->toPlainText();
    if (!resumo.isEmpty())
        for (const QString &s : resumo.split(QLatin1Char('\n'))) c.ResumoTecnico.push_back(s.toStdString());
    return c;
}

void TFConfiguraRelatorio::MostraItens() {
    const int atual = lista_->currentRow();
    const QSignalBlocker bloqueio(lista_);
    lista_->clear();
    for (std::size_t i = 0; i < itens_.size(); ++i) {
        const TItemAvaliacao &item = *itens_[i];
        if (!inferencial_ && !item.OferecidoDescritivo) continue;
        auto *w = new QListWidgetItem(QString::fromStdString(item.TituloModo(inferencial_)), lista_);
        w->setData(Qt::UserRole, static_cast<int>(i));
        w->setFlags(w->flags() | Qt::ItemIsUserCheckable);
        w->setCheckState(item.Incluido ? Qt::Checked : Qt::Unchecked);
    }
    lista_->setCurrentRow(std::clamp(atual, 0, lista_->count() - 1));
    MostraContagem();
}

void TFConfiguraRelatorio::Marca(QListWidgetItem *w, bool incluido) {
    w->setCheckState(incluido ? Qt::Checked : Qt::Unchecked);
}

TFConfiguraRelatorio::TContagem TFConfiguraRelatorio::Contagem() const {
    TContagem c;
    for (int i = 0; i < lista_->count(); ++i) {
        const TItemAvaliacao &item = *itens_[static_cast<std::size_t>(lista_->item(i)->data(Qt::UserRole).toInt())];
        if (!item.Incluido) continue;
        ++c.Total;
        if (EhGrafico(item.Tipo)) ++c.Graficos;
        else if (item.Tipo == tiTabela) ++c.Tabelas;
        else ++c.Outros;
    }
    return c;
}

void TFConfiguraRelatorio::MostraContagem() {
    const TContagem c = Contagem();
    contagem_[0]->setText(QStringLiteral("Total      : ") + QString::number(c.Total));
    contagem_[1]->setText(QStringLiteral("Gráficos : ") + QString::number(c.Graficos));
    contagem_[2]->setText(QStringLiteral("Tabelas  : ") + QString::number(c.Tabelas));
    contagem_[3]->setText(QStringLiteral("Outros : ") + QString::number(c.Outros));
}

bool TFConfiguraRelatorio::ConfiguraAtual() {
    QListWidgetItem *w = lista_->currentItem();
    if (!w) return false;
    return AbreDialogoItem(this, itens_, w->data(Qt::UserRole).toInt(), false, inferencial_);
}

bool TFConfiguraRelatorio::ConfiguraTodos(TTipoItem tipo) {
    for (int i = 0; i < lista_->count(); ++i) {
        const int indice = lista_->item(i)->data(Qt::UserRole).toInt();
        const TTipoItem t = itens_[static_cast<std::size_t>(indice)]->Tipo;
        if (t == tipo || (EhGrafico(tipo) && EhGrafico(t))) return AbreDialogoItem(this, itens_, indice, true, inferencial_);
    }
    return false;
}

bool TFConfiguraRelatorio::ItensMudaram() const { return TextoConfiguracaoItens(itens_) != textoInicial_; }

bool TFConfiguraRelatorio::GravaConfiguracao() {
    const QString nome = EscolheArquivoConfiguracao(this, true);
    if (nome.isEmpty()) return false;
    arquivoMexido_ = true;
    const TConfiguracaoRelatorio c = Configuracao();
    if (!GravaConfiguracaoNomeada(ArquivoRelatorioUsuario(), nome.toStdString(), c, itens_)) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("Não foi possível gravar ") + nome);
        return false;
    }
    return true;
}

bool TFConfiguraRelatorio::LeConfiguracao() {
    const QString nome = EscolheArquivoConfiguracao(this, false);
    if (nome.isEmpty()) return false;
    arquivoMexido_ = true;
    TConfiguracaoRelatorio c = Configuracao();
    // The items read their settings one by one: a long read shows its progress.
    bool ok = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        ExecutaComProgresso(this, [&](TProgresso &p) {
            ok = LeConfiguracaoNomeada(nome.toStdString(), ArquivoRelatorioUsuario(), c, itens_, &p,
                                       kLendoConfiguracao);
        });
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    // The page size comes from the printer, not from the file.
    c.LarguraPagina = cfg_.LarguraPagina;
    c.AlturaPagina = cfg_.AlturaPagina;
    Mostra(c);
    MostraItens();
    if (!ok)
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("O arquivo ") + nome +
                                 QStringLiteral(" não pôde ser lido por inteiro; o que faltou ficou com os valores padrão."));
    return ok;
}

void TFConfiguraRelatorio::reject() {
    // Everything back as it was at opening, the working file too when it was written.
    for (std::size_t i = 0; i < itens_.size(); ++i) {
        itens_[i]->LeConfiguracao(instantaneo_);
        // Reading turns a manual mode into automatic and keeps the ranges of now: the axes
        // go back as they were.
        if (auto *g = dynamic_cast<TItemAvaliacaoGraf *>(itens_[i].get()); g && eixos_[i]) g->Eixos = *eixos_[i];
    }
    if (arquivoMexido_) GravaArquivoRelatorio(&original_, itens_);
    QDialog::reject();
}

} // namespace zelto

// The meta-object code compiled with this unit.
#include "moc_FConfiguraRelatorio.cpp"
