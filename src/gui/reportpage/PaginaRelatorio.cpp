#include "gui/reportpage/PaginaRelatorio.h"

#include "common/Marcacao.h"
#include "config/ConfiguracaoRelatorio.h"
#include "evaluation/Avaliacao.h"
#include "view/PaginacaoRelatorio.h"
#include "gui/dialogs/FProgressao.h"
#include "gui/reportpage/ReguaRelatorio.h"
#include "view/ImpressaoRelatorio.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <new>

namespace zelto {

namespace {

constexpr int kEspaco = TReguaRelatorio::Espaco;
constexpr int kPassoTecla = 10;      // pixels an arrow key scrolls
constexpr int kAlturaItemTopo = 20;  // the item listed is the one this far below the top
constexpr int kLinhasCaixa = 3;
constexpr int kLarguraLinhaCaixa = 80;

// The wait cursor for the life of a scope.
struct TCursorEspera {
    TCursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TCursorEspera() { QApplication::restoreOverrideCursor(); }
};

} // namespace

int DeslocamentoSombra(int zoom) {
    return std::clamp(static_cast<int>(std::lround(zoom * 20 / 100.0)), 5, 30);
}

// ---- Surface --------------------------------------------------------------------------------

TSuperficiePagina::TSuperficiePagina(TPaginaRelatorio &pagina, QWidget *parent)
    : QWidget(parent), pagina_(pagina) {
    setObjectName(QStringLiteral("ImagemPagina"));
    setFocusPolicy(Qt::StrongFocus);
}

void TSuperficiePagina::Ajusta() {
    setFixedSize(pagina_.AlcanceRolagem());
    update();
}

QPoint TSuperficiePagina::PixelImagem(QPoint p) { return p - QPoint(kEspaco, kEspaco); }

void TSuperficiePagina::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), QColor(128, 128, 128));
    const QImage &imagem = pagina_.Imagem();
    const int sombra = DeslocamentoSombra(pagina_.Zoom());
    p.fillRect(QRect(QPoint(kEspaco + sombra, kEspaco + sombra), imagem.size()), QColor(40, 40, 40));
    p.drawImage(QPoint(kEspaco, kEspaco), imagem);
    // The guides of a ruler drag, drawn by inverting what lies under them.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 1, Qt::DotLine));
    if (GuiaX >= 0) p.drawLine(kEspaco + GuiaX, 0, kEspaco + GuiaX, height());
    if (GuiaY >= 0) p.drawLine(0, kEspaco + GuiaY, width(), kEspaco + GuiaY);
}

void TSuperficiePagina::mousePressEvent(QMouseEvent *e) {
    if (e->button() == Qt::LeftButton) pagina_.Clique(PixelImagem(e->position().toPoint()));
}

void TSuperficiePagina::mouseDoubleClickEvent(QMouseEvent *e) {
    if (e->button() == Qt::LeftButton) pagina_.DuploClique(PixelImagem(e->position().toPoint()));
}

// ---- Page -----------------------------------------------------------------------------------

