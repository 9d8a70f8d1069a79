#include "gui/dialogs/FVariaveisIndependentes.h"

#include "gui/worksheet/EditoresCelula.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

namespace zelto {

namespace {

QString Tela(const std::string &t) {
    QString s = QString::fromStdString(t);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return s;
}

std::string Texto(const QString &s) {
    return s.toStdString();
}

constexpr int kMaximoTexto = 255;

} // namespace

// ---- The one-row grid of the subject's values -------------------------------------------

// Column k shows entry Visiveis()[k] of the edit; every change goes to the edit,
// which puts the text in the column's form and recomputes calculated entries.
class TModeloObjeto : public QAbstractTableModel {
  public:
    TModeloObjeto(TEdicaoObjeto &e, const TGridzelto &g, QFont fonte, QObject *parent)
        : QAbstractTableModel(parent), e_(e), g_(g), fonte_(std::move(fonte)),
          visiveis_(e.Visiveis()) {}

    // The columns anew (order or hiding changed); the edit keeps the values.
    void Reconstroi() {
        beginResetModel();
        visiveis_ = e_.Visiveis();
        endResetModel();
    }
    int Entrada(int k) const {
        return k >= 0 && k < static_cast<int>(visiveis_.size()) ? visiveis_[k] : -1;
    }
    int ColunaPlanilha(int k) const {
        int i = Entrada(k);
        return i < 0 ? 0 : e_.Valores()[i].Coluna;
    }
    const TVariavel *Variavel(int k) const { return g_.Variavel(ColunaPlanilha(k)); }
    const TGridzelto &Grid() const { return g_; }
    const QFont &Fonte() const { return fonte_; }

    // Where a typed value that does not convert for its variable is told; the cell keeps its value.
    std::function<void(const std::string &)> Recusa;

    // The Delete key on column k.
    void Limpa(int k) {
        e_.Limpa(Entrada(k));
        LinhaMudou();
    }

    int rowCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : 1; }
    int columnCount(const QModelIndex &p = {}) const override {
        return p.isValid() ? 0 : static_cast<int>(visiveis_.size());
    }

