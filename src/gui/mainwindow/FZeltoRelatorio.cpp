// The report commands of the main window: building the report page after a choice, export,
// printing, the item list, the rulers, the zoom and the report settings.
#include "gui/mainwindow/FZelto.h"

#include "common/GravacaoSegura.h"
#include "gui/dialogs/FProgressao.h"
#include "gui/mainwindow/TextosEstado.h"
#include "gui/reportpage/DocumentoRelatorio.h"
#include "gui/reportpage/PaginaRelatorio.h"
#include "view/ImpressaoRelatorio.h"
#include "view/ZoomRelatorio.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolBar>

namespace zelto {

namespace {

constexpr const char *kAbaRelatorio = "Relatório";
constexpr const char *kAbaRelatorioDesatualizado = "Relatório (desatualizado)";
constexpr const char *kSemItens = "Não há itens de relatório selecionados.\r\nDeseja selecioná-los ?";
constexpr const char *kTabelaVazia = "A tabela de amostragens está vazia.";

// The settings dialog opened on its items tab (the first item current).
constexpr int kAbaItens = 0;

constexpr const char *kPerguntaAtualizacao =
    "O relatório está desatualizado: a planilha mudou depois que ele foi feito.\r\n"
    "Ele será atualizado com o mesmo modelo antes de prosseguir.";
constexpr const char *kSemAtualizacao =
    "O relatório não pode ser atualizado: o modelo escolhido não pode ser ajustado aos dados "
    "atuais da planilha. Escolha um modelo novamente.";

QString Q(const char *t) { return QString::fromUtf8(t); }

// "Atualizar" (the default) or "Cancelar".
bool PerguntaAtualizacao(QWidget *pai) {
    QMessageBox m(QMessageBox::Question, QStringLiteral("Zelto 32"), Q(kPerguntaAtualizacao),
                  QMessageBox::NoButton, pai);
    QPushButton *atualizar = m.addButton(QStringLiteral("Atualizar"), QMessageBox::AcceptRole);
    m.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
    m.setDefaultButton(atualizar);
    m.exec();
    return m.clickedButton() == atualizar;
}

} // namespace

void TFZELTO::CriaComandosRelatorio() {
    documento_ = std::make_unique<TDocumentoRelatorio>();
    DialogoConfiguraRelatorio = [this](int item) {
        return documento_->DialogoConfiguracao(this, grid_.Modo.Inferencial, item);
    };
    DialogoConfiguraItem = [this](int item, const std::optional<QPointF> &ponto) {
        return documento_->DialogoItem(this, item, grid_.Modo.Inferencial, ponto);
    };
    DialogoCabecalhoRodape = [this](bool rodape) { return documento_->DialogoCabecalhoRodape(this, rodape); };
    auto cria = [this](const char *nome, const char *texto, const char *dica, QKeySequence atalho,
                       std::function<void()> f) {
        auto *a = new QAction(Q(texto), this);
        a->setObjectName(QString::fromLatin1(nome));
        if (dica) a->setToolTip(Q(dica));
        if (!atalho.isEmpty()) a->setShortcut(atalho);
        connect(a, &QAction::triggered, this, [f] { f(); });
        addAction(a);
        acoes_[a->objectName()] = a;
        return a;
    };
    cria("ExportarRelatorio", "&Exportar relatório", "Exportar relatório", {}, [this] { ExportaRelatorio(); });
    cria("ImprimirRelatorio", "&Imprimir Relatório", "Imprimir Relatório", {}, [this] { ImprimeRelatorio(); });
    QAction *lista = cria("ListaItens", "&Lista de Itens", "Localizar item do relatório", {},
                          [this] { AlternaListaItens(); });
    lista->setCheckable(true);
    QAction *reguas = cria("MostrarReguas", "Mostrar réguas", "Ocultar réguas", {}, [this] { AlternaReguas(); });
    reguas->setCheckable(true);
    reguas->setChecked(true);
    cria("AmpliaRelatorio", "Amplia relatório", "Amplia relatório", {},
         [this] { MudaZoom(ZoomMais(cfg_.ZoomRelatorio)); });
    cria("ReduzRelatorio", "Reduz relatório", "Reduz relatório", {},
         [this] { MudaZoom(ZoomMenos(cfg_.ZoomRelatorio)); });
    cria("ConfigurarRelatorio", "Configurar &Relatório", "Configurar Relatório", QKeySequence(Qt::Key_F11),
         [this] { ConfiguraRelatorio(); });
    cria("ImprimirTabela", "Imprimir tabela de amostragens", "Imprimir tabela de amostragens", {},
         [this] { ImprimeTabelaAmostragens(); });

    zoom_ = new QComboBox(this);
    zoom_->setObjectName(QStringLiteral("ZoomRelatorio"));
    zoom_->addItems(NiveisZoom());
    zoom_->setEditable(false);
    connect(zoom_, &QComboBox::textActivated, this, [this](const QString &t) {
        MudaZoom(LeZoom(t, AreaZoom()));
        // The keys go back to the page: Page Down after a choice turns the page, not the zoom.
        if (pagina_ && paginas_->currentWidget() == pagina_) pagina_->Superficie()->setFocus();
    });

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
        a->setIconText(Q(curto));
        barra->addAction(a);
    }
    barra->addWidget(zoom_);
}

