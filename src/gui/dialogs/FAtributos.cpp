#include "gui/dialogs/FAtributos.h"

#include "common/Datas.h"
#include "gui/dialogs/FConfirma.h"
#include "gui/dialogs/FTabEditor.h"
#include "worksheet/EdicaoTabela.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zelto {

namespace {

enum ComandoTab { CriarTabela, VerTabela, ModificarTabela, ApagarTabela };

QDate DataDeSerialQt(double serial) {
    DataCivil d = DataDeSerial(static_cast<long>(serial));
    QDate q(d.ano, d.mes, d.dia);
    return q.isValid() ? q : QDate::currentDate();
}

double SerialDeQDate(const QDate &d) {
    return static_cast<double>(SerialDeData(d.year(), d.month(), d.day()));
}

QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

} // namespace

TFAtributos::TFAtributos(const TGridzelto &g, int coluna, TTabelasVariaveis &tabelas,
                         QWidget *parent)
    : QDialog(parent), grid_(g), tabelas_(tabelas), a_(AtributosIniciais(g, coluna, tabelas)) {
    setWindowTitle(QStringLiteral("Características da variável"));
    PerguntaFormula = [this](const std::string &t) { return TFConfirma::Pergunta(this, t, false); };
    auto *l = new QVBoxLayout(this);
    auto *campos = new QFormLayout;
    nome_ = new QLineEdit(this);
    nome_->setMaxLength(255);
    descricao_ = new QLineEdit(this);
    descricao_->setMaxLength(255);
    campos->addRow(QStringLiteral("&Nome:"), nome_);
    campos->addRow(QStringLiteral("D&escrição:"), descricao_);
    l->addLayout(campos);

    paginas_ = new QTabWidget(this);
    // Every kind's tab whole: the dialog is as wide as the row of tabs needs.
    paginas_->setUsesScrollButtons(false);
    paginas_->setElideMode(Qt::ElideNone);
    paginas_->addTab(PaginaNumerica(), Q(TituloTipoVariavel(tvNumerica, grid_.Modo.Inferencial)));
    paginas_->addTab(PaginaTabela(TipoTabela::Qualitativa),
                     Q(TituloTipoVariavel(tvQualitativa, grid_.Modo.Inferencial)));
    paginas_->addTab(PaginaTabela(TipoTabela::Dicotomica),
                     Q(TituloTipoVariavel(tvDicotomica, grid_.Modo.Inferencial)));
    paginas_->addTab(PaginaCalculada(), Q(TituloTipoVariavel(tvCalculada, grid_.Modo.Inferencial)));
    paginas_->addTab(PaginaData(), Q(TituloTipoVariavel(tvData, grid_.Modo.Inferencial)));
    paginas_->addTab(PaginaComentario(), Q(TituloTipoVariavel(tvComentario, grid_.Modo.Inferencial)));
    l->addWidget(paginas_, 1);

    auto *baixo = new QHBoxLayout;
    auto *flags = new QVBoxLayout;
    usada_ = new QCheckBox(QStringLiteral("&Usar esta variável"), this);
    dependente_ = new QCheckBox(grid_.Modo.Inferencial ? QStringLiteral("Variável &dependente")
                                                : QStringLiteral("Variável a &avaliar"),
                                this);
    coeficiente_ = new QCheckBox(QStringLiteral("Coeficiente de &Homogeneização"), this);
    flags->addWidget(usada_);
    flags->addWidget(dependente_);
    flags->addWidget(coeficiente_);
    flags->addStretch();
    baixo->addLayout(flags, 1);
    auto *alinha = new QGroupBox(QStringLiteral("Alinhamento"), this);
    auto *la = new QVBoxLayout(alinha);
    esquerda_ = new QRadioButton(QStringLiteral("Esquerda"), alinha);
    centro_ = new QRadioButton(QStringLiteral("Centro"), alinha);
    direita_ = new QRadioButton(QStringLiteral("Direita"), alinha);
    la->addWidget(esquerda_);
    la->addWidget(centro_);
    la->addWidget(direita_);
    baixo->addWidget(alinha);
    l->addLayout(baixo);

    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    confirmar_ = new QPushButton(QStringLiteral("Confirmar"), this);
    auto *cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    confirmar_->setDefault(true);
    botoes->addWidget(confirmar_);
    botoes->addWidget(cancelar);
    l->addLayout(botoes);
    connect(confirmar_, &QPushButton::clicked, this, &TFAtributos::accept);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);

    // Initial values.
    nome_->setText(Q(a_.Nome));
    descricao_->setText(Q(a_.Descricao));
    casas_->setText(Q(a_.CasasDecimais));
    casasCalc_->setText(Q(a_.CasasDecimais));
    milhar_->setChecked(a_.PontosDeMilhar);
    milharCalc_->setChecked(a_.PontosDeMilhar);
    formula_->setText(Q(a_.Equacao));
    tipoData_[std::min<int>(a_.TipoData, 2)]->setChecked(true);
    dataRef_->setDate(DataDeSerialQt(a_.DataReferencia));
    CarregaTabelas(TipoTabela::Qualitativa, a_.Tipo == tvQualitativa ? a_.Tabela : std::string());
    CarregaTabelas(TipoTabela::Dicotomica, a_.Tipo == tvDicotomica ? a_.Tabela : std::string());
    int pagina = a_.Tipo <= tvComentario ? static_cast<int>(a_.Tipo) : 0;
    mostrando_ = true;
    paginas_->setCurrentIndex(pagina);
    mostrando_ = false;
    AplicaRegras(a_, grid_.Modo.Inferencial);
    Mostra();

    for (QCheckBox *c : {usada_, dependente_, coeficiente_, milhar_, milharCalc_})
        connect(c, &QCheckBox::toggled, this, &TFAtributos::Mudou);
    for (QRadioButton *r : {esquerda_, centro_, direita_, tipoData_[0], tipoData_[1], tipoData_[2]})
        connect(r, &QRadioButton::toggled, this, &TFAtributos::Mudou);
    for (QLineEdit *e : {nome_, descricao_, casas_, casasCalc_, formula_})
        connect(e, &QLineEdit::textEdited, this, &TFAtributos::Mudou);
    connect(dataRef_, &QDateEdit::dateChanged, this, &TFAtributos::Mudou);
    for (QListWidget *t : {tabelasQ_, tabelasD_})
        connect(t, &QListWidget::currentRowChanged, this, &TFAtributos::Mudou);
    connect(paginas_, &QTabWidget::currentChanged, this, [this](int i) {
        if (mostrando_) return;
        // A new kind takes its default alignment.
        a_.Alinhamento = AlinhamentoPadrao(static_cast<TipoVariavel>(i));
        mostrando_ = true;
        esquerda_->setChecked(a_.Alinhamento == alEsquerda);
        centro_->setChecked(a_.Alinhamento == alCentro);
        direita_->setChecked(a_.Alinhamento == alDireita);
        mostrando_ = false;
        Mudou();
    });
}

