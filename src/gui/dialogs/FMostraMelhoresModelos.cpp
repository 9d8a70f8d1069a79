#include "gui/dialogs/FMostraMelhoresModelos.h"

#include "gui/dialogs/FProgressao.h"
#include "common/Marcacao.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zelto {

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Cell texts start this far right of and below the cell's corner.
constexpr int kRecuo = 2;
constexpr int kDescida = 6;

QRect AreaTexto(const QRect &celula) {
    return celula.adjusted(kRecuo, kDescida, -1, 0);
}

// The data cells: the grid's colour, the selected row in the selection colour with white text.
class TPintorCelula : public QStyledItemDelegate {
  public:
    TPintorCelula(const TAparenciaPlanilha &a, QWidget *grade)
        : QStyledItemDelegate(grade), a_(a), grade_(grade) {}

    void paint(QPainter *pt, const QStyleOptionViewItem &op, const QModelIndex &i) const override {
        const bool selecionada = op.state & QStyle::State_Selected;
        pt->save();
        pt->fillRect(op.rect, selecionada
                                  ? grade_->palette().color(QPalette::Active, QPalette::Highlight)
                                  : a_.CorCelula);
        pt->setPen(selecionada ? QColor(Qt::white) : a_.CorFonte);
        pt->setFont(a_.Fonte);
        pt->drawText(AreaTexto(op.rect), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     i.data().toString());
        pt->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &i) const override {
        const QFontMetrics fm(a_.Fonte);
        return {fm.horizontalAdvance(i.data().toString()) + 3 * kRecuo + 4,
                fm.height() + kDescida + 2};
    }

  private:
    TAparenciaPlanilha a_;
    QWidget *grade_;
};

// The row numbers and the column titles: the grid's fixed colour.
class TCabecalho : public QHeaderView {
  public:
    TCabecalho(Qt::Orientation o, const TAparenciaPlanilha &a, QWidget *pai)
        : QHeaderView(o, pai), a_(a) {
        setFont(a_.Fonte);
    }

  protected:
    void paintSection(QPainter *pt, const QRect &r, int logica) const override {
        if (!r.isValid()) return;
        pt->save();
        pt->fillRect(r, a_.CorFixa);
        pt->setPen(palette().color(QPalette::Mid));
        pt->drawLine(r.topRight(), r.bottomRight());
        pt->drawLine(r.bottomLeft(), r.bottomRight());
        pt->setPen(a_.CorFonte);
        pt->setFont(a_.Fonte);
        pt->drawText(AreaTexto(r), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     model()->headerData(logica, orientation()).toString());
        pt->restore();
    }

    QSize sectionSizeFromContents(int logica) const override {
        const QFontMetrics fm(a_.Fonte);
        const QString texto =
            model() ? model()->headerData(logica, orientation()).toString() : QString();
        return {fm.horizontalAdvance(texto) + 3 * kRecuo + 4, fm.height() + kDescida + 2};
    }

  private:
    TAparenciaPlanilha a_;
};

} // namespace

QString TFMostraMelhoresModelos::EquacaoEmHtml(const std::string &texto) {
    const auto h = [](const std::string &t) { return Q(t).toHtmlEscaped(); };
    const auto sup = [&](const std::string &t) { return QStringLiteral("<sup>") + h(t) + QStringLiteral("</sup>"); };
    QString html;
    for (const TTrechoMarcacao &t : DivideMarcacao(texto)) switch (t.Tipo) {
        case TTrechoMarcacao::Simples: html += h(t.Texto); break;
        case TTrechoMarcacao::Sobrescrito: html += sup(t.Texto); break;
        case TTrechoMarcacao::Potencia: html += h(t.Texto) + QStringLiteral("x10") + sup(t.Expoente); break;
        case TTrechoMarcacao::Infinito: html += QStringLiteral("\u221E"); break;
        }
    return html;
}