TAreaZoom TFZELTO::AreaZoom() const {
    TAreaZoom a;
    if (pagina_) {
        a.LarguraVisivel = pagina_->Area()->viewport()->width();
        a.AlturaVisivel = pagina_->Area()->viewport()->height();
    }
    // The paper in "printer" pixels at the screen's resolution: only the ratio matters.
    a.LarguraPapel = documento_->LarguraPapelMm() / 25.4 * a.DpiImpressoraX;
    a.AlturaPapel = documento_->AlturaPapelMm() / 25.4 * a.DpiImpressoraY;
    return a;
}

void TFZELTO::MudaZoom(int zoom) {
    zoom = LimitaZoom(zoom);
    if (zoom != cfg_.ZoomRelatorio) {
        cfg_.ZoomRelatorio = zoom;
        GravaChave("ZRl");
    }
    if (zoom_) {
        const QSignalBlocker b(zoom_);
        const int i = zoom_->findText(TextoZoom(zoom));
        if (i >= 0) zoom_->setCurrentIndex(i);
        else zoom_->setEditText(TextoZoom(zoom));
    }
    if (pagina_) pagina_->DefineZoom(zoom);
}

void TFZELTO::AlternaListaItens() {
    cfg_.ListaItens = !cfg_.ListaItens;
    GravaChave("LocIt");
    Acao(QStringLiteral("ListaItens"))->setChecked(cfg_.ListaItens);
    if (pagina_) pagina_->MostraLista(cfg_.ListaItens);
}

void TFZELTO::AlternaReguas() {
    reguas_ = !reguas_;
    QAction *a = Acao(QStringLiteral("MostrarReguas"));
    a->setChecked(reguas_);
    a->setToolTip(Q(reguas_ ? "Ocultar réguas" : "Mostrar réguas"));
    if (pagina_) pagina_->MostraReguas(reguas_);
}

bool TFZELTO::AbreConfiguracaoRelatorio(int itemInicial) {
    if (!DialogoConfiguraRelatorio) return false;
    if (!DialogoConfiguraRelatorio(itemInicial)) return false;
    documento_->GravaConfiguracao();
    if (pagina_) pagina_->Relayout();
    return true;
}

void TFZELTO::ConfiguraRelatorio() {
    Comando();
    AbreConfiguracaoRelatorio(-1);
    Atualiza();
}

// Steps 3 to 5 of the choice: the items, the header's file name, the report built and shown.
bool TFZELTO::ConstroiRelatorio() {
    // Asked again after the settings until an item is chosen or the valuer gives up.
    while (!documento_->AlgumItemSelecionado(grid_.Modo.Inferencial)) {
        if (ConfirmaSimNao(kSemItens) != Resposta::Sim) return false;
        AbreConfiguracaoRelatorio(kAbaItens);
    }
    // The header names the worksheet only when it has a file of its own.
    grid_.NomeArquivo = doc_.SemArquivo() ? std::string() : doc_.Arquivo();
    DescartaRelatorio();
    std::unique_ptr<TPaginaRelatorio> p;
    try {
        p = documento_->Constroi(modelos_.Sistema(), grid_, &modelos_.Pesquisa(), modelos_.Significancias(),
                                 cfg_.ZoomRelatorio, this, nullptr);
    } catch (const std::bad_alloc &) {
        Avisa(kPoucaMemoria);
        return false;
    }
    if (!p) return false;
    pagina_ = p.release();
    pagina_->Avisa = [this](const std::string &t) { Avisa(t); };
    pagina_->ExecutaLonga = [this](const std::function<void(TProgresso &)> &t) {
        return ExecutaComProgresso(this, t);
    };
    pagina_->ConfiguraItem = [this](int item, const std::optional<QPointF> &ponto) {
        return DialogoConfiguraItem ? DialogoConfiguraItem(item, ponto) : -1;
    };
    pagina_->ConfiguraCabecalhoRodape = [this](bool rodape) {
        return DialogoCabecalhoRodape && DialogoCabecalhoRodape(rodape);
    };
    pagina_->ConfiguracaoMudou = [this] { documento_->GravaConfiguracao(); };
    // A stale page is not laid out behind the valuer's back: the system may hold another fit.
    pagina_->PodeContar = [this] { return relatorioAtual_; };
    pagina_->ZoomMudou = [this](int z) {
        if (z != cfg_.ZoomRelatorio) MudaZoom(z);
    };
    pagina_->MostraLista(cfg_.ListaItens);
    pagina_->MostraReguas(reguas_);
    paginas_->addTab(pagina_, Q(kAbaRelatorio));
    relatorioAtual_ = true;
    paginas_->setCurrentWidget(pagina_);
    pagina_->MostraPagina(1, 0);
    AtualizaComandosRelatorio();
    return true;
}