QListWidget *TFAtributos::ListaTabelas(TipoTabela t) const {
    return t == TipoTabela::Qualitativa ? tabelasQ_ : tabelasD_;
}

QWidget *TFAtributos::PaginaNumerica() {
    auto *p = new QWidget;
    auto *f = new QFormLayout(p);
    casas_ = new QLineEdit(p);
    casas_->setValidator(new QIntValidator(0, 18, casas_));
    casas_->setMaximumWidth(60);
    milhar_ = new QCheckBox(QStringLiteral("Usar pontos de &milhar"), p);
    f->addRow(QStringLiteral("Nº de decimais:"), casas_);
    f->addRow(QString(), milhar_);
    return p;
}

QWidget *TFAtributos::PaginaTabela(TipoTabela tipo) {
    auto *p = new QWidget;
    auto *l = new QHBoxLayout(p);
    auto *lista = new QListWidget(p);
    (tipo == TipoTabela::Qualitativa ? tabelasQ_ : tabelasD_) = lista;
    l->addWidget(lista, 1);
    auto *b = new QVBoxLayout;
    const char *rotulos[] = {"Criar nova tabela", "Ver tabela", "Modificar tabela",
                             "Apagar tabela"};
    for (int i = 0; i < 4; ++i) {
        auto *botao = new QPushButton(QString::fromUtf8(rotulos[i]), p);
        connect(botao, &QPushButton::clicked, this, [this, tipo, i] { ComandoTabela(tipo, i); });
        b->addWidget(botao);
    }
    b->addStretch();
    l->addLayout(b);
    connect(lista, &QListWidget::itemDoubleClicked, this,
            [this, tipo] { ComandoTabela(tipo, ModificarTabela); });
    return p;
}