TPaginaRelatorio::TPaginaRelatorio(TSistema &sistema, TListaItens &itens,
                                   TConfiguracaoRelatorio &configuracao,
                                   const TContextoItem &contexto, int zoom, QWidget *parent)
    : QWidget(parent), itens_(itens), configuracao_(configuracao),
      avaliacao_(std::make_unique<TAvaliacao>(sistema)), zoom_(std::clamp(zoom, 25, 200)) {
    setObjectName(QStringLiteral("PaginaRelatorio"));
    paginacao_ = std::make_unique<TPaginacao>(*avaliacao_, itens_, contexto, configuracao_);
    dpi_ = std::max(1, logicalDpiY());

    // The item list, with its settings button, at the side.
    painelLista_ = new QWidget(this);
    auto *colunaLista = new QVBoxLayout(painelLista_);
    colunaLista->setContentsMargins(0, 0, 0, 0);
    lista_ = new QListView(painelLista_);
    lista_->setObjectName(QStringLiteral("ListaItens"));
    lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    modeloItens_ = new TModeloItensRelatorio(lista_);
    modeloItens_->Define(itens_, contexto.Inferencial);
    lista_->setModel(modeloItens_);
    configurar_ = new QPushButton(QStringLiteral("Configurar Relatório"), painelLista_);
    configurar_->setObjectName(QStringLiteral("ConfigurarItem"));
    colunaLista->addWidget(lista_);
    colunaLista->addWidget(configurar_);

    // The image with its rulers, under the page indicator.
    auto *painelPagina = new QWidget(this);
    auto *colunaPagina = new QVBoxLayout(painelPagina);
    colunaPagina->setContentsMargins(0, 0, 0, 0);
    colunaPagina->setSpacing(2);
    auto *indicador = new QHBoxLayout;
    indicador->setContentsMargins(4, 2, 4, 0);
    auto *rotuloPagina = new QLabel(QStringLiteral("&Página"), painelPagina);
    caixaPagina_ = new QLineEdit(painelPagina);
    caixaPagina_->setObjectName(QStringLiteral("CaixaPagina"));
    caixaPagina_->setValidator(new QIntValidator(1, 99999, caixaPagina_));
    caixaPagina_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caixaPagina_->setFixedWidth(caixaPagina_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 14);
    caixaPagina_->setToolTip(QStringLiteral("Digite o número de uma página e tecle Enter"));
    rotuloPagina->setBuddy(caixaPagina_);
    rotuloTotal_ = new QLabel(painelPagina);
    rotuloTotal_->setObjectName(QStringLiteral("TotalPaginas"));
    contagem_ = new QTimer(this);
    contagem_->setSingleShot(true);
    connect(contagem_, &QTimer::timeout, this, &TPaginaRelatorio::ContaPaginas);
    indicador->addWidget(rotuloPagina);
    indicador->addWidget(caixaPagina_);
    indicador->addWidget(rotuloTotal_);
    indicador->addStretch(1);
    colunaPagina->addLayout(indicador);
    auto *grade = new QGridLayout;
    grade->setContentsMargins(0, 0, 0, 0);
    grade->setSpacing(0);
    colunaPagina->addLayout(grade, 1);
    canto_ = new QWidget(painelPagina);
    canto_->setFixedSize(TReguaRelatorio::Espessura, TReguaRelatorio::Espessura);
    reguaH_ = new TReguaRelatorio(Qt::Horizontal, painelPagina);
    reguaV_ = new TReguaRelatorio(Qt::Vertical, painelPagina);
    area_ = new QScrollArea(painelPagina);
    area_->setObjectName(QStringLiteral("AreaPagina"));
    area_->setFrameShape(QFrame::NoFrame);
    area_->setBackgroundRole(QPalette::Dark);
    area_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    superficie_ = new TSuperficiePagina(*this);
    area_->setWidget(superficie_);
    area_->setWidgetResizable(false);
    grade->addWidget(canto_, 0, 0);
    grade->addWidget(reguaH_, 0, 1);
    grade->addWidget(reguaV_, 1, 0);
    grade->addWidget(area_, 1, 1);

    caixa_ = new QLabel(area_->viewport());
    caixa_->setObjectName(QStringLiteral("CaixaPonto"));
    caixa_->setFrameShape(QFrame::Box);
    caixa_->setAutoFillBackground(true);
    QPalette pc = caixa_->palette();
    pc.setColor(QPalette::Window, QColor(255, 255, 225));
    pc.setColor(QPalette::WindowText, Qt::black);
    caixa_->setPalette(pc);
    caixa_->hide();

    divisor_ = new QSplitter(Qt::Horizontal, this);
    divisor_->addWidget(painelLista_);
    divisor_->addWidget(painelPagina);
    divisor_->setStretchFactor(1, 1);
    // The list as wide as its titles need, within reason (the bar beside it widens it more).
    const int larguraLista = lista_->sizeHintForColumn(0) + lista_->verticalScrollBar()->sizeHint().width() +
                             2 * lista_->frameWidth() + 6;
    divisor_->setSizes({std::clamp(larguraLista, 220, 340), 800});
    // The bar turns grey while it is held.
    divisor_->setStyleSheet(QStringLiteral("QSplitter::handle:pressed { background: gray; }"));
    auto *raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 0);
    raiz->addWidget(divisor_);

    connect(area_->horizontalScrollBar(), &QScrollBar::valueChanged, reguaH_, &TReguaRelatorio::Rola);
    connect(area_->verticalScrollBar(), &QScrollBar::valueChanged, reguaV_, &TReguaRelatorio::Rola);
    connect(lista_, &QListView::clicked, this, [this](const QModelIndex &i) { EscolheLinha(i.row()); });
    connect(lista_, &QListView::activated, this, [this](const QModelIndex &i) { EscolheLinha(i.row()); });
    connect(configurar_, &QPushButton::clicked, this, [this] { ConfiguraItemDaLista(); });
    connect(caixaPagina_, &QLineEdit::returnPressed, this, [this] { IrParaPaginaDigitada(); });
    reguaH_->GuiaMudou = [this](int g) {
        superficie_->GuiaX = g;
        superficie_->update();
    };
    reguaV_->GuiaMudou = [this](int g) {
        superficie_->GuiaY = g;
        superficie_->update();
    };
    reguaH_->MargensMudaram = [this](int esquerda, int direita) {
        configuracao_.MargemEsquerda = static_cast<std::uint16_t>(esquerda);
        configuracao_.MargemDireita = static_cast<std::uint16_t>(direita);
        if (ConfiguracaoMudou) ConfiguracaoMudou();
        Relayout();
    };
    reguaV_->MargensMudaram = [this](int superior, int inferior) {
        configuracao_.MargemSuperior = static_cast<std::uint16_t>(superior);
        configuracao_.MargemInferior = static_cast<std::uint16_t>(inferior);
        if (ConfiguracaoMudou) ConfiguracaoMudou();
        Relayout();
    };
    for (QObject *o : {static_cast<QObject *>(area_), static_cast<QObject *>(area_->viewport()),
                       static_cast<QObject *>(superficie_), static_cast<QObject *>(lista_)})
        o->installEventFilter(this);
    AtualizaCorLista(false);
    AtualizaIndicador();
}

