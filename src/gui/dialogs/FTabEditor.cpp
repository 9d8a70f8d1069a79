#include "gui/dialogs/FTabEditor.h"

#include "gui/dialogs/FConfirma.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zelto {

namespace {

TEdicaoTabela AbreEdicao(TTabelasVariaveis &tabelas, TipoTabela tipo,
                         const std::optional<std::string> &nome) {
    if (nome) {
        if (auto e = TEdicaoTabela::Abre(tabelas, tipo, *nome)) return std::move(*e);
    }
    return TEdicaoTabela(tabelas, tipo);
}

} // namespace

TFTabEditor::TFTabEditor(TTabelasVariaveis &tabelas, TipoTabela tipo,
                         const std::optional<std::string> &nome, bool somenteLeitura,
                         QWidget *parent)
    : QDialog(parent), edicao_(AbreEdicao(tabelas, tipo, nome)), somenteLeitura_(somenteLeitura) {
    setWindowTitle(QString::fromStdString(edicao_.Titulo()));
    Confirma = [this](const std::string &t) { return TFConfirma::Pergunta(this, t, true); };
    auto *l = new QVBoxLayout(this);
    auto *f = new QFormLayout;
    nome_ = new QLineEdit(QString::fromStdString(edicao_.Nome()), this);
    nome_->setMaxLength(255);
    nome_->setReadOnly(somenteLeitura);
    f->addRow(QStringLiteral("Nome da tabela:"), nome_);
    l->addLayout(f);

    auto *meio = new QHBoxLayout;
    const auto colunas = edicao_.Colunas();
    grade_ = new QTableWidget(0, static_cast<int>(colunas.size()), this);
    QStringList titulos;
    for (const std::string &c : colunas)
        titulos << QString::fromStdString(c);
    grade_->setHorizontalHeaderLabels(titulos);
    grade_->horizontalHeader()->setStretchLastSection(true);
    grade_->setSelectionMode(QAbstractItemView::SingleSelection);
    if (somenteLeitura) grade_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    meio->addWidget(grade_, 1);
    if (tipo == TipoTabela::Qualitativa && !somenteLeitura) {
        auto *b = new QVBoxLayout;
        struct {
            const char *rotulo, *dica;
            void (TEdicaoTabela::*f)();
        } comandos[] = {
            {"Inserir", "Inserir item", &TEdicaoTabela::Insere},
            {"Excluir", "Apagar item", &TEdicaoTabela::Exclui},
            {"Ordenar por nome", "Ordenar por nome", &TEdicaoTabela::OrdenaPorNome},
            {"Ordenar por valor", "Ordenar por valor", &TEdicaoTabela::OrdenaPorValor},
            {"Inverte ordem", "Inverte ordem", &TEdicaoTabela::InverteOrdem},
        };
        for (const auto &c : comandos) {
            auto *botao = new QPushButton(QString::fromUtf8(c.rotulo), this);
            botao->setToolTip(QString::fromUtf8(c.dica));
            auto fn = c.f;
            connect(botao, &QPushButton::clicked, this, [this, fn] { Comando(fn); });
            b->addWidget(botao);
        }
        b->addStretch();
        meio->addLayout(b);
    }
    l->addLayout(meio, 1);

    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    botoes->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &TFTabEditor::accept);
    if (!somenteLeitura) {
        auto *cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
        botoes->addWidget(cancelar);
        connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    }
    l->addLayout(botoes);

    connect(grade_, &QTableWidget::cellChanged, this, &TFTabEditor::ItemMudou);
    connect(grade_, &QTableWidget::currentCellChanged, this,
            [this](int linha, int, int, int) { LinhaMudou(linha); });
    grade_->installEventFilter(this);
    Recarrega();
    resize(420, 360);
}