TFMostraMelhoresModelos::TFMostraMelhoresModelos(TPesquisa &p, int linhaInicial, bool detalhada,
                                                 const TAparenciaPlanilha &aparencia,
                                                 std::function<void()> imprimir, QWidget *parent)
    : QDialog(parent), p_(p), detalhada_(detalhada), imprimirTabela_(std::move(imprimir)) {
    setWindowTitle(Q(kTituloMelhoresModelos));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *l = new QVBoxLayout(this);
    titulo_ = new QLabel(Q(kTituloSelecioneModelo) + Q(kNotaAntesSaneamento), this);
    l->addWidget(titulo_);

    grade_ = new QTableWidget(this);
    grade_->setHorizontalHeader(new TCabecalho(Qt::Horizontal, aparencia, grade_));
    grade_->setVerticalHeader(new TCabecalho(Qt::Vertical, aparencia, grade_));
    grade_->setItemDelegate(new TPintorCelula(aparencia, grade_));
    grade_->setFont(aparencia.Fonte);
    grade_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grade_->setSelectionMode(QAbstractItemView::SingleSelection);
    grade_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grade_->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    grade_->setCornerButtonEnabled(false);
    grade_->horizontalHeader()->setSectionsMovable(true);
    grade_->horizontalHeader()->setHighlightSections(false);
    grade_->verticalHeader()->setHighlightSections(false);
    grade_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grade_->verticalHeader()->setDefaultSectionSize(
        std::max(aparencia.AlturaLinha, QFontMetrics(aparencia.Fonte).height() + kDescida + 2));
    grade_->installEventFilter(this);
    l->addWidget(grade_, 1);

    caixaModelo_ = new QGroupBox(Q(kRotuloModelo), this);
    auto *lm = new QVBoxLayout(caixaModelo_);
    modelo_ = new QLabel(caixaModelo_);
    modelo_->setTextFormat(Qt::RichText);
    modelo_->setWordWrap(true);
    modelo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    modelo_->setAutoFillBackground(true);
    QPalette branco = modelo_->palette();
    branco.setColor(QPalette::Window, Qt::white);
    branco.setColor(QPalette::WindowText, Qt::black);
    modelo_->setPalette(branco);
    modelo_->setMargin(4);
    modelo_->setMinimumHeight(3 * fontMetrics().height());
    modelo_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lm->addWidget(modelo_);
    l->addWidget(caixaModelo_);

    auto *botoes = new QHBoxLayout;
    seleciona_ = new QPushButton(Q(kBotaoSelecionaModelo), this);
    detalhe_ = new QPushButton(this);
    imprimir_ = new QPushButton(Q(kBotaoImprimir), this);
    cancelar_ = new QPushButton(Q(kBotaoCancelarEscolha), this);
    seleciona_->setDefault(true);
    for (QPushButton *b : {detalhe_, imprimir_, cancelar_})
        b->setAutoDefault(false);
    imprimir_->setEnabled(static_cast<bool>(imprimirTabela_));
    botoes->addWidget(seleciona_);
    botoes->addWidget(detalhe_);
    botoes->addWidget(imprimir_);
    botoes->addStretch();
    botoes->addWidget(cancelar_);
    l->addLayout(botoes);

    connect(seleciona_, &QPushButton::clicked, this, [this] {
        if (!equacao_.empty()) accept();
    });
    connect(grade_, &QTableWidget::doubleClicked, this, [this] {
        if (seleciona_->isEnabled()) accept();
    });
    connect(detalhe_, &QPushButton::clicked, this, [this] { AplicaDetalhe(!detalhada_); });
    connect(imprimir_, &QPushButton::clicked, this, [this] {
        if (imprimirTabela_) imprimirTabela_();
    });
    connect(cancelar_, &QPushButton::clicked, this, &QDialog::reject);
    connect(grade_, &QTableWidget::itemSelectionChanged, this,
            &TFMostraMelhoresModelos::MostraEquacao);

    Carrega();
    AplicaDetalhe(detalhada_);
    SelecionaLinha(linhaInicial);
    const QScreen *tela = parent && parent->screen() ? parent->screen() : screen();
    resize(TamanhoParaColunas(tela ? tela->availableGeometry() : QRect(0, 0, 1024, 768)));
}

QSize TFMostraMelhoresModelos::TamanhoParaColunas(const QRect &disponivel) const {
    int colunas = 0;
    for (int c = 0; c < grade_->columnCount(); ++c)
        if (!grade_->isColumnHidden(c)) colunas += grade_->columnWidth(c);
    const QMargins m = layout()->contentsMargins();
    const int largura = colunas + grade_->verticalHeader()->sizeHint().width() + 2 * grade_->frameWidth() +
                        grade_->verticalScrollBar()->sizeHint().width() + m.left() + m.right() + 4;
    // The frame the window system adds is left outside the area.
    const int largo = std::max(200, disponivel.width() - 16);
    const int alto = std::max(200, disponivel.height() - 40);
    return {std::clamp(std::max(largura, minimumSizeHint().width()), 200, largo), std::min(460, alto)};
}

void TFMostraMelhoresModelos::Carrega() {
    const std::vector<TLinhaTabela> &t = p_.Tabela();
    const TLinhaTabela &titulos = t.empty() ? kTitulosTabela : t[0];
    const int linhas = t.size() > 1 ? static_cast<int>(t.size()) - 1 : 0;
    // "Fund.", last and in both views, when the list was graded.
    const TGrausLista *graus = p_.Graus();
    const QSignalBlocker b(grade_);
    grade_->clearContents();
    grade_->setColumnCount(kColunasTabela - 1 + (graus ? 1 : 0));
    grade_->setRowCount(linhas);
    for (int c = 1; c < kColunasTabela; ++c)
        grade_->setHorizontalHeaderItem(c - 1,
                                        new QTableWidgetItem(Q(titulos[static_cast<size_t>(c)])));
    if (graus) grade_->setHorizontalHeaderItem(kColunaFund, new QTableWidgetItem(Q(kTituloFund)));
    auto celula = [&](int r, int c, const std::string &texto) {
        auto *item = new QTableWidgetItem(Q(texto));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grade_->setItem(r, c, item);
    };
    for (int r = 1; r <= linhas; ++r) {
        const TLinhaTabela &linha = t[static_cast<std::size_t>(r)];
        grade_->setVerticalHeaderItem(r - 1, new QTableWidgetItem(Q(linha[0])));
        for (int c = 1; c < kColunasTabela; ++c)
            celula(r - 1, c - 1, linha[static_cast<std::size_t>(c)]);
        if (!graus) continue;
        const auto slot = static_cast<std::size_t>(p_.SlotDaLinha(r));
        celula(r - 1, kColunaFund,
               slot >= 1 && slot <= graus->Graus.size() ? TextoGrau(graus->Graus[slot - 1].Grau)
                                                        : std::string());
    }
    grade_->resizeColumnsToContents();
}