    QVariant data(const QModelIndex &index, int role) const override {
        const int i = Entrada(index.column());
        if (!index.isValid() || i < 0) return {};
        const TValorEditado &v = e_.Valores()[i];
        const TVariavel *var = g_.Variavel(v.Coluna);
        const bool dicotomica = var && var->Tipo == tvDicotomica;
        switch (role) {
        case Qt::DisplayRole:
            // A dichotomous value shows the label of its state.
            if (dicotomica && !v.Texto.empty())
                return QString::fromStdString(
                    g_.TextoDoValor(v.Coluna, g_.ValorTexto(v.Coluna, v.Texto)));
            return QString::fromStdString(v.Texto);
        case Qt::EditRole:
            return QString::fromStdString(v.Texto);
        case Qt::TextAlignmentRole: {
            Qt::Alignment h = Qt::AlignLeft;
            if (var && var->Alinhamento == alDireita) h = Qt::AlignRight;
            if (var && var->Alinhamento == alCentro) h = Qt::AlignHCenter;
            return QVariant::fromValue(h | Qt::AlignVCenter);
        }
        case Qt::CheckStateRole:
            if (dicotomica) return v.Texto == "TRUE" ? Qt::Checked : Qt::Unchecked;
            return {};
        case Qt::FontRole:
            return fonte_;
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal) return {};
        const int i = Entrada(section);
        if (i < 0) return {};
        if (role == Qt::DisplayRole) return QString::fromStdString(e_.Valores()[i].Nome);
        if (role == Qt::FontRole) return fonte_;
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
        const TVariavel *v = Variavel(index.column());
        // Calculated values come from their formula only.
        if (v && v->Tipo != tvCalculada) f |= Qt::ItemIsEditable;
        if (v && v->Tipo == tvDicotomica) f |= Qt::ItemIsUserCheckable;
        return f;
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override {
        if (!index.isValid() || !(flags(index) & Qt::ItemIsEditable)) return false;
        const int i = Entrada(index.column());
        if (role == Qt::CheckStateRole) {
            if (Variavel(index.column())->Tipo != tvDicotomica) return false;
            e_.AtribuiTexto(i, value.toInt() == Qt::Checked ? "TRUE" : "FALSE");
        } else if (role == Qt::EditRole) {
            if (const std::string recusa = e_.AtribuiTexto(i, value.toString().toStdString());
                !recusa.empty()) {
                if (Recusa) Recusa(recusa);
                return false;
            }
        } else {
            return false;
        }
        LinhaMudou();
        return true;
    }

  private:
    // Calculated entries may change with any value: the whole row is told.
    void LinhaMudou() {
        if (columnCount() > 0) emit dataChanged(index(0, 0), index(0, columnCount() - 1));
    }

    TEdicaoObjeto &e_;
    const TGridzelto &g_;
    QFont fonte_;
    std::vector<int> visiveis_;
};

namespace {

// The editor of each kind, as the worksheet offers it.
class TDelegadoObjeto : public QStyledItemDelegate {
  public:
    TDelegadoObjeto(const TModeloObjeto &m, QObject *parent) : QStyledItemDelegate(parent), m_(m) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &index) const override {
        const TVariavel *v = m_.Variavel(index.column());
        const int c = m_.ColunaPlanilha(index.column());
        const TGridzelto &g = m_.Grid();
        QWidget *editor = nullptr;
        switch (v ? v->Tipo : tvComentario) {
        case tvNumerica:
            editor = CriaEditorNumero(parent);
            break;
        case tvQualitativa:
            editor = CriaEditorLista(parent, g.Formato(c).Itens);
            break;
        case tvDicotomica:
            editor = new TEditorDicotomico(QString::fromStdString(g.TextoDoValor(c, 1)),
                                           QString::fromStdString(g.TextoDoValor(c, 0)), parent);
            break;
        case tvData:
            editor = CriaEditorData(const_cast<TDelegadoObjeto *>(this), v->TipoData, parent);
            break;
        default:
            editor = CriaEditorTexto(parent);
            break;
        }
        editor->setFont(m_.Fonte());
        return editor;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override {
        MostraNoEditor(editor, index.data(Qt::EditRole).toString());
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override {
        model->setData(index, TextoDoEditor(editor), Qt::EditRole);
    }

    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &) const override {
        editor->setGeometry(option.rect);
    }

  private:
    const TModeloObjeto &m_;
};

} // namespace

class TGradeObjeto : public QTableView {
  public:
    TGradeObjeto(TModeloObjeto *m, QWidget *parent) : QTableView(parent), m_(m) {
        setModel(m);
        setItemDelegate(new TDelegadoObjeto(*m, this));
        setSelectionMode(QAbstractItemView::SingleSelection);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        verticalHeader()->hide();
        setTabKeyNavigation(false);
    }

    // An editor still open hands its text over (before confirming or rebuilding).
    void ConfirmaEdicao() {
        if (state() != QAbstractItemView::EditingState) return;
        if (QWidget *e = indexWidget(currentIndex())) {
            commitData(e);
            closeEditor(e, QAbstractItemDelegate::NoHint);
        }
    }

  protected:
    void keyPressEvent(QKeyEvent *ev) override {
        if (ev->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState &&
            currentIndex().isValid()) {
            m_->Limpa(currentIndex().column());
            return;
        }
        QTableView::keyPressEvent(ev);
    }

