// The main window: construction and wiring of its command classes, actions, menus, tool
// buttons, status line, settings, refresh and context menus. The worksheet's editing commands
// are in FZeltoComandos.cpp.
#include "gui/mainwindow/FZelto.h"

#include "common/Texto.h"
#include "gui/dialogs/FConfirma.h"
#include "gui/mainwindow/TextosEstado.h"
#include "gui/reportpage/DocumentoRelatorio.h"
#include "gui/reportpage/PaginaRelatorio.h"
#include "gui/worksheet/ModeloPlanilha.h"
#include "view/ZoomRelatorio.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace zelto {

namespace {

QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

// A tool button picture drawn from a short text.
QIcon IconeTexto(const QString &texto, QColor cor = QColor(30, 60, 110)) {
    QPixmap p(24, 24);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QFont f = QApplication::font();
    f.setBold(true);
    f.setPixelSize(texto.size() > 2 ? 9 : 13);
    g.setFont(f);
    g.setPen(cor);
    g.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, texto);
    return QIcon(p);
}

// Copy (two sheets) and paste (a sheet on a clipboard) drawn with lines.
QIcon IconeFolhas(bool prancheta) {
    QPixmap p(24, 24);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(30, 60, 110), 1.5));
    if (prancheta) {
        g.setBrush(QColor(210, 180, 120));
        g.drawRoundedRect(QRectF(4, 4, 13, 16), 1.5, 1.5);
        g.setBrush(QColor(120, 120, 120));
        g.drawRect(QRectF(8, 2.5, 5, 3));
        g.setBrush(Qt::white);
        g.drawRect(QRectF(10, 9, 10, 12));
    } else {
        g.setBrush(Qt::white);
        g.drawRect(QRectF(4, 3, 10, 13));
        g.drawRect(QRectF(9, 8, 10, 13));
    }
    return QIcon(p);
}

} // namespace

TFZELTO::TFZELTO(TArquivoIni &ini, TTabelasVariaveis &tabelas, QWidget *parent)
    : QMainWindow(parent), ini_(ini), tabelas_(tabelas) {
    setWindowTitle(QStringLiteral("Zelto 32"));
    setObjectName(QStringLiteral("TFZELTO"));

    // What the user answers, unless a test answers instead.
    Confirma = [this](const std::string &t) { return TFConfirma::Pergunta(this, t, true); };
    ConfirmaSimNao = [this](const std::string &t) { return TFConfirma::Pergunta(this, t, false); };
    Informa = [this](const std::string &t) {
        QMessageBox::information(this, QStringLiteral("Zelto 32"),
                                 Q(t).replace(QLatin1String("\r\n"), QLatin1String("\n"))
                                     .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    };
    Avisa = [this](const std::string &t) {
        QMessageBox::warning(this, QStringLiteral("Zelto 32"),
                             Q(t).replace(QLatin1String("\r\n"), QLatin1String("\n"))
                                 .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    };
    // The model commands ask the report commands.
    modelos_.Declaracoes = [this] { return relatorio_->Documento().Declaracoes(); };
    modelos_.ConstroiRelatorio = [this] { return relatorio_->ConstroiRelatorio(); };
    modelos_.RelatorioAtual = [this] { return relatorio_->Atual(); };
    modelos_.ObjetoMudou = [this] { relatorio_->MarcaDesatualizado(); };
    modelos_.SignificanciasMudaram = [this] {
        if (!relatorio_->Pagina()) return;
        relatorio_->Pagina()->ItemMudou(0);
        AtualizaComandosRelatorio();
    };
    modelos_.ImprimeItens = [this](const std::vector<std::string> &classes) {
        return relatorio_->ImprimeItens(classes);
    };
    modelos_.BloqueiaEntrada = [this](bool b) { BloqueiaEntrada(b); };

    // The worksheet page.
    modelo_ = new TModeloPlanilha(grid_, this);
    modelo_->AntesDeAlterar = [this](const std::string &d) { Registra(d); };
    grade_ = new TGradePlanilha(*modelo_, this);
    grade_->setObjectName(QStringLiteral("GridAmostra"));
    paginas_ = new QTabWidget(this);
    paginas_->setTabPosition(QTabWidget::South);
    paginas_->addTab(grade_, Q(TextoAbaPlanilha(doc_.Arquivo())));
    setCentralWidget(paginas_);
    TServicosJanela &servicos = *this;
    relatorio_ = std::make_unique<TComandosRelatorio>(servicos, *this, doc_, modelos_, cfg_, paginas_);
    connect(paginas_, &QTabWidget::currentChanged, this, [this] {
        if (acoes_.count(QStringLiteral("Visualizar"))) AtualizaComandosRelatorio();
    });
    grid_.AoLimparGrid = [this] { return arquivos_.Fechamento(); };
    arquivos_.AoFechar = [this] {
        modelos_.Pesquisa().Reinicia();
        relatorio_->DescartaRelatorio();
    };
    arquivos_.AoLimpar = [this] { relatorio_->DescartaRelatorio(); };
    ouvinte_ = grid_.AdicionaOuvinte([this](const TMudanca &m) {
        // A change of the data (not of the counts, the modified flag or a column's look alone)
        // means the best models no longer belong to the worksheet.
        if (!modelos_.Escolhendo() &&
            (m.tipo & ~unsigned(TMudanca::Estado | TMudanca::Aparencia)) != 0) {
            modelos_.Pesquisa().PlanilhaAlterada();
            relatorio_->PlanilhaAlterada();
        }
        if (!ocupado_) AgendaAtualizacao();
    });
    connect(grade_, &TGradePlanilha::celulaAtualMudou, this, [this] { Atualiza(); });
    connect(grade_, &TGradePlanilha::menuPedido, this, &TFZELTO::MostraMenu);
    connect(grade_, &TGradePlanilha::cabecalhoDuploClique, this,
            [this](int c) { edicao_.DefineVariavelAtual(c); });
    connect(grade_, &TGradePlanilha::alturaLinhaMudou, this, [this](int h) {
        cfg_.AlturaLinha = h;
        GravaChave("AltLnPlan");
    });
    grade_->installEventFilter(this);

    CriaAcoes();
    CriaMenus();
    CriaBarra();
    CriaComandosRelatorio();
    CriaStatus();

    cfg_.Le(ini_);
    AplicaConfiguracao();
    grade_->IrPara(1, 1);
    Atualiza();

    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive)
            QTimer::singleShot(0, this, [this] { arquivos_.VerificaTransferencia(); });
    });
}

