#include "gui/worksheet/EditoresCelula.h"

#include "common/Datas.h"
#include "common/Texto.h"
#include "gui/worksheet/ModeloPlanilha.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QWidgetAction>

namespace zelto {

namespace {

// Day serial of a QDate (day 0 is 30 December 1899).
long SerialDe(const QDate &d) {
    return SerialDeData(d.year(), d.month(), d.day());
}

QDate DataDe(long serial) {
    DataCivil d = DataDeSerial(serial);
    return QDate(d.ano, d.mes, d.dia);
}

} // namespace

// ---- Date editor ---------------------------------------------------------------

TEditorData::TEditorData(int tipoData, QWidget *parent)
    : QWidget(parent), tipoData_(tipoData), edicao_(new QLineEdit(this)),
      botao_(new QToolButton(this)) {
    auto *l = new QHBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    edicao_->setFrame(false);
    botao_->setText(QStringLiteral("▾"));
    botao_->setToolTip(QStringLiteral("Calendário"));
    botao_->setFocusPolicy(Qt::NoFocus);
    l->addWidget(edicao_, 1);
    l->addWidget(botao_);
    setFocusProxy(edicao_);
    setAutoFillBackground(true);
    connect(botao_, &QToolButton::clicked, this, &TEditorData::AbreCalendario);
}

QString TEditorData::Texto() const {
    return edicao_->text();
}

void TEditorData::DefineTexto(const QString &t) {
    edicao_->setText(t);
}

void TEditorData::AbreCalendario() {
    QMenu menu(this);
    auto *cal = new QCalendarWidget(&menu);
    long atual = LeData(edicao_->text().toStdString(), tipoData_, DataDeSerial(SerialHoje()).ano);
    cal->setSelectedDate(DataDe(atual != 0 ? atual : SerialHoje()));
    auto *acao = new QWidgetAction(&menu);
    acao->setDefaultWidget(cal);
    menu.addAction(acao);
    connect(cal, &QCalendarWidget::activated, &menu, &QMenu::close);
    connect(cal, &QCalendarWidget::clicked, &menu, &QMenu::close);
    bool escolheu = false;
    connect(cal, &QCalendarWidget::clicked, this, [&] { escolheu = true; });
    connect(cal, &QCalendarWidget::activated, this, [&] { escolheu = true; });
    menu.exec(mapToGlobal(QPoint(0, height())));
    if (!escolheu) return;
    edicao_->setText(QString::fromStdString(TextoData(SerialDe(cal->selectedDate()), tipoData_)));
    edicao_->setFocus();
    emit escolhido();
}

// ---- Dichotomous editor ----------------------------------------------------------

TEditorDicotomico::TEditorDicotomico(QString rotuloVerdadeiro, QString rotuloFalso, QWidget *parent)
    : QWidget(parent), caixa_(new QCheckBox(this)), verdadeiro_(std::move(rotuloVerdadeiro)),
      falso_(std::move(rotuloFalso)) {
    auto *l = new QHBoxLayout(this);
    l->setContentsMargins(4, 0, 0, 0);
    l->addWidget(caixa_);
    setFocusProxy(caixa_);
    setAutoFillBackground(true);
    connect(caixa_, &QCheckBox::toggled, this, &TEditorDicotomico::Atualiza);
    Atualiza();
}

bool TEditorDicotomico::Marcado() const {
    return caixa_->isChecked();
}

void TEditorDicotomico::DefineMarcado(bool m) {
    caixa_->setChecked(m);
    Atualiza();
}

void TEditorDicotomico::Atualiza() {
    caixa_->setText(caixa_->isChecked() ? verdadeiro_ : falso_);
}

// ---- Number and list editors ------------------------------------------------------------

QLineEdit *CriaEditorNumero(QWidget *parent) {
    auto *e = new QLineEdit(parent);
    static const QRegularExpression numero(QStringLiteral("[-+0-9.,eE ]*"));
    e->setValidator(new QRegularExpressionValidator(numero, e));
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return e;
}

QComboBox *CriaEditorLista(QWidget *parent, const std::vector<TObjetoValor> &itens) {
    auto *e = new QComboBox(parent);
    e->addItem(QString());
    for (const TObjetoValor &i : itens)
        if (!i.Rotulo.empty()) e->addItem(QString::fromStdString(i.Rotulo));
    return e;
}

TEditorData *CriaEditorData(QAbstractItemDelegate *delegado, int tipoData, QWidget *parent) {
    auto *e = new TEditorData(tipoData, parent);
    QObject::connect(e, &TEditorData::escolhido, delegado, [delegado, e] {
        emit delegado->commitData(e);
        emit delegado->closeEditor(e, QAbstractItemDelegate::SubmitModelCache);
    });
    return e;
}

QLineEdit *CriaEditorTexto(QWidget *parent) {
    auto *e = new QLineEdit(parent);
    e->setFrame(false);
    return e;
}

void MostraNoEditor(QWidget *editor, const QString &texto) {
    if (auto *e = qobject_cast<QLineEdit *>(editor)) {
        e->setText(texto);
    } else if (auto *e = qobject_cast<QComboBox *>(editor)) {
        int i = e->findText(texto, Qt::MatchFixedString);
        e->setCurrentIndex(i < 0 ? 0 : i);
    } else if (auto *e = qobject_cast<TEditorDicotomico *>(editor)) {
        e->DefineMarcado(texto == QLatin1String("TRUE"));
    } else if (auto *e = qobject_cast<TEditorData *>(editor)) {
        e->DefineTexto(texto);
    }
}

QString TextoDoEditor(QWidget *editor) {
    if (auto *e = qobject_cast<QLineEdit *>(editor)) return e->text();
    if (auto *e = qobject_cast<QComboBox *>(editor)) return e->currentText();
    if (auto *e = qobject_cast<TEditorDicotomico *>(editor))
        return e->Marcado() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (auto *e = qobject_cast<TEditorData *>(editor)) return e->Texto();
    return {};
}

// ---- Delegate --------------------------------------------------------------------

TDelegadoPlanilha::TDelegadoPlanilha(TModeloPlanilha &modelo, QObject *parent)
    : QStyledItemDelegate(parent), modelo_(modelo) {}

QWidget *TDelegadoPlanilha::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                         const QModelIndex &index) const {
    const TGridzelto &g = modelo_.Grid();
    const int c = TModeloPlanilha::Coluna(index);
    const TVariavel *v = g.Variavel(c);
    QWidget *editor = nullptr;
    switch (v ? g.Formato(c).Editor : teTexto) {
    case teReal: {
        editor = CriaEditorNumero(parent);
        break;
    }
    case teLista: {
        editor = CriaEditorLista(parent, g.Formato(c).Itens);
        break;
    }
    case teCaixaMarcacao: {
        auto partes = Divide(v ? v->Rotulos : std::string(), '|');
        QString verdadeiro = QString::fromStdString(partes[0]);
        QString falso = partes.size() > 1 ? QString::fromStdString(partes[1]) : QString();
        editor = new TEditorDicotomico(verdadeiro, falso, parent);
        break;
    }
    case teData: {
        editor = CriaEditorData(const_cast<TDelegadoPlanilha *>(this),
                                v ? static_cast<int>(v->TipoData) : static_cast<int>(tdDiaMesAno),
                                parent);
        break;
    }
    default:
        editor = CriaEditorTexto(parent);
        break;
    }
    editor->setFont(modelo_.Aparencia().Fonte);
    return editor;
}

void TDelegadoPlanilha::setEditorData(QWidget *editor, const QModelIndex &index) const {
    MostraNoEditor(editor, index.data(Qt::EditRole).toString());
}

void TDelegadoPlanilha::setModelData(QWidget *editor, QAbstractItemModel *model,
                                     const QModelIndex &index) const {
    model->setData(index, TextoDoEditor(editor), Qt::EditRole);
}

void TDelegadoPlanilha::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                             const QModelIndex &) const {
    editor->setGeometry(option.rect);
}

} // namespace zelto