  private:
    TModeloObjeto *m_;
};

// ---- The dialog -------------------------------------------------------------------------

TFVariaveisIndependentes::TFVariaveisIndependentes(TGridzelto &g, TArquivoIni &ini,
                                                   bool modoInferencial, const QFont &fonte,
                                                   QWidget *parent)
    : QDialog(parent), grid_(g), ini_(ini), fonte_(fonte) {
    TOpcoesObjeto opcoes;
    opcoes.Le(ini);
    edicao_ = std::make_unique<TEdicaoObjeto>(g, modoInferencial, opcoes);
    Avisa = [this](const std::string &t) { QMessageBox::warning(this, windowTitle(), Tela(t)); };
    setWindowTitle(QString::fromUtf8(kTituloObjeto));

    auto *l = new QVBoxLayout(this);

    // Description: one row per name, with its gender, unit and the unit's position.
    auto *descricao = new QGridLayout;
    descricao->addWidget(new QLabel(QStringLiteral("Nome"), this), 0, 1);
    descricao->addWidget(new QLabel(QStringLiteral("Gênero"), this), 0, 2);
    descricao->addWidget(new QLabel(QStringLiteral("Unidade"), this), 0, 3);
    descricao->addWidget(new QLabel(QStringLiteral("Posição"), this), 0, 4);
    auto *legendaDep = new QWidget(this);
    auto *ld = new QHBoxLayout(legendaDep);
    ld->setContentsMargins(0, 0, 0, 0);
    dependente_ = new QLabel(legendaDep);
    dependente_->setTextFormat(Qt::PlainText);
    QFont negrito = dependente_->font();
    negrito.setBold(true);
    dependente_->setFont(negrito);
    legenda_ = new QLabel(legendaDep);
    ld->addWidget(dependente_);
    ld->addWidget(legenda_);
    ld->addStretch();
    MontaDescricao(descricao, dObjeto, QStringLiteral("&Objeto:"), kExemploObjeto, legendaDep);
    MontaDescricao(descricao, dCaracteristica, QStringLiteral("&Característica multiplicativa:"),
                   kExemploCaracteristica, nullptr);
    MontaDescricao(descricao, dValorFinal, QStringLiteral("Valor avaliado &final:"),
                   kExemploValorFinal, nullptr);
    descricao->setColumnStretch(1, 2);
    descricao->setColumnStretch(3, 1);
    l->addLayout(descricao);

    auto *lm = new QHBoxLayout;
    rotuloMultiplicador_ = new QLabel(this);
    rotuloMultiplicador_->setTextFormat(Qt::PlainText);
    multiplicador_ = new QLineEdit(this);
    multiplicador_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    multiplicador_->setMaximumWidth(160);
    lm->addWidget(rotuloMultiplicador_);
    lm->addWidget(multiplicador_);
    lm->addStretch();
    l->addLayout(lm);

    resumo_ = new QLabel(this);
    resumo_->setTextFormat(Qt::PlainText);
    resumo_->setWordWrap(true);
    resumo_->setFrameShape(QFrame::StyledPanel);
    resumo_->setMargin(6);
    resumo_->setMinimumHeight(resumo_->fontMetrics().lineSpacing() * 4 + 12);
    resumo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->addWidget(resumo_);

    // The subject's values, with the ordering panel (inferential mode only).
    grupoValores_ = new QGroupBox(QStringLiteral("Valores das variáveis do objeto"), this);
    auto *lv = new QHBoxLayout(grupoValores_);
    modelo_ = new TModeloObjeto(*edicao_, g, fonte_, this);
    // Told once the editor has closed, not from inside its commit.
    modelo_->Recusa = [this](const std::string &t) {
        QMetaObject::invokeMethod(this, [this, t] { Avisa(t); }, Qt::QueuedConnection);
    };
    grade_ = new TGradeObjeto(modelo_, grupoValores_);
    grade_->setFont(fonte_);
    grade_->horizontalHeader()->setFont(fonte_);
    grade_->verticalHeader()->setDefaultSectionSize(g.AlturaLinha);
    lv->addWidget(grade_, 1);
    painelOrdem_ = new QWidget(grupoValores_);
    auto *lo = new QVBoxLayout(painelOrdem_);
    lo->setContentsMargins(0, 0, 0, 0);
    ocultar_ = new QCheckBox(QString::fromUtf8(kOcultarNaoUsadas), painelOrdem_);
    auto *ordem = new QGroupBox(QStringLiteral("Ordem"), painelOrdem_);
    auto *lor = new QVBoxLayout(ordem);
    ordemPlanilha_ = new QRadioButton(QString::fromUtf8(kOrdemPlanilha), ordem);
    ordemAlfabetica_ = new QRadioButton(QString::fromUtf8(kOrdemAlfabetica), ordem);
    lor->addWidget(ordemPlanilha_);
    lor->addWidget(ordemAlfabetica_);
    lo->addWidget(ocultar_);
    lo->addWidget(ordem);
    lo->addStretch();
    lv->addWidget(painelOrdem_);
    l->addWidget(grupoValores_);
    ocultar_->setChecked(opcoes.OcultarNaoUsadas);
    (opcoes.Alfabetica ? ordemAlfabetica_ : ordemPlanilha_)->setChecked(true);
    grupoValores_->setVisible(modoInferencial);

    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    confirma_ = new QPushButton(QStringLiteral("Confirma"), this);
    abandona_ = new QPushButton(QStringLiteral("Abandona"), this);
    confirma_->setDefault(true);
    confirma_->setAutoDefault(true);
    abandona_->setAutoDefault(false);
    botoes->addWidget(confirma_);
    botoes->addWidget(abandona_);
    l->addLayout(botoes);

    MostraDescricao();
    AjustaGrade();

    for (const LinhaDescricao &d : linhas_) {
        connect(d.nome, &QLineEdit::textChanged, this, &TFVariaveisIndependentes::ColetaDescricao);
        connect(d.unidade, &QLineEdit::textChanged, this,
                &TFVariaveisIndependentes::ColetaDescricao);
        connect(d.genero, &QComboBox::currentIndexChanged, this,
                &TFVariaveisIndependentes::ColetaDescricao);
        connect(d.posicao, &QComboBox::currentIndexChanged, this,
                &TFVariaveisIndependentes::ColetaDescricao);
    }
    connect(ocultar_, &QCheckBox::toggled, this, &TFVariaveisIndependentes::MudouOpcoes);
    connect(ordemAlfabetica_, &QRadioButton::toggled, this, &TFVariaveisIndependentes::MudouOpcoes);
    connect(confirma_, &QPushButton::clicked, this, &TFVariaveisIndependentes::accept);
    connect(abandona_, &QPushButton::clicked, this, &QDialog::reject);
    resize(760, sizeHint().height());
    linhas_[dObjeto].nome->setFocus();
}

TFVariaveisIndependentes::~TFVariaveisIndependentes() = default;

QTableView *TFVariaveisIndependentes::Grade() const {
    return grade_;
}

void TFVariaveisIndependentes::MontaDescricao(QGridLayout *l, Descricao d, const QString &rotulo,
                                              const char *exemplo, QWidget *legendaUnidade) {
    const int r = 1 + 2 * d;
    LinhaDescricao &ld = linhas_[d];
    auto *rot = new QLabel(rotulo, this);
    ld.nome = new QLineEdit(this);
    ld.nome->setMaxLength(kMaximoTexto);
    rot->setBuddy(ld.nome);
    ld.genero = new QComboBox(this);
    for (const char *t : kGeneros)
        ld.genero->addItem(QString::fromUtf8(t));
    ld.unidade = new QLineEdit(this);
    ld.unidade->setMaxLength(kMaximoTexto);
    ld.posicao = new QComboBox(this);
    for (const char *t : kPosicoesUnidade)
        ld.posicao->addItem(QString::fromUtf8(t));
    l->addWidget(rot, r, 0);
    l->addWidget(ld.nome, r, 1);
    l->addWidget(ld.genero, r, 2);
    l->addWidget(ld.unidade, r, 3);
    l->addWidget(ld.posicao, r, 4);
    auto *ex = new QLabel(QString::fromUtf8(exemplo), this);
    ex->setEnabled(false);
    l->addWidget(ex, r + 1, 1);
    if (legendaUnidade) l->addWidget(legendaUnidade, r + 1, 3, 1, 2);
    if (d == dValorFinal) {
        rotuloValorFinal_ = rot;
        rot->setToolTip(Tela(kDicaValorFinal));
        ld.nome->setToolTip(Tela(kDicaValorFinal));
    }
}

// Every field from the record as it stands.
void TFVariaveisIndependentes::MostraDescricao() {
    mostrando_ = true;
    const TIdentificacaoObjeto &id = edicao_->Identificacao;
    const TIdentificacaoObjeto::Nome *nomes[3] = {&id.Objeto, &id.Caracteristica,
                                                  &id.ValorAvaliado};
    for (int d = 0; d < 3; ++d) {
        linhas_[d].nome->setText(QString::fromStdString(nomes[d]->Texto));
        linhas_[d].unidade->setText(QString::fromStdString(nomes[d]->Unidade));
        linhas_[d].genero->setCurrentIndex(nomes[d]->Genero == 1 ? 1 : 0);
        linhas_[d].posicao->setCurrentIndex(nomes[d]->PosicaoUnidade == 1 ? 1 : 0);
    }
    multiplicador_->setText(QString::fromStdString(TextoMultiplicador(id)));
    dependente_->setText(QString::fromStdString(edicao_->TituloDependente()));
    legenda_->setText(QString::fromUtf8(edicao_->LegendaUnidade()));
    mostrando_ = false;
    AtualizaTextos();
}

void TFVariaveisIndependentes::ColetaDescricao() {
    if (mostrando_) return;
    TIdentificacaoObjeto &id = edicao_->Identificacao;
    TIdentificacaoObjeto::Nome *nomes[3] = {&id.Objeto, &id.Caracteristica, &id.ValorAvaliado};
    for (int d = 0; d < 3; ++d) {
        nomes[d]->Texto = Texto(linhas_[d].nome->text());
        nomes[d]->Unidade = Texto(linhas_[d].unidade->text());
        nomes[d]->Genero = static_cast<std::int16_t>(linhas_[d].genero->currentIndex() == 1);
        nomes[d]->PosicaoUnidade =
            static_cast<std::int16_t>(linhas_[d].posicao->currentIndex() == 1);
    }
    AtualizaTextos();
}

void TFVariaveisIndependentes::AtualizaTextos() {
    rotuloMultiplicador_->setText(Tela(edicao_->RotuloCaracteristica()));
    resumo_->setText(Tela(edicao_->Resumo()));
}

void TFVariaveisIndependentes::MudouOpcoes() {
    grade_->ConfirmaEdicao();
    TOpcoesObjeto o;
    o.OcultarNaoUsadas = ocultar_->isChecked();
    o.Alfabetica = ordemAlfabetica_->isChecked();
    edicao_->DefineOpcoes(o);
    modelo_->Reconstroi();
    AjustaGrade();
    if (!o.Grava(ini_) && ini_.Aberto())
        Avisa("Não foi possível gravar a opção no arquivo de configuração " +
              ini_.Caminho().string() + ".");
}

// Widths of the worksheet's columns; one row high, with its header and scroll bar.
void TFVariaveisIndependentes::AjustaGrade() {
    // The worksheet's widths, widened where a title would be cut.
    int total = 0;
    for (int k = 0; k < modelo_->columnCount(); ++k) {
        const int titulo = grade_->horizontalHeader()->sectionSizeHint(k);
        grade_->setColumnWidth(k, std::max(grid_.LarguraColuna(modelo_->ColunaPlanilha(k)), titulo));
        total += grade_->columnWidth(k);
    }
    // Wide enough for every column, within the screen (the rest scrolls).
    const QScreen *tela = screen();
    const int limite = (tela ? tela->availableGeometry().width() : 1024) -
                       painelOrdem_->sizeHint().width() - 80;
    grade_->setMinimumWidth(std::clamp(total + 2 * grade_->frameWidth() + 2, 100, std::max(100, limite)));
    if (modelo_->columnCount() > 0) grade_->setCurrentIndex(modelo_->index(0, 0));
    const int altura = grade_->horizontalHeader()->sizeHint().height() + grid_.AlturaLinha +
                       grade_->horizontalScrollBar()->sizeHint().height() +
                       2 * grade_->frameWidth();
    grade_->setFixedHeight(altura);
}

int TFVariaveisIndependentes::EntradaDaColuna(int k) const {
    return modelo_->Entrada(k);
}

void TFVariaveisIndependentes::accept() {
    grade_->ConfirmaEdicao();
    ColetaDescricao();
    // A characteristic value that is no number is refused, never taken as 0.
    if (!LeMultiplicador(Texto(multiplicador_->text()), edicao_->Identificacao)) {
        Avisa("O valor informado em \"" + edicao_->RotuloCaracteristica() +
              "\" não é um número válido.\r\nInforme um número (por exemplo 125,5) ou deixe o "
              "campo vazio.");
        multiplicador_->setFocus();
        multiplicador_->selectAll();
        return;
    }
    // A value kept in the worksheet that does not convert is refused too, never taken as 0.
    if (const std::string recusa = edicao_->Recusa(); !recusa.empty()) {
        Avisa(recusa);
        grade_->setFocus();
        return;
    }
    resultado_.Alterado = edicao_->Confirma(grid_);
    resultado_.Confirmado = true;
    QDialog::accept();
}

TResultadoObjeto InformaObjeto(QWidget *parent, TGridzelto &g, TArquivoIni &ini,
                               bool modoInferencial, const QFont &fonte) {
    TFVariaveisIndependentes f(g, ini, modoInferencial, fonte, parent);
    f.exec();
    return f.Resultado();
}

} // namespace zelto