TFZELTO::~TFZELTO() {
    grade_->removeEventFilter(this);
    grid_.RemoveOuvinte(ouvinte_);
    grid_.AoLimparGrid = nullptr;
    // The view and the model refer to the worksheet, a member that goes
    // before the window's children would: they go first.
    paginas_->disconnect(this);
    delete paginas_;
    delete modelo_;
}

// ---- Actions -------------------------------------------------------------------------

QAction *TFZELTO::Acao(const QString &nome) const {
    auto i = acoes_.find(nome);
    return i == acoes_.end() ? nullptr : i->second;
}

void TFZELTO::CriaAcoes() {
    auto cria = [this](const char *nome, const char *texto, const char *dica, QKeySequence atalho,
                       std::function<void()> f, QIcon icone = QIcon()) {
        auto *a = new QAction(icone, QString::fromUtf8(texto), this);
        a->setObjectName(QString::fromLatin1(nome));
        if (dica) a->setToolTip(QString::fromUtf8(dica));
        if (!atalho.isEmpty()) {
            a->setShortcut(atalho);
            a->setShortcutContext(Qt::WindowShortcut);
        }
        connect(a, &QAction::triggered, this, [f] { f(); });
        addAction(a); // shortcuts work while the action is in no visible menu
        acoes_[a->objectName()] = a;
        return a;
    };
    QStyle *s = style();
    cria(
        "NovaPlanilha", "&Nova planilha", "Nova planilha", {}, [this] { arquivos_.NovaPlanilha(); },
        s->standardIcon(QStyle::SP_FileIcon));
    cria(
        "LerPlanilha", "&Ler planilha", "Ler arquivo", QKeySequence(Qt::Key_F3),
        [this] { arquivos_.LePlanilha(); }, s->standardIcon(QStyle::SP_DialogOpenButton));
    cria(
        "GravarPlanilha", "&Gravar planilha", "Gravar arquivo", QKeySequence(Qt::Key_F6),
        [this] { arquivos_.GravaPlanilha(); }, s->standardIcon(QStyle::SP_DialogSaveButton));
    cria("GravarComo", "gravar &Como ...", nullptr, {}, [this] { arquivos_.GravaComo(); });
    cria(
        "Sair", "&Sair", "Sair do Zelto", QKeySequence(Qt::ALT | Qt::Key_F4), [this] { Sair(); },
        s->standardIcon(QStyle::SP_DialogCloseButton));

    cria(
        "Desfazer", "&Desfazer", "Desfazer", QKeySequence(Qt::CTRL | Qt::Key_Z),
        [this] { edicao_.Desfaz(); }, s->standardIcon(QStyle::SP_ArrowBack));
    cria(
        "Refazer", "&Refazer", "Refazer", QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { edicao_.Refaz(); },
        s->standardIcon(QStyle::SP_ArrowForward));
    cria(
        "Recortar", "Recortar", "Recortar conteúdo", QKeySequence(Qt::SHIFT | Qt::Key_Delete),
        [this] { edicao_.Recorta(); }, IconeTexto(QStringLiteral("✂")));
    cria(
        "Copiar", "Copiar", "Copiar conteúdo ", QKeySequence(Qt::CTRL | Qt::Key_C),
        [this] { edicao_.Copia(); }, IconeFolhas(false));
    cria(
        "Colar", "Colar", "Colar conteúdo", QKeySequence(Qt::CTRL | Qt::Key_V), [this] { edicao_.Cola(); },
        IconeFolhas(true));
    cria("LimparCelula", "Limpar Célula", "Limpar Célula", QKeySequence(Qt::Key_Delete),
         [this] { edicao_.LimpaCelula(); });

    cria("ConfigurarAmostragem", "&Configurar amostragem atual", nullptr, {},
         [this] { edicao_.AlternaAmostragem(); });
    cria("AmostragemContexto", "Desconsiderar Amostragem", nullptr,
         QKeySequence(Qt::CTRL | Qt::Key_A), [this] { edicao_.AlternaAmostragem(); });
    cria(
        "IncluirAmostragem", "&Incluir nova amostragem", "Inserir linha na amostra", {},
        [this] { edicao_.InsereAmostragem(); }, IconeTexto(QStringLiteral("+L")));
    cria("InserirAmostragemContexto", "Inserir nova amostragem", nullptr,
         QKeySequence(Qt::CTRL | Qt::Key_I), [this] { edicao_.InsereAmostragem(); });
    cria(
        "ExcluirAmostragem", "&Excluir amostragem atual", "Apagar  linha da amostra",
        QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { edicao_.ExcluiAmostragem(); },
        IconeTexto(QStringLiteral("−L"), QColor(150, 0, 0)));
    cria("EliminarAmostragemContexto", "Eliminar Amostragem", nullptr, {},
         [this] { edicao_.ExcluiAmostragem(); });
    cria(
        "ExcluirAmostragensAbaixo", "E&xcluir amostragens abaixo do cursor", "Exclui linhas abaixo",
        {}, [this] { edicao_.ExcluiAmostragensAbaixo(); },
        IconeTexto(QStringLiteral("−L↓"), QColor(150, 0, 0)));

    cria(
        "DefinirVariavel", "&Definir / configurar  variável atual",
        "Definir ou configurar variável", {}, [this] { edicao_.DefineVariavelAtual(); },
        IconeTexto(QStringLiteral("V?")));
    cria("ConfigurarVariavelContexto", "Configurar Variável", nullptr, {},
         [this] { edicao_.DefineVariavelAtual(); });
    cria(
        "IncluirVariavel", "&Incluir nova variável", "Inclui mais uma variável", {},
        [this] { edicao_.InsereVariavel(); }, IconeTexto(QStringLiteral("+V")));
    cria(
        "ExcluirVariavel", "&Excluir variável atual", "Remove a variável corrente.", {},
        [this] { edicao_.ExcluiVariavel(); }, IconeTexto(QStringLiteral("−V"), QColor(150, 0, 0)));
    cria(
        "ExcluirVariaveisDireita", "E&xcluir variáveis à direita do cursor",
        "Exclui colunas à direita", {}, [this] { edicao_.ExcluiVariaveisDireita(); },
        IconeTexto(QStringLiteral("−V→"), QColor(150, 0, 0)));
    cria("UsarVariavel", "Não usar esta variável", nullptr, QKeySequence(Qt::CTRL | Qt::Key_U),
         [this] { edicao_.AlternaUsada(); });
    cria("VariavelDependente", "Usar como Variável Dependente", nullptr,
         QKeySequence(Qt::CTRL | Qt::Key_D), [this] { edicao_.AlternaDependente(); });

    grupoAlinhamento_ = new QActionGroup(this);
    struct {
        const char *nome, *texto, *icone;
        std::uint8_t al;
    } alinha[] = {{"AlinharEsquerda", "Alinhar pela esquerda", "≡◂", alEsquerda},
                  {"AlinharCentro", "Alinhar pelo centro", "≡", alCentro},
                  {"AlinharDireita", "Alinhar pela direita", "▸≡", alDireita}};
    for (const auto &a : alinha) {
        std::uint8_t al = a.al;
        QAction *x = cria(
            a.nome, a.texto, a.texto, {}, [this, al] { edicao_.Alinha(al); },
            IconeTexto(QString::fromUtf8(a.icone)));
        x->setCheckable(true);
        grupoAlinhamento_->addAction(x);
    }

    cria(
        "Ordenar", "&Ordenar linhas", "Ordenar as linhas da planilha", {}, [this] { edicao_.Ordena(); },
        IconeTexto(QStringLiteral("A↓")));
    cria(
        "Renumerar", "&Renumerar linhas", "Renumerar planilha", {}, [this] { edicao_.Renumera(); },
        IconeTexto(QStringLiteral("1,2")));

    grupoAvanco_ = new QActionGroup(this);
    struct {
        const char *nome, *texto, *icone;
        DirecaoAvanco d;
    } avanco[] = {
        {"AvancoVertical", "Movimento automático para baixo", "↓", DirecaoAvanco::dAvancoVertical},
        {"AvancoHorizontal", "Movimento automático para a direita", "→",
         DirecaoAvanco::dAvancoHorizontal},
        {"SemAvanco", "Sem movimento automático", "•", DirecaoAvanco::dSemAvanco}};
    for (const auto &a : avanco) {
        DirecaoAvanco d = a.d;
        QAction *x = cria(
            a.nome, a.texto, a.texto, {}, [this, d] { DefineAvanco(d); },
            IconeTexto(QString::fromUtf8(a.icone)));
        x->setCheckable(true);
        grupoAvanco_->addAction(x);
    }

    struct {
        const char *chave, *texto;
    } opcoes[] = {{"PdOA", "sempre pedir &Dados do objeto sob avaliação"},
                  {"SnAu", "sanear amostras &Automaticamente"},
                  {"VCVz", "&verificar células em &Branco"},
                  {"CrVH", "criar &Valor homogeneizado automaticamente"}};
    for (const auto &o : opcoes) {
        std::string chave = o.chave;
        QAction *x = cria(o.chave, o.texto, nullptr, {}, [this, chave] { AlternaOpcao(chave); });
        x->setCheckable(true);
    }
    cria(
        "AspectoPlanilha", "aspecto da &Planilha", "Configurar o ambiente do ZELTO", {},
        [this] { AspectoPlanilha(); }, IconeTexto(QStringLiteral("Aa")));
    cria("ConverterModo", "Converter para estatística &descritiva", nullptr, {},
         [this] { AlternaModo(); });
    cria(
        "DefinirObjeto", "&Definir objeto sob avaliação",
        "Definir características do objeto sob avaliação", QKeySequence(Qt::Key_F4),
        [this] { modelos_.DefineObjeto(); }, IconeTexto(QStringLiteral("⌂")));
    cria(
        "ConfigurarPesquisa", "&Configurar pesquisa", "Configurar pesquisa", {},
        [this] { modelos_.ConfiguraPesquisa(); }, IconeTexto(QStringLiteral("ƒ?")));
    cria(
        "PesquisarModelos", "&Pesquisar modelos", "Pesquisar Modelos", QKeySequence(Qt::Key_F9),
        [this] { modelos_.PesquisaModelos(); }, IconeTexto(QStringLiteral("ƒ▸"), QColor(0, 110, 0)));
    cria(
        "SelecionarModelo", "&Selecionar Modelo", "Escolher Modelo", QKeySequence(Qt::Key_F10),
        [this] { modelos_.SelecionaModelo(); }, IconeTexto(QStringLiteral("ƒ✓"), QColor(0, 110, 0)));
    cria(
        "Significancias", "&Significâncias/Confianças", "Configurar Significâncias",
        QKeySequence(Qt::Key_F12), [this] { modelos_.ConfiguraSignificancias(pgSignificancias); },
        IconeTexto(QStringLiteral("α")));
    cria("Criterios", "&Critérios", nullptr, QKeySequence(Qt::CTRL | Qt::Key_F12),
         [this] { modelos_.ConfiguraSignificancias(pgCriterios); });
    // The report page comes with the report; without one the view stays on the worksheet.
    QAction *ver =
        cria("Visualizar", "&Visualizar Relatório", nullptr, QKeySequence(Qt::Key_F5), [this] {
            if (paginas_->count() > 1)
                paginas_->setCurrentIndex(paginas_->currentIndex() == 0 ? 1 : 0);
        });
    ver->setEnabled(false);
}