TPaginaRelatorio::~TPaginaRelatorio() = default;

QString TPaginaRelatorio::TextoIndicador() const {
    return QStringLiteral("Página %1 %2").arg(caixaPagina_->text(), rotuloTotal_->text());
}

void TPaginaRelatorio::AtualizaIndicador() {
    caixaPagina_->setText(QString::number(pagina_));
    const int total = TotalPaginas();
    rotuloTotal_->setText(total >= 1 ? QStringLiteral("de %1").arg(total) : QStringLiteral("de ?"));
    rotuloTotal_->setToolTip(total >= 1 ? QString()
                                        : QStringLiteral("Contando as páginas..."));
    if (total < 0 && paginacao_->View() && !contagem_->isActive()) contagem_->start(0);
}

void TPaginaRelatorio::ContaPaginas() {
    // A few pages per step keep every step short: the page answers keys and clicks meanwhile.
    constexpr int kPaginasPorPasso = 2;
    if (TotalPaginas() >= 0 || !paginacao_->View()) return;
    if (PodeContar && !PodeContar()) return; // counted again when the page is next drawn
    if (!isEnabled() || TrabalhoEmAndamento()) {
        contagem_->start(250);
        return;
    }
    bool conhecido = true;
    try {
        conhecido = paginacao_->AvancaContagem(kPaginasPorPasso);
    } catch (const std::bad_alloc &) {
        return; // the count stays unknown; going to the last page still counts
    }
    if (conhecido) AtualizaIndicador();
    else contagem_->start(0);
}

void TPaginaRelatorio::IrParaPaginaDigitada() {
    bool ok = false;
    const int p = caixaPagina_->text().toInt(&ok);
    // A page beyond the end shows the last one.
    if (ok && p >= 1) MostraPagina(p, 0);
    else AtualizaIndicador();
    superficie_->setFocus();
}

bool TPaginaRelatorio::Inferencial() const { return paginacao_->Contexto().Inferencial; }

int TPaginaRelatorio::TotalPaginas() const {
    const TViewRelat *v = paginacao_->View();
    return v ? v->TotalPages : -1;
}

void TPaginaRelatorio::ExecutaSeguro(const std::function<void()> &f) {
    try {
        f();
    } catch (const std::bad_alloc &) {
        if (Avisa) Avisa(kPoucaMemoria);
    }
}

void TPaginaRelatorio::DimensionaImagem() {
    const TConfiguracaoRelatorio &c = configuracao_;
    const double px = dpi_ / 25.4 * zoom_ / 100.0;
    imagem_ = QImage(std::max(1, static_cast<int>(std::lround(c.LarguraPagina * px))),
                     std::max(1, static_cast<int>(std::lround(c.AlturaPagina * px))),
                     QImage::Format_RGB32);
    const int ppm = static_cast<int>(std::lround(dpi_ / 0.0254));
    imagem_.setDotsPerMeterX(ppm);
    imagem_.setDotsPerMeterY(ppm);
    imagem_.fill(Qt::white);
    if (TViewRelat *v = paginacao_->View()) {
        v->SetCanvas(&imagem_);
        v->Zoom = zoom_;
    }
    superficie_->Ajusta();
    AtualizaReguas();
}