QWidget *TFAtributos::PaginaCalculada() {
    auto *p = new QWidget;
    auto *l = new QVBoxLayout(p);
    auto *f = new QFormLayout;
    casasCalc_ = new QLineEdit(p);
    casasCalc_->setValidator(new QIntValidator(0, 18, casasCalc_));
    casasCalc_->setMaximumWidth(60);
    milharCalc_ = new QCheckBox(QStringLiteral("Usar pontos de &milhar"), p);
    f->addRow(QStringLiteral("Nº de decimais:"), casasCalc_);
    f->addRow(QString(), milharCalc_);
    formula_ = new QLineEdit(p);
    formula_->setMaxLength(255);
    f->addRow(QStringLiteral("&Fórmula:"), formula_);
    l->addLayout(f);
    auto *teclas = new QHBoxLayout;
    for (const char *t : {"+", "-", "×", "÷", "(", ")"}) {
        auto *b = new QPushButton(QString::fromUtf8(t), p);
        b->setMaximumWidth(32);
        QString texto = QString::fromUtf8(t);
        connect(b, &QPushButton::clicked, this, [this, texto] { InsereNaFormula(texto); });
        teclas->addWidget(b);
    }
    auto *pot = new QPushButton(QStringLiteral("^"), p);
    pot->setMaximumWidth(32);
    connect(pot, &QPushButton::clicked, this, &TFAtributos::AcrescentaPotencia);
    teclas->addWidget(pot);
    auto *limpa = new QPushButton(QStringLiteral("Limpar"), p);
    connect(limpa, &QPushButton::clicked, this, [this] {
        formula_->clear();
        Mudou();
    });
    teclas->addWidget(limpa);
    teclas->addStretch();
    l->addLayout(teclas);
    nomes_ = new QListWidget(p);
    for (const std::string &n : NomesParaFormula(grid_, grid_.Modo.Inferencial))
        nomes_->addItem(Q(n));
    auto *insere = new QPushButton(QStringLiteral("Inserir variável"), p);
    auto inserir = [this] {
        if (QListWidgetItem *i = nomes_->currentItem())
            InsereNaFormula(QLatin1Char('[') + i->text() + QLatin1Char(']'));
    };
    connect(insere, &QPushButton::clicked, this, inserir);
    connect(nomes_, &QListWidget::itemDoubleClicked, this, inserir);
    auto *ln = new QHBoxLayout;
    ln->addWidget(nomes_, 1);
    ln->addWidget(insere, 0, Qt::AlignTop);
    l->addLayout(ln, 1);
    return p;
}

QWidget *TFAtributos::PaginaData() {
    auto *p = new QWidget;
    auto *l = new QVBoxLayout(p);
    auto *grupo = new QGroupBox(QStringLiteral("Formato"), p);
    auto *lg = new QVBoxLayout(grupo);
    const char *rotulos[] = {"Dia / Mês / Ano", "Dia / Mês", "Mês / Ano"};
    for (int i = 0; i < 3; ++i) {
        tipoData_[i] = new QRadioButton(QString::fromUtf8(rotulos[i]), grupo);
        lg->addWidget(tipoData_[i]);
    }
    l->addWidget(grupo);
    auto *f = new QFormLayout;
    dataRef_ = new QDateEdit(p);
    dataRef_->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    dataRef_->setCalendarPopup(true);
    f->addRow(QStringLiteral("Data de referência:"), dataRef_);
    l->addLayout(f);
    l->addStretch();
    return p;
}