void TFZELTO::CriaMenus() {
    QMenuBar *mb = menuBar();
    menuArquivo_ = mb->addMenu(QStringLiteral("&Arquivo"));
    for (const char *n : {"NovaPlanilha", "LerPlanilha", "GravarPlanilha", "GravarComo"})
        menuArquivo_->addAction(Acao(QString::fromLatin1(n)));
    menuArquivo_->addSeparator();
    for (std::size_t i = 0; i < TListaRecentes::kMaximo; ++i) {
        auto *a = new QAction(this);
        a->setObjectName(QStringLiteral("Recente%1").arg(i + 1));
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, i] { arquivos_.AbreRecente(i); });
        menuArquivo_->addAction(a);
        acoesRecentes_.push_back(a);
        acoes_[a->objectName()] = a;
    }
    menuArquivo_->addSeparator();
    menuArquivo_->addAction(Acao(QStringLiteral("Sair")));

    QMenu *editar = mb->addMenu(QStringLiteral("&Editar"));
    for (const char *n :
         {"Desfazer", "Refazer", "", "Recortar", "Copiar", "Colar", "LimparCelula"}) {
        if (!*n)
            editar->addSeparator();
        else
            editar->addAction(Acao(QString::fromLatin1(n)));
    }

    QMenu *amostras = mb->addMenu(QStringLiteral("A&mostragens"));
    for (const char *n : {"IncluirAmostragem", "ExcluirAmostragem", "ExcluirAmostragensAbaixo",
                          "ConfigurarAmostragem", "", "Ordenar", "Renumerar"}) {
        if (!*n)
            amostras->addSeparator();
        else
            amostras->addAction(Acao(QString::fromLatin1(n)));
    }
    QMenu *variaveis = mb->addMenu(QStringLiteral("&Variáveis"));
    for (const char *n : {"DefinirVariavel", "IncluirVariavel", "ExcluirVariavel",
                          "ExcluirVariaveisDireita", "", "UsarVariavel", "VariavelDependente", "",
                          "AlinharEsquerda", "AlinharCentro", "AlinharDireita"}) {
        if (!*n)
            variaveis->addSeparator();
        else
            variaveis->addAction(Acao(QString::fromLatin1(n)));
    }

    menuOpcoes_ = mb->addMenu(QStringLiteral("&Opções"));
    for (const char *n : {"PdOA", "SnAu", "VCVz", "CrVH", "", "AvancoVertical", "AvancoHorizontal",
                          "SemAvanco", "", "AspectoPlanilha", "", "ConverterModo"}) {
        if (!*n)
            menuOpcoes_->addSeparator();
        else
            menuOpcoes_->addAction(Acao(QString::fromLatin1(n)));
    }
    QMenu *avaliacao = mb->addMenu(QStringLiteral("A&valiação"));
    for (const char *n : {"DefinirObjeto", "", "ConfigurarPesquisa", "PesquisarModelos",
                          "SelecionarModelo", "", "Significancias", "Criterios"}) {
        if (!*n)
            avaliacao->addSeparator();
        else
            avaliacao->addAction(Acao(QString::fromLatin1(n)));
    }
    QMenu *exibir = mb->addMenu(QStringLiteral("E&xibir"));
    exibir->addAction(Acao(QStringLiteral("Visualizar")));

    // Context menus: cells, row headers (samples), column headers (variables).
    auto *celula = new QMenu(this);
    for (const char *n : {"AlinharEsquerda", "AlinharCentro", "AlinharDireita", "", "Recortar",
                          "Copiar", "Colar", "LimparCelula"}) {
        if (!*n)
            celula->addSeparator();
        else
            celula->addAction(Acao(QString::fromLatin1(n)));
    }
    auto *linha = new QMenu(this);
    for (const char *n :
         {"AmostragemContexto", "InserirAmostragemContexto", "EliminarAmostragemContexto"})
        linha->addAction(Acao(QString::fromLatin1(n)));
    auto *coluna = new QMenu(this);
    for (const char *n : {"ConfigurarVariavelContexto", "UsarVariavel", "VariavelDependente"})
        coluna->addAction(Acao(QString::fromLatin1(n)));
    menusContexto_[TAreaGrade::Celula] = celula;
    menusContexto_[TAreaGrade::CabecalhoLinha] = linha;
    menusContexto_[TAreaGrade::CabecalhoColuna] = coluna;
}