void TFZELTO::DescartaRelatorio() {
    if (!pagina_) return;
    paginas_->setCurrentIndex(0);
    paginas_->removeTab(paginas_->indexOf(pagina_));
    delete pagina_;
    pagina_ = nullptr;
    relatorioAtual_ = false;
    AtualizaComandosRelatorio();
}

void TFZELTO::AtualizaComandosRelatorio() {
    const bool existe = pagina_ != nullptr;
    for (const char *n : {"Visualizar", "ExportarRelatorio", "ImprimirRelatorio", "ListaItens",
                          "MostrarReguas", "AmpliaRelatorio", "ReduzRelatorio"})
        if (QAction *a = Acao(QString::fromLatin1(n))) a->setEnabled(existe);
    // F5 names the page it leads to.
    Acao(QStringLiteral("Visualizar"))
        ->setText(existe && paginas_->currentWidget() == pagina_ ? QStringLiteral("&Visualizar Planilha")
                                                                 : QStringLiteral("&Visualizar Relatório"));
    // The settings are read after the commands were made: their state follows here.
    Acao(QStringLiteral("ListaItens"))->setChecked(cfg_.ListaItens);
    if (zoom_) {
        zoom_->setEnabled(existe);
        const QSignalBlocker b(zoom_);
        const int i = zoom_->findText(TextoZoom(cfg_.ZoomRelatorio));
        if (i >= 0) zoom_->setCurrentIndex(i);
    }
    if (!existe) return;
    // Once the choice is gone (the worksheet, the subject or the mode changed), the page is
    // stale; it stays as drawn until a report is built again.
    if (!modelos_.Pesquisa().ResultadosValidos && !atualizadoSemPesquisa_) relatorioAtual_ = false;
    paginas_->setTabText(paginas_->indexOf(pagina_),
                         Q(relatorioAtual_ ? kAbaRelatorio : kAbaRelatorioDesatualizado));
}

void TFZELTO::MarcaRelatorioDesatualizado() {
    relatorioAtual_ = false;
    atualizadoSemPesquisa_ = false;
    AtualizaComandosRelatorio();
}

bool TFZELTO::AtualizaRelatorioDesatualizado() {
    if (relatorioAtual_) return true;
    if (!modelos_.TemAjusteEscolhido()) return false;
    if (ConfirmaAtualizacao ? !ConfirmaAtualizacao() : !PerguntaAtualizacao(this)) return false;
    // The same model on the data as they are now; the samples' sanitation marks stay.
    if (!modelos_.ReajustaEscolhido()) {
        const std::string motivo = modelos_.Sistema().MotivoRecusa();
        Avisa(std::string(kSemAtualizacao) + (motivo.empty() ? "" : "\r\n\r\nMotivo: " + motivo + "."));
        return false;
    }
    modelos_.GuardaAjuste();
    const int pagina = pagina_ ? pagina_->PaginaAtual() : 1;
    atualizadoSemPesquisa_ = true;
    const int atual = paginas_->currentIndex();
    if (!ConstroiRelatorio()) {
        atualizadoSemPesquisa_ = false;
        return false;
    }
    paginas_->setCurrentIndex(atual);
    pagina_->MostraPagina(pagina, 0);
    return relatorioAtual_;
}