QWidget *TFAtributos::PaginaComentario() {
    auto *p = new QWidget;
    auto *l = new QVBoxLayout(p);
    auto *t = new QLabel(QStringLiteral("Texto livre: a coluna não participa da avaliação."), p);
    t->setWordWrap(true);
    l->addWidget(t);
    l->addStretch();
    return p;
}

void TFAtributos::CarregaTabelas(TipoTabela tipo, const std::string &selecionar) {
    QListWidget *lista = ListaTabelas(tipo);
    const bool antes = mostrando_;
    mostrando_ = true;
    lista->clear();
    for (const std::string &n : tabelas_.Nomes(tipo))
        lista->addItem(Q(n));
    auto achados = lista->findItems(Q(selecionar), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!selecionar.empty() && !achados.isEmpty()) lista->setCurrentItem(achados.first());
    mostrando_ = antes;
}

void TFAtributos::ComandoTabela(TipoTabela tipo, int comando) {
    QListWidget *lista = ListaTabelas(tipo);
    QListWidgetItem *item = lista->currentItem();
    if (comando != CriarTabela && !item) return;
    const std::string nome = item ? item->text().toStdString() : std::string();
    std::string selecionar = nome;
    if (comando == ApagarTabela) {
        auto pergunta = [this](const std::string &t) {
            return TFConfirma::Pergunta(this, t, false);
        };
        if (ApagaTabela(tabelas_, tipo, nome, pergunta) == ResultadoExclusao::Falhou)
            QMessageBox::warning(this, QStringLiteral("Zelto 32"),
                                 QStringLiteral("Não foi possível apagar a tabela."));
        selecionar.clear();
    } else {
        std::optional<std::string> aberta;
        if (comando != CriarTabela) aberta = nome;
        TFTabEditor editor(tabelas_, tipo, aberta, comando == VerTabela, this);
        if (editor.exec() == QDialog::Accepted && !editor.NomeGravado().empty())
            selecionar = editor.NomeGravado();
    }
    CarregaTabelas(tipo, selecionar);
    Mudou();
}

// ---- The dialog's state ---------------------------------------------------------

void TFAtributos::InsereNaFormula(const QString &texto) {
    formula_->insert(texto);
    formula_->setFocus();
    Mudou();
}

void TFAtributos::AcrescentaPotencia() {
    formula_->setText(formula_->text() + QLatin1Char('^'));
    formula_->setFocus();
    Mudou();
}

void TFAtributos::Coleta() {
    a_.Nome = nome_->text().toStdString();
    a_.Descricao = descricao_->text().toStdString();
    a_.Tipo = static_cast<TipoVariavel>(paginas_->currentIndex());
    a_.Usada = usada_->isChecked();
    a_.Dependente = dependente_->isChecked();
    a_.CoeficienteHomogeneizacao = coeficiente_->isChecked();
    a_.Alinhamento = esquerda_->isChecked() ? alEsquerda
                     : centro_->isChecked() ? alCentro
                                            : alDireita;
    const bool calc = a_.Tipo == tvCalculada;
    a_.CasasDecimais = (calc ? casasCalc_ : casas_)->text().toStdString();
    a_.PontosDeMilhar = (calc ? milharCalc_ : milhar_)->isChecked();
    a_.Equacao = formula_->text().toStdString();
    a_.TipoData = tipoData_[1]->isChecked()   ? tdDiaMes
                  : tipoData_[2]->isChecked() ? tdMesAno
                                              : tdDiaMesAno;
    a_.DataReferencia = SerialDeQDate(dataRef_->date());
    a_.Tabela.clear();
    if (a_.Tipo == tvQualitativa || a_.Tipo == tvDicotomica) {
        QListWidget *lista = ListaTabelas(a_.Tipo == tvQualitativa ? TipoTabela::Qualitativa
                                                                   : TipoTabela::Dicotomica);
        if (QListWidgetItem *i = lista->currentItem()) a_.Tabela = i->text().toStdString();
    }
}