void TFZELTO::CriaBarra() {
    barra_ = addToolBar(QStringLiteral("Comandos"));
    barra_->setObjectName(QStringLiteral("BarraComandos"));
    barra_->setIconSize(QSize(20, 20));
    for (const char *n : {"NovaPlanilha",
                          "LerPlanilha",
                          "GravarPlanilha",
                          "",
                          "Desfazer",
                          "Refazer",
                          "",
                          "Recortar",
                          "Copiar",
                          "Colar",
                          "",
                          "IncluirAmostragem",
                          "ExcluirAmostragem",
                          "ExcluirAmostragensAbaixo",
                          "",
                          "DefinirVariavel",
                          "IncluirVariavel",
                          "ExcluirVariavel",
                          "ExcluirVariaveisDireita",
                          "",
                          "AlinharEsquerda",
                          "AlinharCentro",
                          "AlinharDireita",
                          "",
                          "Ordenar",
                          "Renumerar",
                          "",
                          "AvancoVertical",
                          "AvancoHorizontal",
                          "SemAvanco",
                          "",
                          "DefinirObjeto",
                          "ConfigurarPesquisa",
                          "PesquisarModelos",
                          "SelecionarModelo",
                          "Significancias",
                          "",
                          "AspectoPlanilha"}) {
        if (!*n)
            barra_->addSeparator();
        else
            barra_->addAction(Acao(QString::fromLatin1(n)));
    }
    barra_->addSeparator();
    barra_->addAction(Acao(QStringLiteral("Sair")));
    // The mode button stays in sight at the right of the status line.
    botaoModo_ = new QPushButton(this);
    botaoModo_->setObjectName(QStringLiteral("BtnModoEstatistica"));
    botaoModo_->setFlat(true);
    botaoModo_->setToolTip(QStringLiteral("Converter o modo estatístico"));
    connect(botaoModo_, &QPushButton::clicked, this, [this] { AlternaModo(); });
}