bool TFTabEditor::eventFilter(QObject *o, QEvent *e) {
    // Going down from the last row leaves it: the model may add a row below.
    if (o == grade_ && e->type() == QEvent::KeyPress && !somenteLeitura_ &&
        static_cast<QKeyEvent *>(e)->key() == Qt::Key_Down &&
        grade_->currentRow() == grade_->rowCount() - 1) {
        const int linha = grade_->currentRow();
        edicao_.MudaLinha(static_cast<std::size_t>(linha + 1));
        const int coluna = grade_->currentColumn();
        Recarrega();
        recarregando_ = true;
        grade_->setCurrentCell(static_cast<int>(edicao_.LinhaAtual()), std::max(0, coluna));
        recarregando_ = false;
        return true;
    }
    return QDialog::eventFilter(o, e);
}

QPushButton *TFTabEditor::Botao(const QString &rotulo) const {
    for (QPushButton *b : findChildren<QPushButton *>())
        if (b->text() == rotulo) return b;
    return nullptr;
}

void TFTabEditor::Recarrega() {
    recarregando_ = true;
    const int n = static_cast<int>(edicao_.NumeroLinhas());
    grade_->setRowCount(n);
    const bool qualitativa = edicao_.Tipo() == TipoTabela::Qualitativa;
    for (int i = 0; i < n; ++i) {
        const TLinhaEdicao &linha = edicao_.Linha(static_cast<std::size_t>(i));
        auto *rotulo = new QTableWidgetItem(QString::fromStdString(linha.Rotulo));
        grade_->setItem(i, 0, rotulo);
        if (qualitativa) {
            auto *valor = new QTableWidgetItem(QString::fromStdString(linha.Valor));
            valor->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grade_->setItem(i, 1, valor);
        }
    }
    const int atual = static_cast<int>(edicao_.LinhaAtual());
    if (atual < n) grade_->setCurrentCell(atual, std::max(0, grade_->currentColumn()));
    recarregando_ = false;
}

void TFTabEditor::ItemMudou(int linha, int coluna) {
    if (recarregando_ || somenteLeitura_ || linha < 0) return;
    const std::string texto = grade_->item(linha, coluna)->text().toStdString();
    if (coluna == 0)
        edicao_.DefineRotulo(static_cast<std::size_t>(linha), texto);
    else
        edicao_.DefineValor(static_cast<std::size_t>(linha), texto);
}

void TFTabEditor::LinhaMudou(int linha) {
    if (recarregando_ || somenteLeitura_ || linha < 0) return;
    if (static_cast<std::size_t>(linha) == edicao_.LinhaAtual()) return;
    edicao_.MudaLinha(static_cast<std::size_t>(linha));
    // Leaving a row may fill its value or add a row below: show the model again.
    const int coluna = grade_->currentColumn();
    Recarrega();
    recarregando_ = true;
    grade_->setCurrentCell(linha, std::max(0, coluna));
    recarregando_ = false;
}

void TFTabEditor::Comando(void (TEdicaoTabela::*f)()) {
    int atual = grade_->currentRow();
    if (atual >= 0 && static_cast<std::size_t>(atual) != edicao_.LinhaAtual())
        edicao_.MudaLinha(static_cast<std::size_t>(atual));
    (edicao_.*f)();
    Recarrega();
}

void TFTabEditor::accept() {
    if (somenteLeitura_) {
        QDialog::accept();
        return;
    }
    const std::string nome = nome_->text().trimmed().toStdString();
    if (nome.empty()) {
        QMessageBox::information(this, QStringLiteral("Zelto 32"),
                                 QStringLiteral("Informe o nome da tabela."));
        nome_->setFocus();
        return;
    }
    edicao_.DefineNome(nome);
    switch (edicao_.Grava(Confirma)) {
    case ResultadoGravacao::Gravada:
        gravado_ = nome;
        QDialog::accept();
        break;
    case ResultadoGravacao::Voltar:
        break;
    case ResultadoGravacao::Desistiu:
        QDialog::reject();
        break;
    case ResultadoGravacao::Falhou:
        QMessageBox::warning(
            this, QStringLiteral("Zelto 32"),
            QStringLiteral("Não foi possível gravar a tabela no arquivo de tabelas."));
        break;
    }
}

} // namespace zelto