void TFMostraMelhoresModelos::AplicaDetalhe(bool detalhada) {
    detalhada_ = detalhada;
    const std::vector<TLinhaTabela> &t = p_.Tabela();
    if (detalhada && t.size() > 1 && t[1][5].empty()) {
        // The detailed columns have not been computed yet: fit every listed model again.
        const int slot = p_.SlotDaLinha(LinhaAtual());
        ExecutaComProgresso(this,
                            [this](TProgresso &progresso) { p_.MontaTabela(true, &progresso); });
        Carrega();
        int linha = 1;
        for (int r = 1; r < static_cast<int>(p_.Tabela().size()); ++r)
            if (p_.SlotDaLinha(r) == slot) linha = r;
        SelecionaLinha(linha);
    }
    const int visiveis = detalhada ? kColunasTabela : kColunasResumo;
    for (int c = 1; c < kColunasTabela; ++c)
        grade_->setColumnHidden(c - 1, c >= visiveis);
    detalhe_->setText(Q(detalhada ? kBotaoResumo : kBotaoDetalhamento));
    MostraEquacao();
}

int TFMostraMelhoresModelos::LinhaAtual() const {
    const int r = grade_->currentRow();
    return r >= 0 && r < grade_->rowCount() ? r + 1 : 0;
}

void TFMostraMelhoresModelos::SelecionaLinha(int linha) {
    if (grade_->rowCount() == 0) {
        MostraEquacao();
        return;
    }
    linha = std::clamp(linha, 1, grade_->rowCount());
    int coluna = 0;
    while (coluna < grade_->columnCount() - 1 && grade_->isColumnHidden(coluna))
        ++coluna;
    grade_->setCurrentCell(linha - 1, coluna);
    grade_->selectRow(linha - 1);
    grade_->scrollTo(grade_->model()->index(linha - 1, coluna));
    MostraEquacao();
}

void TFMostraMelhoresModelos::MostraEquacao() {
    const int linha = LinhaAtual();
    const int slot = p_.SlotDaLinha(linha);
    equacao_ = linha > 0 ? p_.EquacaoSimbolica(slot) : std::string();
    // The names as typed: their "#" and "%" are no markup.
    modelo_->setText(EquacaoEmHtml(
        linha > 0 ? p_.EquacaoSimbolica(slot, [](const std::string &n) { return Literal(n); })
                  : std::string()));
    seleciona_->setEnabled(!equacao_.empty());
}

bool TFMostraMelhoresModelos::eventFilter(QObject *o, QEvent *e) {
    if (o == grade_ && e->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(e);
        if (k->modifiers() == Qt::NoModifier || k->modifiers() == Qt::KeypadModifier) {
            // The arrows scroll the table by one column; rows are what is selected.
            QScrollBar *barra = grade_->horizontalScrollBar();
            if (k->key() == Qt::Key_Left) {
                if (barra->value() >= 1) barra->setValue(barra->value() - 1);
                return true;
            }
            if (k->key() == Qt::Key_Right) {
                barra->setValue(barra->value() + 1);
                return true;
            }
        }
    }
    return QDialog::eventFilter(o, e);
}

int MostraMelhoresModelos(QWidget *parent, TPesquisa &p, int linhaInicial, bool &detalhada,
                          const TAparenciaPlanilha *aparencia,
                          const std::function<void()> &imprimir, QSize *tamanho) {
    const TAparenciaPlanilha padrao;
    TFMostraMelhoresModelos f(p, linhaInicial, detalhada, aparencia ? *aparencia : padrao, imprimir,
                              parent);
    if (tamanho && tamanho->width() >= 200 && tamanho->height() >= 150) {
        // The size the valuer left it at, within the screen.
        const QScreen *tela = f.screen();
        const QRect area = tela ? tela->availableGeometry() : QRect(0, 0, 4096, 4096);
        f.resize(std::min(tamanho->width(), area.width()), std::min(tamanho->height(), area.height()));
    }
    const bool escolheu = f.exec() == QDialog::Accepted;
    if (tamanho) *tamanho = f.size();
    detalhada = f.Detalhada();
    return escolheu ? f.LinhaAtual() : 0;
}

} // namespace zelto