void TFZELTO::CriaStatus() {
    estado_ = new QLabel(this);
    linhas_ = new QLabel(this);
    colunas_ = new QLabel(this);
    posicao_ = new QLabel(this);
    for (QLabel *l : {estado_, linhas_, colunas_})
        l->setMinimumWidth(110);
    estado_->setObjectName(QStringLiteral("Estado"));
    posicao_->setObjectName(QStringLiteral("Posicao"));
    statusBar()->addWidget(estado_);
    statusBar()->addWidget(linhas_);
    statusBar()->addWidget(colunas_);
    statusBar()->addWidget(posicao_, 1);
    statusBar()->addPermanentWidget(botaoModo_);
}

QMenu *TFZELTO::MenuContexto(TAreaGrade area) {
    auto i = menusContexto_.find(area);
    return i == menusContexto_.end() ? nullptr : i->second;
}

void TFZELTO::MostraMenu(TAreaGrade area, const QPoint &global) {
    Atualiza();
    if (QMenu *m = MenuContexto(area)) m->popup(global);
}

// ---- Settings ----------------------------------------------------------------------------

void TFZELTO::AplicaConfiguracao() {
    grid_.Modo.Inferencial = cfg_.Inferencial;
    grid_.Modo.CriarValorHomogeneizado = cfg_.CriarHomogeneizado;
    grid_.Avanco = cfg_.Avanco();
    DefineAparencia(TAparenciaPlanilha::DeConfiguracao(cfg_));
    arquivos_.Recentes().Le(cfg_);
    AtualizaRecentes();
    AtualizaModo();
}

