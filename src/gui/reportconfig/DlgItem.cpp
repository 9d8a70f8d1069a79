#include "gui/reportconfig/DlgItem.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelto {

namespace {
int Genero(TTipoItem t) { return t == tiSeries ? tiGrafico : t; }
} // namespace

bool MesmoGenero(const TItemAvaliacao &a, const TItemAvaliacao &b) { return Genero(a.Tipo) == Genero(b.Tipo); }

void CopiaFormato(TItemAvaliacao &destino, const TItemAvaliacao &origem, bool proprio) {
    auto *g = dynamic_cast<TItemAvaliacaoGraf *>(&destino);
    if (proprio || !g) {
        destino.Copia(origem);
        return;
    }
    const auto opcoes = g->OpcoesMGr;
    const auto valor = g->ValorMGr;
    const auto eixos = g->Eixos;
    destino.Copia(origem);
    g->OpcoesMGr = opcoes;
    g->ValorMGr = valor;
    // A manual range belongs to the values of its own graph: the scale modes go to the others,
    // each keeps its own range (invalid, its axis stays automatic).
    for (std::size_t k = 0; k < eixos.size(); ++k) {
        g->Eixos[k].Minimo = eixos[k].Minimo;
        g->Eixos[k].Maximo = eixos[k].Maximo;
    }
}

TDlgItem::TDlgItem(TListaItens &itens, int indice, std::unique_ptr<TItemAvaliacao> rascunho, bool todos,
                   QWidget *pai)
    : QDialog(pai), itens_(itens), indice_(indice), rascunho_(std::move(rascunho)), todos_(todos) {
    rascunho_->Copia(Item());
}

QLabel *TDlgItem::CriaRotuloTitulo() {
    titulo_ = new QLabel(this);
    titulo_->setObjectName(QStringLiteral("TituloItem"));
    QFont negrito = titulo_->font();
    negrito.setBold(true);
    titulo_->setFont(negrito);
    DefineModo(true);
    return titulo_;
}

void TDlgItem::DefineModo(bool inferencial) {
    if (titulo_) titulo_->setText(QString::fromStdString(Item().TituloModo(inferencial)));
}

void TDlgItem::AdicionaBotoes(QVBoxLayout *l) {
    auto *b = new QDialogButtonBox(this);
    QPushButton *confirma = b->addButton(QStringLiteral("Confirma"), QDialogButtonBox::AcceptRole);
    QPushButton *cancela = b->addButton(QStringLiteral("Cancela"), QDialogButtonBox::RejectRole);
    QPushButton *todos = b->addButton(QStringLiteral("Aplicar a Todos"), QDialogButtonBox::ApplyRole);
    confirma->setObjectName(QStringLiteral("Confirma"));
    cancela->setObjectName(QStringLiteral("Cancela"));
    todos->setObjectName(QStringLiteral("AplicarTodos"));
    confirma->setDefault(true);
    connect(confirma, &QPushButton::clicked, this, [this] { Conclui(todos_); });
    connect(todos, &QPushButton::clicked, this, [this] { Conclui(true); });
    connect(cancela, &QPushButton::clicked, this, &QDialog::reject);
    l->addWidget(b);
}

void TDlgItem::Conclui(bool todos) {
    TItemAvaliacao &proprio = *itens_[static_cast<std::size_t>(indice_)];
    for (auto &item : itens_) {
        const bool eh = item.get() == &proprio;
        if (eh || (todos && MesmoGenero(*item, proprio))) CopiaFormato(*item, *rascunho_, eh);
    }
    accept();
}

} // namespace zelto

// The meta-object code compiled with this unit.
#include "moc_DlgItem.cpp"