void TPaginaRelatorio::AtualizaReguas() {
    const TConfiguracaoRelatorio &c = configuracao_;
    reguaH_->Define(c.LarguraPagina, c.MargemEsquerda, c.MargemDireita, zoom_, dpi_);
    reguaV_->Define(c.AlturaPagina, c.MargemSuperior, c.MargemInferior, zoom_, dpi_);
    reguaH_->Rola(area_->horizontalScrollBar()->value());
    reguaV_->Rola(area_->verticalScrollBar()->value());
}

bool TPaginaRelatorio::Constroi(TProgresso *progresso) {
    pagina_ = 1;
    DimensionaImagem();
    bool ok = false;
    ExecutaSeguro([&] {
        QPainter limpa(&imagem_);
        limpa.setPen(Qt::black);
        limpa.drawRect(imagem_.rect().adjusted(0, 0, -1, -1));
        limpa.end();
        ok = paginacao_->RefreshReport(&imagem_, zoom_, progresso);
    });
    area_->verticalScrollBar()->setValue(0);
    area_->horizontalScrollBar()->setValue(0);
    superficie_->update();
    AtualizaIndicador();
    return ok;
}

bool TPaginaRelatorio::Desenha() {
    caixa_->hide();
    bool ok = false;
    ExecutaSeguro([&] {
        imagem_.fill(Qt::white);
        {
            QPainter p(&imagem_);
            p.setPen(Qt::black);
            p.drawRect(imagem_.rect().adjusted(0, 0, -1, -1));
        }
        paginacao_->RenderPage(pagina_);
        ok = true;
    });
    superficie_->update();
    AtualizaIndicador();
    return ok;
}

void TPaginaRelatorio::MostraPagina(int p, int y) {
    if (!paginacao_->View()) return;
    TCursorEspera espera;
    QScrollBar *v = area_->verticalScrollBar();
    const int antes = v->value();
    if (p < 0) {
        int total = TotalPaginas();
        if (total < 0) {
            bool semMemoria = false;
            auto trabalho = [&](TProgresso &pr) {
                try {
                    total = Repagina(*paginacao_, &pr);
                } catch (const std::bad_alloc &) {
                    semMemoria = true;
                }
            };
            if (ExecutaLonga) ExecutaLonga(trabalho);
            else {
                TProgresso nenhum;
                trabalho(nenhum);
            }
            if (semMemoria && Avisa) Avisa(kPoucaMemoria);
        }
        p = std::max(1, total);
    }
    pagina_ = std::max(1, p);
    v->setValue(y);
    Desenha();
    const int total = TotalPaginas();
    if (total >= 1 && total < pagina_) {
        pagina_ = total;
        Desenha();
        v->setValue(antes);
    }
}

void TPaginaRelatorio::Relayout() {
    if (!paginacao_->View()) return;
    ExecutaSeguro([&] {
        DimensionaImagem();
        paginacao_->ConfiguracaoMudou();
    });
    modeloItens_->Define(itens_, Inferencial());
    MostraPagina(pagina_, area_->verticalScrollBar()->value());
}

void TPaginaRelatorio::ItemMudou(int item) {
    if (!paginacao_->View()) return;
    paginacao_->Invalidate(std::max(0, item));
    modeloItens_->Define(itens_, Inferencial());
    MostraPagina(pagina_, area_->verticalScrollBar()->value());
}

void TPaginaRelatorio::DefineZoom(int zoom) {
    zoom = std::clamp(zoom, 25, 200);
    if (zoom == zoom_) return;
    zoom_ = zoom;
    if (ZoomMudou) ZoomMudou(zoom_);
    if (!paginacao_->View()) return;
    // The layout is in twips: a new zoom only needs the image at its new size.
    ExecutaSeguro([&] { DimensionaImagem(); });
    MostraPagina(pagina_, area_->verticalScrollBar()->value());
}

void TPaginaRelatorio::MostraLista(bool mostra) {
    listaVisivel_ = mostra;
    painelLista_->setVisible(mostra);
    if (mostra) lista_->setFocus();
    else superficie_->setFocus();
    if (ListaMudou) ListaMudou(mostra);
}