void TFZELTO::GravaChave(const char *chave) {
    if (!cfg_.Grava(ini_, chave) && ini_.Aberto())
        Avisa("Não foi possível gravar a opção no arquivo de configuração " +
              ini_.Caminho().string() + ".");
}

void TFZELTO::DefineAparencia(const TAparenciaPlanilha &a) {
    grid_.AlturaLinha = a.AlturaLinha;
    modelo_->DefineAparencia(a);
    grade_->setFont(a.Fonte);
    grade_->horizontalHeader()->setFont(a.Fonte);
    grade_->verticalHeader()->setFont(a.Fonte);
    grade_->AplicaDimensoes();
}

// ---- Refresh -------------------------------------------------------------------------

void TFZELTO::AgendaAtualizacao() {
    if (atualizacaoPendente_) return;
    atualizacaoPendente_ = true;
    QTimer::singleShot(0, this, [this] {
        atualizacaoPendente_ = false;
        if (!ocupado_) Atualiza();
    });
}

void TFZELTO::Atualiza() {
    if (ocupado_) return;
    // The current cell, kept inside the grid.
    grid_.ColunaAtual = std::clamp(grid_.ColunaAtual, 1, std::max(1, grid_.ColCount() - 1));
    grid_.LinhaAtual = std::clamp(grid_.LinhaAtual, 1, std::max(1, grid_.RowCount() - 1));
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    estado_->setText(Q(TextoEstadoPlanilha(grid_.Modificada())));
    linhas_->setText(Q(TextoLinhas(grid_.LinhasUsadas())));
    colunas_->setText(Q(TextoColunas(grid_.ColunasUsadas())));
    posicao_->setText(Q(TextoPosicao(grid_, c, r)));
    paginas_->setTabText(0, Q(TextoAbaPlanilha(doc_.Arquivo())));
    // The file's name, and "*" while the worksheet differs from it; a worksheet never saved
    // has the program's name alone.
    setWindowTitle(doc_.SemArquivo()
                       ? QStringLiteral("Zelto 32")
                       : QStringLiteral("Zelto 32 - ") + Q(TextoAbaPlanilha(doc_.Arquivo())) +
                             QStringLiteral("[*]"));
    setWindowModified(!doc_.SemArquivo() && grid_.Modificada());

    const bool editavel = grid_.Editavel;
    const bool linhaUsada = r >= 1 && r <= grid_.LinhasUsadas();
    const TVariavel *v = grid_.Variavel(c);
    const bool desconsiderada = grid_.Desconsiderada(r);
    QAction *amostra = Acao(QStringLiteral("AmostragemContexto"));
    amostra->setText(desconsiderada ? QStringLiteral("Considerar Amostragem")
                                    : QStringLiteral("Desconsiderar Amostragem"));
    amostra->setEnabled(editavel && linhaUsada);
    Acao(QStringLiteral("ConfigurarAmostragem"))->setEnabled(editavel && linhaUsada);
    Acao(QStringLiteral("EliminarAmostragemContexto"))->setEnabled(editavel && linhaUsada);
    Acao(QStringLiteral("ExcluirAmostragem"))->setEnabled(editavel && linhaUsada);

    QAction *usar = Acao(QStringLiteral("UsarVariavel"));
    usar->setText(v && v->Usada ? QStringLiteral("Não usar esta variável")
                                : QStringLiteral("Usar esta variável"));
    usar->setEnabled(editavel && v && v->Tipo != tvComentario);
    QAction *dep = Acao(QStringLiteral("VariavelDependente"));
    dep->setText(v && v->Dependente ? QStringLiteral("Usar como Variável Independente")
                                    : QStringLiteral("Usar como Variável Dependente"));
    dep->setEnabled(editavel && v && (v->Tipo == tvNumerica || v->Tipo == tvCalculada));

    // The alignment buttons show the current column's alignment.
    for (QAction *a : grupoAlinhamento_->actions())
        a->setEnabled(editavel && v);
    if (v) {
        const char *n = v->Alinhamento == alDireita  ? "AlinharDireita"
                        : v->Alinhamento == alCentro ? "AlinharCentro"
                                                     : "AlinharEsquerda";
        Acao(QString::fromLatin1(n))->setChecked(true);
    } else if (QAction *marcada = grupoAlinhamento_->checkedAction()) {
        grupoAlinhamento_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        marcada->setChecked(false);
        grupoAlinhamento_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    }
    // The model commands follow the data, the mode and the search's results.
    const bool dados = doc_.TemDados();
    Acao(QStringLiteral("ConfigurarPesquisa"))->setVisible(grid_.Modo.Inferencial && dados);
    Acao(QStringLiteral("PesquisarModelos"))->setVisible(dados);
    Acao(QStringLiteral("SelecionarModelo"))
        ->setVisible(grid_.Modo.Inferencial && dados && modelos_.Pesquisa().ResultadosValidos);
    AtualizaComandosRelatorio();
    AtualizaDesfazer();
}