void TFZELTO::ExportaRelatorio() {
    Comando();
    if (!pagina_) return;
    // A document never mixes the values of two states of the worksheet.
    if (!relatorioAtual_ && !AtualizaRelatorioDesatualizado()) return;
    QString arquivo;
    if (EscolheArquivoExportacao) {
        arquivo = QString::fromStdString(EscolheArquivoExportacao());
    } else {
        QString filtro;
        const QString padrao = QFileInfo(QString::fromStdString(doc_.Arquivo())).completeBaseName() +
                               QStringLiteral(".doc");
        arquivo = QFileDialog::getSaveFileName(this, Q("Arquivo de relatório :"),
                                               QDir(QString::fromStdString(doc_.PastaArquivos())).filePath(padrao),
                                               FiltroExportacao(), &filtro,
                                               QFileDialog::DontConfirmOverwrite);
        if (!arquivo.isEmpty() && QFileInfo(arquivo).suffix().isEmpty())
            arquivo += ExtensaoDoFiltro(filtro);
    }
    if (arquivo.isEmpty()) return;
    // The report never takes the place of the worksheet it was made from, by any name.
    if (MesmoArquivoFisico(QFile::encodeName(arquivo).toStdString(), doc_.Arquivo())) {
        Avisa("O arquivo " + QFileInfo(arquivo).fileName().toUpper().toStdString() +
              " é a planilha aberta: o relatório não é gravado sobre ela.");
        return;
    }
    if (QFileInfo::exists(arquivo) &&
        ConfirmaSimNao("O arquivo \r\n" + QFileInfo(arquivo).fileName().toUpper().toStdString() +
                       " já existe.\r\n\r\nDeseja gravar os dados sobre este arquivo?") != Resposta::Sim)
        return;
    QString erro;
    bool ok = false;
    const int pagina = pagina_->PaginaAtual();
    const int y = pagina_->Area()->verticalScrollBar()->value();
    ExecutaComProgresso(this, [&](TProgresso &p) { ok = TDocumentoRelatorio::Exporta(*pagina_, arquivo, &p, erro); });
    pagina_->MostraPagina(pagina, y);
    if (!ok && !erro.isEmpty()) Avisa(erro.toStdString());
}

void TFZELTO::ImprimeRelatorio() {
    Comando();
    if (!pagina_) return;
    if (!relatorioAtual_ && !AtualizaRelatorioDesatualizado()) return;
    if (!impressora_) impressora_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter &pr = *impressora_;
    pr.setFullPage(true);
    pr.setFromTo(0, 0);
    if (!DialogoDeImpressao(pr, pagina_->TotalPaginas())) return;
    const int copias = std::max(1, pr.copyCount());
    pr.setCopyCount(1);
    const int de = pr.fromPage() > 0 ? pr.fromPage() : 1;
    const int ate = pr.toPage() > 0 ? pr.toPage() : 1 << 30;
    const int pagina = pagina_->PaginaAtual();
    const int y = pagina_->Area()->verticalScrollBar()->value();
    const QString legenda = paginas_->tabText(0);
    for (int k = 1; k <= copias; ++k) {
        pr.setDocName(TituloImpressao(legenda, k));
        bool ok = true;
        if (!ExecutaComProgresso(this, [&](TProgresso &p) {
                ok = TDocumentoRelatorio::Imprime(*pagina_, &pr, de, ate, k, &p);
            }) || !ok) {
            pr.abort();
            break;
        }
    }
    pagina_->MostraPagina(pagina, y);
}

bool TFZELTO::DialogoDeImpressao(QPrinter &pr, int paginas) {
    if (DialogoImpressao) return DialogoImpressao(pr);
    QPrintDialog d(&pr, this);
    d.setOption(QAbstractPrintDialog::PrintPageRange, paginas != 0);
    if (paginas != 0) d.setMinMax(1, paginas > 0 ? paginas : 9999);
    return d.exec() == QDialog::Accepted;
}

bool TFZELTO::ImprimeItens(const std::vector<std::string> &classes) {
    if (!impressora_) impressora_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter &pr = *impressora_;
    pr.setFullPage(true);
    pr.setFromTo(0, 0);
    if (!DialogoDeImpressao(pr, 0)) return false;
    pr.setDocName(TituloImpressao(paginas_->tabText(0), 1));
    bool ok = false;
    ExecutaComProgresso(this, [&](TProgresso &p) {
        ok = documento_->ImprimeItens(classes, modelos_.Sistema(), grid_, &modelos_.Pesquisa(), modelos_.Significancias(),
                                      &pr, &p);
    });
    if (!ok) pr.abort();
    return ok;
}

void TFZELTO::ImprimeTabelaAmostragens() {
    Comando();
    if (!impressora_) impressora_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // The print dialog comes first; an empty worksheet is told after it.
    if (!doc_.TemDados()) {
        if (DialogoDeImpressao(*impressora_, 0)) Avisa(kTabelaVazia);
        return;
    }
    ImprimeItens({"TIA_Amostragem"});
}

} // namespace zelto