void TPaginaRelatorio::MostraReguas(bool mostra) {
    reguasVisiveis_ = mostra;
    reguaH_->setVisible(mostra);
    reguaV_->setVisible(mostra);
    canto_->setVisible(mostra);
}

void TPaginaRelatorio::EscolheLinha(int linha) {
    caixa_->hide();
    const int item = modeloItens_->Item(linha);
    if (item < 0 || !paginacao_->View()) return;
    TInicioItem inicio;
    {
        TCursorEspera espera;
        ExecutaSeguro([&] { inicio = paginacao_->InicioDoItem(item); });
    }
    if (inicio.Pagina <= 0) return;
    const double escala = paginacao_->View()->EscalaY();
    MostraPagina(inicio.Pagina, kEspaco + static_cast<int>(std::lround(inicio.Y * escala)));
}

int TPaginaRelatorio::ItemNaAltura(int y) const {
    const TViewRelat *v = paginacao_->View();
    if (!v) return -1;
    return paginacao_->ItemAtPosition(static_cast<int>(std::lround(y / v->EscalaY())));
}

void TPaginaRelatorio::SelecionaItemNoTopo() {
    if (!paginacao_->View()) return;
    const int item = ItemNaAltura(area_->verticalScrollBar()->value() + kAlturaItemTopo - kEspaco);
    const int linha = item >= 0 ? modeloItens_->Linha(item) : -1;
    const QSignalBlocker bloqueio(lista_->selectionModel());
    if (linha < 0) lista_->selectionModel()->clearSelection();
    else lista_->setCurrentIndex(modeloItens_->index(linha));
    lista_->viewport()->update();
}

bool TPaginaRelatorio::Tecla(int tecla, Qt::KeyboardModifiers modificadores) {
    if (!paginacao_->View()) return false;
    const bool ctrl = modificadores & Qt::ControlModifier;
    QScrollBar *v = area_->verticalScrollBar();
    QScrollBar *h = area_->horizontalScrollBar();
    const int alturaVisivel = area_->viewport()->height();
    switch (tecla) {
    case Qt::Key_Up: v->setValue(v->value() - kPassoTecla); break;
    case Qt::Key_Down: v->setValue(v->value() + kPassoTecla); break;
    case Qt::Key_Left: h->setValue(h->value() - kPassoTecla); break;
    case Qt::Key_Right: h->setValue(h->value() + kPassoTecla); break;
    case Qt::Key_Home:
        if (ctrl) MostraPagina(1, 0);
        else h->setValue(0);
        break;
    case Qt::Key_End:
        if (ctrl) MostraPagina(-1, 0);
        else h->setValue(BordaDireita());
        break;
    case Qt::Key_PageUp:
        if (v->value() > 0) v->setValue(v->value() - std::min(alturaVisivel, v->value()));
        else if (pagina_ > 1) MostraPagina(pagina_ - 1, Fundo());
        break;
    case Qt::Key_PageDown:
        if (v->value() < Fundo()) v->setValue(std::min(Fundo(), v->value() + alturaVisivel));
        else if (TotalPaginas() < 0 || pagina_ < TotalPaginas()) MostraPagina(pagina_ + 1, 0);
        break;
    default: return false;
    }
    caixa_->hide();
    SelecionaItemNoTopo();
    return true;
}

std::optional<QPoint> TPaginaRelatorio::PixelDoPonto(int item, double x, double y) const {
    const TViewRelat *v = paginacao_->View();
    if (!v) return std::nullopt;
    for (const TAreaGrafico &a : v->AreasGraficas) {
        if (a.Item != item || !a.TemMapa) continue;
        const TMapaEixos &m = a.Mapa;
        const double bx = (x - m.MinimoX) * m.EscalaX + m.OrigemX;
        const double by = (y - m.MinimoY) * m.EscalaY + m.OrigemY;
        return QPoint(a.Retangulo.left() + static_cast<int>(std::lround(bx * a.Retangulo.width() /
                                                                         std::max(1, a.TamanhoImagem.width()))),
                      a.Retangulo.top() + static_cast<int>(std::lround(by * a.Retangulo.height() /
                                                                        std::max(1, a.TamanhoImagem.height()))));
    }
    return std::nullopt;
}

QSize TPaginaRelatorio::AlcanceRolagem() const {
    const int depois = std::max(kEspaco, DeslocamentoSombra(zoom_));
    return imagem_.size() + QSize(kEspaco + depois, kEspaco + depois);
}