void TFZELTO::AtualizaDesfazer() {
    QAction *d = Acao(QStringLiteral("Desfazer")), *f = Acao(QStringLiteral("Refazer"));
    d->setEnabled(doc_.Historico().PodeDesfazer());
    f->setEnabled(doc_.Historico().PodeRefazer());
    std::string dd = doc_.Historico().DescricaoDesfazer(), df = doc_.Historico().DescricaoRefazer();
    d->setText(dd.empty() ? QStringLiteral("&Desfazer") : QStringLiteral("&Desfazer ") + Q(dd));
    f->setText(df.empty() ? QStringLiteral("&Refazer") : QStringLiteral("&Refazer ") + Q(df));
}

void TFZELTO::AtualizaModo() {
    const bool inf = grid_.Modo.Inferencial;
    botaoModo_->setText(inf ? QStringLiteral("Estatística Inferencial  (Análise por Regressão)")
                            : QStringLiteral("Estatística Descritiva  (Análise por Fatores)"));
    botaoModo_->setStyleSheet(inf ? QStringLiteral("color: blue; font-weight: bold")
                                  : QStringLiteral("color: red; font-weight: bold"));
    Acao(QStringLiteral("CrVH"))->setVisible(!inf);
    QAction *pesquisar = Acao(QStringLiteral("PesquisarModelos"));
    pesquisar->setText(inf ? QStringLiteral("&Pesquisar modelos") : QStringLiteral("&Avaliar"));
    pesquisar->setToolTip(inf ? QStringLiteral("Pesquisar Modelos") : QStringLiteral("Avaliar"));
    Acao(QStringLiteral("ConverterModo"))
        ->setText(inf ? QStringLiteral("Converter para estatística &descritiva")
                      : QStringLiteral("Converter para estatística &inferencial"));
    Acao(QStringLiteral("PdOA"))->setChecked(cfg_.PedirObjeto);
    Acao(QStringLiteral("SnAu"))->setChecked(cfg_.SaneamentoAutomatico);
    Acao(QStringLiteral("VCVz"))->setChecked(cfg_.VerificarCelulasVazias);
    Acao(QStringLiteral("CrVH"))->setChecked(grid_.Modo.CriarValorHomogeneizado);
    const char *avanco = grid_.Avanco == DirecaoAvanco::dAvancoHorizontal ? "AvancoHorizontal"
                         : grid_.Avanco == DirecaoAvanco::dAvancoVertical ? "AvancoVertical"
                                                                          : "SemAvanco";
    Acao(QString::fromLatin1(avanco))->setChecked(true);
    modelos_.CarregaSignificancias(inf);
}

void TFZELTO::AtualizaRecentes() {
    const auto &itens = arquivos_.Recentes().Itens();
    for (std::size_t i = 0; i < acoesRecentes_.size(); ++i) {
        QAction *a = acoesRecentes_[i];
        a->setVisible(i < itens.size());
        if (i < itens.size()) a->setText(Q(TListaRecentes::Legenda(i, itens[i])));
    }
}

// ---- Closing and leaving the grid ---------------------------------------------------------

void TFZELTO::Sair() {
    close();
}

void TFZELTO::closeEvent(QCloseEvent *e) {
    bool pode = true;
    try {
        pode = arquivos_.Fechamento();
    } catch (...) {
        pode = true; // a failure while closing counts as permission to close
    }
    if (pode)
        e->accept();
    else
        e->ignore();
}

void TFZELTO::AparaLinhas() {
    if (ocupado_) return;
    grid_.AparaLinhasVazias();
    Atualiza();
}

bool TFZELTO::eventFilter(QObject *o, QEvent *e) {
    if (o == grade_ && e->type() == QEvent::FocusOut) {
        auto *f = static_cast<QFocusEvent *>(e);
        QWidget *novo = QApplication::focusWidget();
        const bool dentro = novo && (novo == grade_ || grade_->isAncestorOf(novo));
        if (!dentro && f->reason() != Qt::PopupFocusReason &&
            f->reason() != Qt::ActiveWindowFocusReason)
            AparaLinhas();
    }
    return QMainWindow::eventFilter(o, e);
}

// ---- The report's commands ------------------------------------------------------------------

