#include "gui/mainwindow/ComandosRelatorio.h"

#include "files/ConfiguracaoGeral.h"
#include "gui/mainwindow/ComandosModelo.h"
#include "gui/mainwindow/DocumentoPlanilha.h"

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
#include <QMainWindow>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>

namespace zelto {

namespace {

constexpr const char *kAbaRelatorio = "Relatório";
constexpr const char *kAbaRelatorioDesatualizado = "Relatório (desatualizado)";
constexpr const char *kSemItens =
    "Não há itens de relatório selecionados.\r\nDeseja selecioná-los ?";
constexpr const char *kTabelaVazia = "A tabela de amostragens está vazia.";

// The settings dialog opened on its items tab (the first item current).
constexpr int kAbaItens = 0;

constexpr const char *kPerguntaAtualizacao =
    "O relatório está desatualizado: a planilha mudou depois que ele foi feito.\r\n"
    "Ele será atualizado com o mesmo modelo antes de prosseguir.";
constexpr const char *kSemAtualizacao =
    "O relatório não pode ser atualizado: o modelo escolhido não pode ser ajustado aos dados "
    "atuais da planilha. Escolha um modelo novamente.";

QString Q(const char *t) {
    return QString::fromUtf8(t);
}

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

TComandosRelatorio::TComandosRelatorio(TServicosJanela &janela, TRespostasUsuario &respostas,
                                       TDocumentoPlanilha &doc, TComandosModelo &modelos,
                                       TConfiguracaoGeral &cfg, QTabWidget *paginas)
    : janela_(janela), r_(respostas), doc_(doc), grid_(doc.Grid()), modelos_(modelos), cfg_(cfg),
      paginas_(paginas), documento_(std::make_unique<TDocumentoRelatorio>()) {
    // What the user answers, unless a test answers instead.
    DialogoConfiguraRelatorio = [this](int item) {
        return documento_->DialogoConfiguracao(janela_.Janela(), grid_.Modo.Inferencial, item);
    };
    DialogoConfiguraItem = [this](int item, const std::optional<QPointF> &ponto) {
        return documento_->DialogoItem(janela_.Janela(), item, grid_.Modo.Inferencial, ponto);
    };
    DialogoCabecalhoRodape = [this](bool rodape) {
        return documento_->DialogoCabecalhoRodape(janela_.Janela(), rodape);
    };
}

// The page is deleted with the window's pages.
TComandosRelatorio::~TComandosRelatorio() = default;

void TComandosRelatorio::MudaZoomPorTexto(const QString &t) {
    MudaZoom(LeZoom(t, AreaZoom()));
    // The keys go back to the page: Page Down after a choice turns the page, not the zoom.
    if (pagina_ && paginas_->currentWidget() == pagina_) pagina_->Superficie()->setFocus();
}

TAreaZoom TComandosRelatorio::AreaZoom() const {
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

void TComandosRelatorio::MudaZoom(int zoom) {
    zoom = LimitaZoom(zoom);
    if (zoom != cfg_.ZoomRelatorio) {
        cfg_.ZoomRelatorio = zoom;
        janela_.GravaChave("ZRl");
    }
    if (zoom_) {
        const QSignalBlocker b(zoom_);
        const int i = zoom_->findText(TextoZoom(zoom));
        if (i >= 0)
            zoom_->setCurrentIndex(i);
        else
            zoom_->setEditText(TextoZoom(zoom));
    }
    if (pagina_) pagina_->DefineZoom(zoom);
}

void TComandosRelatorio::AlternaListaItens() {
    cfg_.ListaItens = !cfg_.ListaItens;
    janela_.GravaChave("LocIt");
    janela_.Acao(QStringLiteral("ListaItens"))->setChecked(cfg_.ListaItens);
    if (pagina_) pagina_->MostraLista(cfg_.ListaItens);
}

void TComandosRelatorio::AlternaReguas() {
    reguas_ = !reguas_;
    QAction *a = janela_.Acao(QStringLiteral("MostrarReguas"));
    a->setChecked(reguas_);
    a->setToolTip(Q(reguas_ ? "Ocultar réguas" : "Mostrar réguas"));
    if (pagina_) pagina_->MostraReguas(reguas_);
}

bool TComandosRelatorio::AbreConfiguracaoRelatorio(int itemInicial) {
    if (!DialogoConfiguraRelatorio) return false;
    if (!DialogoConfiguraRelatorio(itemInicial)) return false;
    documento_->GravaConfiguracao();
    if (pagina_) pagina_->Relayout();
    return true;
}

void TComandosRelatorio::ConfiguraRelatorio() {
    janela_.Comando();
    AbreConfiguracaoRelatorio(-1);
    janela_.Atualiza();
}

// Steps 3 to 5 of the choice: the items, the header's file name, the report built and shown.
bool TComandosRelatorio::ConstroiRelatorio() {
    // Asked again after the settings until an item is chosen or the valuer gives up.
    while (!documento_->AlgumItemSelecionado(grid_.Modo.Inferencial)) {
        if (r_.ConfirmaSimNao(kSemItens) != Resposta::Sim) return false;
        AbreConfiguracaoRelatorio(kAbaItens);
    }
    // The header names the worksheet only when it has a file of its own.
    grid_.NomeArquivo = doc_.SemArquivo() ? std::string() : doc_.Arquivo();
    DescartaRelatorio();
    std::unique_ptr<TPaginaRelatorio> p;
    try {
        p = documento_->Constroi(modelos_.Sistema(), grid_, &modelos_.Pesquisa(),
                                 modelos_.Significancias(), cfg_.ZoomRelatorio, janela_.Janela(),
                                 nullptr);
    } catch (const std::bad_alloc &) {
        r_.Avisa(kPoucaMemoria);
        return false;
    }
    if (!p) return false;
    pagina_ = p.release();
    pagina_->Avisa = [this](const std::string &t) { r_.Avisa(t); };
    pagina_->ExecutaLonga = [this](const std::function<void(TProgresso &)> &t) {
        return ExecutaComProgresso(janela_.Janela(), t);
    };
    pagina_->ConfiguraItem = [this](int item, const std::optional<QPointF> &ponto) {
        return DialogoConfiguraItem ? DialogoConfiguraItem(item, ponto) : -1;
    };
    pagina_->ConfiguraCabecalhoRodape = [this](bool rodape) {
        return DialogoCabecalhoRodape && DialogoCabecalhoRodape(rodape);
    };
    pagina_->ConfiguracaoMudou = [this] { documento_->GravaConfiguracao(); };
    // A stale page is not laid out behind the valuer's back: the system may hold another fit.
    pagina_->PodeContar = [this] { return atual_; };
    pagina_->ZoomMudou = [this](int z) {
        if (z != cfg_.ZoomRelatorio) MudaZoom(z);
    };
    pagina_->MostraLista(cfg_.ListaItens);
    pagina_->MostraReguas(reguas_);
    paginas_->addTab(pagina_, Q(kAbaRelatorio));
    atual_ = true;
    paginas_->setCurrentWidget(pagina_);
    pagina_->MostraPagina(1, 0);
    janela_.AtualizaComandosRelatorio();
    return true;
}

void TComandosRelatorio::DescartaRelatorio() {
    if (!pagina_) return;
    paginas_->setCurrentIndex(0);
    paginas_->removeTab(paginas_->indexOf(pagina_));
    delete pagina_;
    pagina_ = nullptr;
    atual_ = false;
    janela_.AtualizaComandosRelatorio();
}

void TComandosRelatorio::AtualizaAba() {
    if (!pagina_) return;
    // Once the choice is gone (the worksheet, the subject or the mode changed), the page is
    // stale; it stays as drawn until a report is built again.
    if (!modelos_.Pesquisa().ResultadosValidos && !atualizadoSemPesquisa_) atual_ = false;
    paginas_->setTabText(paginas_->indexOf(pagina_),
                         Q(atual_ ? kAbaRelatorio : kAbaRelatorioDesatualizado));
}

void TComandosRelatorio::MarcaDesatualizado() {
    atual_ = false;
    atualizadoSemPesquisa_ = false;
    janela_.AtualizaComandosRelatorio();
}

bool TComandosRelatorio::AtualizaRelatorioDesatualizado() {
    if (atual_) return true;
    if (!modelos_.TemAjusteEscolhido()) return false;
    if (ConfirmaAtualizacao ? !ConfirmaAtualizacao() : !PerguntaAtualizacao(janela_.Janela()))
        return false;
    // The same model on the data as they are now; the samples' sanitation marks stay.
    if (!modelos_.ReajustaEscolhido()) {
        const std::string motivo = modelos_.Sistema().MotivoRecusa();
        r_.Avisa(std::string(kSemAtualizacao) +
                 (motivo.empty() ? "" : "\r\n\r\nMotivo: " + motivo + "."));
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
    return atual_;
}

void TComandosRelatorio::ExportaRelatorio() {
    janela_.Comando();
    if (!pagina_) return;
    // A document never mixes the values of two states of the worksheet.
    if (!atual_ && !AtualizaRelatorioDesatualizado()) return;
    QString arquivo;
    if (EscolheArquivoExportacao) {
        arquivo = QString::fromStdString(EscolheArquivoExportacao());
    } else {
        QString filtro;
        const QString padrao =
            QFileInfo(QString::fromStdString(doc_.Arquivo())).completeBaseName() +
            QStringLiteral(".doc");
        arquivo = QFileDialog::getSaveFileName(
            janela_.Janela(), Q("Arquivo de relatório :"),
            QDir(QString::fromStdString(doc_.PastaArquivos())).filePath(padrao), FiltroExportacao(),
            &filtro, QFileDialog::DontConfirmOverwrite);
        if (!arquivo.isEmpty() && QFileInfo(arquivo).suffix().isEmpty())
            arquivo += ExtensaoDoFiltro(filtro);
    }
    if (arquivo.isEmpty()) return;
    // The report never takes the place of the worksheet it was made from, by any name.
    if (MesmoArquivoFisico(QFile::encodeName(arquivo).toStdString(), doc_.Arquivo())) {
        r_.Avisa("O arquivo " + QFileInfo(arquivo).fileName().toUpper().toStdString() +
                 " é a planilha aberta: o relatório não é gravado sobre ela.");
        return;
    }
    if (QFileInfo::exists(arquivo) &&
        r_.ConfirmaSimNao("O arquivo \r\n" + QFileInfo(arquivo).fileName().toUpper().toStdString() +
                          " já existe.\r\n\r\nDeseja gravar os dados sobre este arquivo?") !=
            Resposta::Sim)
        return;
    QString erro;
    bool ok = false;
    const int pagina = pagina_->PaginaAtual();
    const int y = pagina_->Area()->verticalScrollBar()->value();
    ExecutaComProgresso(janela_.Janela(), [&](TProgresso &p) {
        ok = TDocumentoRelatorio::Exporta(*pagina_, arquivo, &p, erro);
    });
    pagina_->MostraPagina(pagina, y);
    if (!ok && !erro.isEmpty()) r_.Avisa(erro.toStdString());
}

void TComandosRelatorio::ImprimeRelatorio() {
    janela_.Comando();
    if (!pagina_) return;
    if (!atual_ && !AtualizaRelatorioDesatualizado()) return;
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
        if (!ExecutaComProgresso(janela_.Janela(),
                                 [&](TProgresso &p) {
                                     ok = TDocumentoRelatorio::Imprime(*pagina_, &pr, de, ate, k,
                                                                       &p);
                                 }) ||
            !ok) {
            pr.abort();
            break;
        }
    }
    pagina_->MostraPagina(pagina, y);
}

bool TComandosRelatorio::DialogoDeImpressao(QPrinter &pr, int paginas) {
    if (DialogoImpressao) return DialogoImpressao(pr);
    QPrintDialog d(&pr, janela_.Janela());
    d.setOption(QAbstractPrintDialog::PrintPageRange, paginas != 0);
    if (paginas != 0) d.setMinMax(1, paginas > 0 ? paginas : 9999);
    return d.exec() == QDialog::Accepted;
}

bool TComandosRelatorio::ImprimeItens(const std::vector<std::string> &classes) {
    if (!impressora_) impressora_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter &pr = *impressora_;
    pr.setFullPage(true);
    pr.setFromTo(0, 0);
    if (!DialogoDeImpressao(pr, 0)) return false;
    pr.setDocName(TituloImpressao(paginas_->tabText(0), 1));
    bool ok = false;
    ExecutaComProgresso(janela_.Janela(), [&](TProgresso &p) {
        ok = documento_->ImprimeItens(classes, modelos_.Sistema(), grid_, &modelos_.Pesquisa(),
                                      modelos_.Significancias(), &pr, &p);
    });
    if (!ok) pr.abort();
    return ok;
}

void TComandosRelatorio::ImprimeTabelaAmostragens() {
    janela_.Comando();
    if (!impressora_) impressora_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // The print dialog comes first; an empty worksheet is told after it.
    if (!doc_.TemDados()) {
        if (DialogoDeImpressao(*impressora_, 0)) r_.Avisa(kTabelaVazia);
        return;
    }
    ImprimeItens({"TIA_Amostragem"});
}

} // namespace zelto