int TPaginaRelatorio::Fundo() const {
    return std::max(0, AlcanceRolagem().height() - area_->viewport()->height());
}

int TPaginaRelatorio::BordaDireita() const {
    return std::max(0, AlcanceRolagem().width() - area_->viewport()->width());
}

std::array<int, 4> TPaginaRelatorio::Margens() const {
    const TConfiguracaoRelatorio &c = configuracao_;
    return {c.MargemEsquerda, c.MargemDireita, c.MargemSuperior, c.MargemInferior};
}

void TPaginaRelatorio::Clique(QPoint pixel) {
    std::vector<std::string> linhas;
    ExecutaSeguro([&] { linhas = paginacao_->GraphClick(pixel); });
    QStringList textos;
    bool algum = false;
    for (std::size_t i = 0; i < linhas.size() && i < kLinhasCaixa; ++i) {
        textos << QString::fromStdString(TextoSimples(linhas[i])).left(kLarguraLinhaCaixa);
        algum = algum || !textos.back().isEmpty();
    }
    if (!algum) {
        caixa_->hide();
    } else {
        caixa_->setText(textos.join(QLatin1Char('\n')));
        int largura = 0;
        for (const QString &t : textos)
            largura = std::max(largura, caixa_->fontMetrics().horizontalAdvance(t));
        caixa_->setFixedWidth(largura + 16);
        caixa_->adjustSize();
        // 30 pixels right of and 20 below the click, in the visible area.
        const QPoint visivel = pixel + QPoint(kEspaco, kEspaco) -
                               QPoint(area_->horizontalScrollBar()->value(), area_->verticalScrollBar()->value());
        caixa_->move(visivel + QPoint(30, 20));
        caixa_->show();
        caixa_->raise();
    }
    superficie_->setFocus();
}

void TPaginaRelatorio::DuploClique(QPoint pixel) {
    caixa_->hide();
    if (!paginacao_->View()) return;
    const int alvo = ItemNaAltura(pixel.y());
    if (alvo == kAcimaDoTexto || alvo == kAbaixoDoTexto) {
        if (ConfiguraCabecalhoRodape && ConfiguraCabecalhoRodape(alvo == kAbaixoDoTexto)) {
            if (ConfiguracaoMudou) ConfiguracaoMudou();
            Relayout();
        }
    } else if (alvo >= 0) {
        // On a graph of this item, the chart point under the click goes along.
        std::optional<QPointF> ponto;
        if (const std::optional<TPontoGrafico> g = paginacao_->PontoGrafico(pixel); g && g->Item == alvo)
            ponto = QPointF(g->X, g->Y);
        AbreConfiguracaoItem(alvo, ponto);
    }
    superficie_->setFocus();
}

void TPaginaRelatorio::ConfiguraItemDaLista() {
    const int item = modeloItens_->Item(lista_->currentIndex().row());
    if (item >= 0) AbreConfiguracaoItem(item, std::nullopt);
}

void TPaginaRelatorio::AbreConfiguracaoItem(int item, const std::optional<QPointF> &ponto) {
    if (!ConfiguraItem) return;
    const int primeiro = ConfiguraItem(item, ponto);
    if (primeiro < 0) return;
    if (ConfiguracaoMudou) ConfiguracaoMudou();
    ItemMudou(primeiro);
}

void TPaginaRelatorio::AtualizaCorLista(bool foco) {
    QPalette p = lista_->palette();
    const QColor cor = foco ? QColor(Qt::black) : QColor(128, 128, 128);
    p.setColor(QPalette::Active, QPalette::Text, cor);
    p.setColor(QPalette::Inactive, QPalette::Text, cor);
    lista_->setPalette(p);
}

bool TPaginaRelatorio::eventFilter(QObject *o, QEvent *e) {
    if (o == lista_ && (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut))
        AtualizaCorLista(e->type() == QEvent::FocusIn);
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        // On the list only the page keys act on the page; the arrows move in the list.
        const bool paginaDaLista = k->key() == Qt::Key_PageUp || k->key() == Qt::Key_PageDown ||
                                   k->key() == Qt::Key_Home || k->key() == Qt::Key_End;
        if ((o != lista_ || paginaDaLista) && Tecla(k->key(), k->modifiers())) return true;
    }
    return QWidget::eventFilter(o, e);
}

} // namespace zelto