void TFZELTO::CriaComandosRelatorio() {
    auto cria = [this](const char *nome, const char *texto, const char *dica, QKeySequence atalho,
                       std::function<void()> f) {
        auto *a = new QAction(QString::fromUtf8(texto), this);
        a->setObjectName(QString::fromLatin1(nome));
        if (dica) a->setToolTip(QString::fromUtf8(dica));
        if (!atalho.isEmpty()) a->setShortcut(atalho);
        connect(a, &QAction::triggered, this, [f] { f(); });
        addAction(a);
        acoes_[a->objectName()] = a;
        return a;
    };
    cria("ExportarRelatorio", "&Exportar relatório", "Exportar relatório", {}, [this] { relatorio_->ExportaRelatorio(); });
    cria("ImprimirRelatorio", "&Imprimir Relatório", "Imprimir Relatório", {}, [this] { relatorio_->ImprimeRelatorio(); });
    QAction *lista = cria("ListaItens", "&Lista de Itens", "Localizar item do relatório", {},
                          [this] { relatorio_->AlternaListaItens(); });
    lista->setCheckable(true);
    QAction *reguas = cria("MostrarReguas", "Mostrar réguas", "Ocultar réguas", {}, [this] { relatorio_->AlternaReguas(); });
    reguas->setCheckable(true);
    reguas->setChecked(true);
    cria("AmpliaRelatorio", "Amplia relatório", "Amplia relatório", {},
         [this] { relatorio_->MudaZoom(ZoomMais(cfg_.ZoomRelatorio)); });
    cria("ReduzRelatorio", "Reduz relatório", "Reduz relatório", {},
         [this] { relatorio_->MudaZoom(ZoomMenos(cfg_.ZoomRelatorio)); });
    cria("ConfigurarRelatorio", "Configurar &Relatório", "Configurar Relatório", QKeySequence(Qt::Key_F11),
         [this] { relatorio_->ConfiguraRelatorio(); });
    cria("ImprimirTabela", "Imprimir tabela de amostragens", "Imprimir tabela de amostragens", {},
         [this] { relatorio_->ImprimeTabelaAmostragens(); });

    zoom_ = new QComboBox(this);
    zoom_->setObjectName(QStringLiteral("ZoomRelatorio"));
    zoom_->addItems(NiveisZoom());
    zoom_->setEditable(false);
    connect(zoom_, &QComboBox::textActivated, this, [this](const QString &t) { relatorio_->MudaZoomPorTexto(t); });
    relatorio_->DefineCaixaZoom(zoom_);

    QMenu *menu = menuBar()->addMenu(QStringLiteral("&Relatório"));
    for (const char *n : {"ConfigurarRelatorio", "", "ExportarRelatorio", "ImprimirRelatorio", "",
                          "ListaItens", "MostrarReguas", "AmpliaRelatorio", "ReduzRelatorio", "",
                          "ImprimirTabela"}) {
        if (!*n) menu->addSeparator();
        else menu->addAction(Acao(QString::fromLatin1(n)));
    }
    // The report's bar on a row of its own: beside the commands' bar it would not fit a window
    // of ordinary width, and the zoom box would drop into the overflow menu.
    addToolBarBreak();
    QToolBar *barra = addToolBar(QStringLiteral("Relatório"));
    barra->setObjectName(QStringLiteral("BarraRelatorio"));
    // Short captions on the bar (the hints keep the full names), so that the bar and its zoom
    // box fit a window of ordinary width.
    const std::pair<const char *, const char *> curtos[] = {
        {"ConfigurarRelatorio", "Configurar"}, {"ExportarRelatorio", "Exportar"},
        {"ImprimirRelatorio", "Imprimir"},     {"ImprimirTabela", "Imprimir tabela"},
        {"ListaItens", "Itens"},               {"MostrarReguas", "Réguas"},
        {"ReduzRelatorio", "Reduz"},           {"AmpliaRelatorio", "Amplia"}};
    for (const auto &[nome, curto] : curtos) {
        QAction *a = Acao(QString::fromLatin1(nome));
        a->setIconText(QString::fromUtf8(curto));
        barra->addAction(a);
    }
    barra->addWidget(zoom_);
}

void TFZELTO::AtualizaComandosRelatorio() {
    TPaginaRelatorio *pagina = relatorio_->Pagina();
    const bool existe = pagina != nullptr;
    for (const char *n : {"Visualizar", "ExportarRelatorio", "ImprimirRelatorio", "ListaItens",
                          "MostrarReguas", "AmpliaRelatorio", "ReduzRelatorio"})
        if (QAction *a = Acao(QString::fromLatin1(n))) a->setEnabled(existe);
    // F5 names the page it leads to.
    Acao(QStringLiteral("Visualizar"))
        ->setText(existe && paginas_->currentWidget() == pagina ? QStringLiteral("&Visualizar Planilha")
                                                                 : QStringLiteral("&Visualizar Relatório"));
    // The settings are read after the commands were made: their state follows here.
    Acao(QStringLiteral("ListaItens"))->setChecked(cfg_.ListaItens);
    if (zoom_) {
        zoom_->setEnabled(existe);
        const QSignalBlocker b(zoom_);
        const int i = zoom_->findText(TextoZoom(cfg_.ZoomRelatorio));
        if (i >= 0) zoom_->setCurrentIndex(i);
    }
    relatorio_->AtualizaAba();
}

} // namespace zelto