void TFAtributos::Mostra() {
    mostrando_ = true;
    const TipoVariavel t = a_.Tipo;
    usada_->setChecked(a_.Usada);
    dependente_->setChecked(a_.Dependente);
    coeficiente_->setChecked(a_.CoeficienteHomogeneizacao);
    esquerda_->setChecked(a_.Alinhamento == alEsquerda);
    centro_->setChecked(a_.Alinhamento == alCentro);
    direita_->setChecked(a_.Alinhamento == alDireita);
    usada_->setVisible(t != tvComentario);
    dependente_->setVisible(t == tvNumerica || t == tvCalculada);
    coeficiente_->setVisible(!grid_.Modo.Inferencial && t != tvComentario);
    dependente_->setEnabled(a_.Usada);
    coeficiente_->setEnabled(a_.Usada && !a_.Dependente && a_.CoeficienteHabilitado);
    const bool precisaTabela = t == tvQualitativa || t == tvDicotomica;
    confirmar_->setEnabled(!precisaTabela || !a_.Tabela.empty());
    mostrando_ = false;
}

void TFAtributos::Mudou() {
    if (mostrando_) return;
    Coleta();
    AplicaRegras(a_, grid_.Modo.Inferencial);
    Mostra();
}

std::string TFAtributos::TextoFalhaFormula(const TGridzelto &g, const TFalhaFormula &f) {
    const std::string amostragem =
        f.Linha > 0 ? " na amostragem " + g.Celula(0, f.Linha) : std::string();
    std::string texto;
    const std::string &nome = f.NomeDesconhecido;
    if (!nome.empty() && nome.front() == '[')
        texto = "A fórmula usa a variável " + nome + ", que não existe na planilha.";
    else if (!nome.empty())
        texto = "A fórmula usa o nome \"" + nome +
                "\", que não é variável da planilha, função nem constante.\r\n"
                "Os nomes das variáveis vão entre colchetes: [" +
                nome + "].";
    else
        switch (f.Codigo) {
        case ERR_PARENTESE_ERRADO:
            texto = "Os parênteses da fórmula não se fecham corretamente.";
            break;
        case ERRO_EXPRESSAO_VAZIA:
            texto = "A fórmula está vazia.";
            break;
        case ERRO_DUPLO_DECIMAL:
            texto = "Um número da fórmula tem duas vírgulas decimais.";
            break;
        case ERRO_DIVISAO_POR_ZERO:
            texto = "A fórmula divide por zero" + amostragem + ".";
            break;
        case ERRO_OVERFLOW:
            texto = "O resultado da fórmula é grande demais" + amostragem + ".";
            break;
        case ERRO_OP_INVALIDO:
            texto = "A fórmula faz uma operação inválida" + amostragem +
                    " (raiz ou logaritmo de número negativo, por exemplo).";
            break;
        default:
            texto = "A fórmula tem um erro de sintaxe.";
            break;
        }
    return texto + "\r\n\r\nAs células com erro mostram \"???\" e a variável fica fora dos "
                   "modelos pesquisados.\r\nDeseja confirmar a variável assim mesmo?";
}

void TFAtributos::accept() {
    Coleta();
    AplicaRegras(a_, grid_.Modo.Inferencial);
    if ((a_.Tipo == tvQualitativa || a_.Tipo == tvDicotomica) && a_.Tabela.empty()) return;
    if (a_.Tipo == tvCalculada) {
        const TFalhaFormula f = VerificaFormula(grid_, a_.Equacao);
        if (f.Codigo != SEM_ERRO && PerguntaFormula &&
            PerguntaFormula(TextoFalhaFormula(grid_, f)) != Resposta::Sim) {
            paginas_->setCurrentIndex(tvCalculada);
            formula_->setFocus();
            return;
        }
    }
    QDialog::accept();
}

} // namespace zelto
