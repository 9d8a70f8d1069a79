#include "gui/worksheet/ModeloPlanilha.h"

#include "common/Texto.h"

#include <QBrush>
#include <QPainter>

#include <algorithm>

namespace zelto {

namespace {

// A small red cross: the mark of an unused variable or a disregarded sample.
QPixmap DesenhaMarca(QColor cor, bool cruz) {
    QPixmap p(10, 10);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(cor, 2));
    if (cruz) {
        g.drawLine(2, 2, 8, 8);
        g.drawLine(8, 2, 2, 8);
    } else {
        g.setBrush(cor);
        g.drawEllipse(QRectF(2, 2, 6, 6));
    }
    return p;
}

QColor Mistura(const QColor &a, const QColor &b, double t) {
    return QColor::fromRgbF(a.redF() * (1 - t) + b.redF() * t,
                            a.greenF() * (1 - t) + b.greenF() * t,
                            a.blueF() * (1 - t) + b.blueF() * t);
}

// The first character of a typed text, as the key that defines a column.
char32_t PrimeiraTecla(const std::string &texto) {
    std::u32string cps = DecodificaUtf8(texto);
    if (cps.empty()) return 0;
    char32_t c = cps.front();
    // A letter outside ASCII (an accented one) defines a comment column as
    // any other printable character does; otherwise the typed text would be lost.
    if (c > 126 && QChar::isPrint(c)) return U'a';
    return c;
}

} // namespace

TModeloPlanilha::TModeloPlanilha(TGridzelto &grid, QObject *parent)
    : QAbstractTableModel(parent), grid_(grid) {
    linhas_ = std::max(0, grid_.RowCount() - 1);
    colunas_ = std::max(0, grid_.ColCount() - 1);
    linhasUsadas_ = grid_.LinhasUsadas();
    colunasUsadas_ = grid_.ColunasUsadas();
    ouvinte_ = grid_.AdicionaOuvinte([this](const TMudanca &m) { TrataMudanca(m); });
    marcaNaoUsada_ = DesenhaMarca(QColor(200, 0, 0), true);
    marcaDependente_ = DesenhaMarca(QColor(0, 0, 180), false);
    DefineAparencia(aparencia_);
}

TModeloPlanilha::~TModeloPlanilha() {
    grid_.RemoveOuvinte(ouvinte_);
}

int TModeloPlanilha::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : linhas_;
}

int TModeloPlanilha::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : colunas_;
}

bool TModeloPlanilha::ColunaNaoUsada(int c) const {
    const TVariavel *v = grid_.Variavel(c);
    return v && !v->Usada;
}

int TModeloPlanilha::Traduz(const Traducao &t, int k) {
    switch (t.tipo) {
    case Traducao::Insercao:
        return k >= t.a ? k + (t.b - t.a + 1) : k;
    case Traducao::Remocao:
        if (k < t.a) return k;
        return k <= t.b ? -1 : k - (t.b - t.a + 1);
    case Traducao::Movimento:
        if (k == t.a) return t.b;
        if (t.a < t.b && k > t.a && k <= t.b) return k - 1;
        if (t.b < t.a && k >= t.b && k < t.a) return k + 1;
        return k;
    default:
        return k;
    }
}

int TModeloPlanilha::LinhaGrid(int linhaModelo) const {
    return Traduz(trLinhas_, linhaModelo + 1);
}

int TModeloPlanilha::ColunaGrid(int colunaModelo) const {
    return Traduz(trColunas_, colunaModelo + 1);
}

QVariant TModeloPlanilha::data(const QModelIndex &index, int role) const {
    if (suspenso_ || !index.isValid()) return {};
    const int c = ColunaGrid(index.column()), r = LinhaGrid(index.row());
    if (c < 1 || r < 1) return {};
    const TVariavel *v = grid_.Variavel(c);
    switch (role) {
    case Qt::DisplayRole:
        if (v && v->Tipo == tvDicotomica) return QString::fromStdString(grid_.TextoExibido(c, r));
        return QString::fromStdString(grid_.Celula(c, r));
    case Qt::EditRole:
        return QString::fromStdString(grid_.Celula(c, r));
    case Qt::TextAlignmentRole: {
        Qt::Alignment h = Qt::AlignLeft;
        if (v && v->Alinhamento == alDireita) h = Qt::AlignRight;
        if (v && v->Alinhamento == alCentro) h = Qt::AlignHCenter;
        return QVariant::fromValue(h | Qt::AlignVCenter);
    }
    case Qt::CheckStateRole:
        if (v && v->Tipo == tvDicotomica)
            return grid_.Celula(c, r) == "TRUE" ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::FontRole:
        return aparencia_.Fonte;
    case Qt::ForegroundRole:
        return QBrush(aparencia_.CorFonte);
    case Qt::BackgroundRole:
        if ((grid_.DestacarAmostragensNaoUsadas && grid_.Desconsiderada(r)) ||
            (grid_.DestacarVariaveisNaoUsadas && ColunaNaoUsada(c)))
            return QBrush(corNaoUsada_);
        return QBrush(aparencia_.CorCelula);
    default:
        return {};
    }
}

QVariant TModeloPlanilha::headerData(int section, Qt::Orientation o, int role) const {
    if (suspenso_ || section < 0) return {};
    const bool horizontal = o == Qt::Horizontal;
    if (horizontal ? section >= colunas_ : section >= linhas_) return {};
    const int k = horizontal ? ColunaGrid(section) : LinhaGrid(section);
    if (k < 1) return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(horizontal ? grid_.Celula(k, 0) : grid_.Celula(0, k));
    case Qt::DecorationRole:
        if (horizontal) {
            const TVariavel *v = grid_.Variavel(k);
            if (grid_.DestacarVariaveisNaoUsadas && v && !v->Usada) return marcaNaoUsada_;
            if (v && v->Usada && v->Dependente) return marcaDependente_;
        } else if (grid_.DestacarAmostragensNaoUsadas && grid_.Desconsiderada(k)) {
            return marcaNaoUsada_;
        }
        return {};
    case Qt::FontRole: {
        QFont f = aparencia_.Fonte;
        if (horizontal) {
            const TVariavel *v = grid_.Variavel(k);
            f.setBold(v && v->Dependente);
        }
        return f;
    }
    case Qt::ForegroundRole: {
        // Rows and columns beyond the used ones are drawn grey.
        bool fora = horizontal ? k > grid_.ColunasUsadas() : k > grid_.LinhasUsadas();
        return QBrush(fora ? QColor(128, 128, 128) : aparencia_.CorFonte);
    }
    case Qt::BackgroundRole:
        return QBrush(aparencia_.CorFixa);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
        return {};
    }
}

Qt::ItemFlags TModeloPlanilha::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (suspenso_ || somenteLeitura_ || !grid_.Editavel) return f;
    const TVariavel *v = grid_.Variavel(ColunaGrid(index.column()));
    // Calculated cells are written by their formula only.
    if (!v || v->Tipo != tvCalculada) f |= Qt::ItemIsEditable;
    if (v && v->Tipo == tvDicotomica) f |= Qt::ItemIsUserCheckable;
    return f;
}

bool TModeloPlanilha::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (suspenso_ || !index.isValid() || !(flags(index) & Qt::ItemIsEditable)) return false;
    const int c = Coluna(index), r = Linha(index);
    if (role == Qt::CheckStateRole) {
        const TVariavel *v = grid_.Variavel(c);
        if (!v || v->Tipo != tvDicotomica) return false;
        bool marcado = value.toInt() == Qt::Checked;
        return Aceita(c, r, marcado ? "TRUE" : "FALSE");
    }
    if (role != Qt::EditRole) return false;
    return Aceita(c, r, value.toString().toStdString());
}

bool TModeloPlanilha::Aceita(int c, int r, const std::string &texto) {
    const TVariavel *v = grid_.Variavel(c);
    char32_t tecla = 0;
    if (!v) {
        tecla = PrimeiraTecla(texto);
        if (tecla == 0) return true; // nothing typed into an undefined column
    } else if (grid_.TextoNormalizado(c, texto) == grid_.Celula(c, r)) {
        return true; // the cell stays as it was
    }
    if (AntesDeAlterar) AntesDeAlterar("Edição de célula");
    if (!v) grid_.DefinePorDigitacao(c, tecla);
    grid_.AceitaEdicao(c, r, texto);
    emit edicaoAceita(c, r);
    return true;
}

void TModeloPlanilha::DefineAparencia(const TAparenciaPlanilha &a) {
    aparencia_ = a;
    corNaoUsada_ = Mistura(a.CorCelula, QColor(150, 150, 150), 0.25);
    if (suspenso_) return;
    if (linhas_ > 0 && colunas_ > 0)
        emit dataChanged(index(0, 0), index(linhas_ - 1, colunas_ - 1));
    if (colunas_ > 0) emit headerDataChanged(Qt::Horizontal, 0, colunas_ - 1);
    if (linhas_ > 0) emit headerDataChanged(Qt::Vertical, 0, linhas_ - 1);
}

// ---- Change events -------------------------------------------------------------

void TModeloPlanilha::IniciaLote() {
    ++lote_;
}

void TModeloPlanilha::TerminaLote() {
    if (lote_ > 0 && --lote_ == 0) DescarregaLote();
}

void TModeloPlanilha::DescarregaLote() {
    if (!pendente_) return;
    pendente_ = false;
    int r1 = std::min(pr1_, linhas_), c1 = std::min(pc1_, colunas_);
    if (pr0_ <= r1 && pc0_ <= c1) emit dataChanged(Indice(pc0_, pr0_), Indice(c1, r1));
}

void TModeloPlanilha::EmiteCelulas(int c0, int r0, int c1, int r1) {
    if (r0 == 0 && c1 >= 1)
        emit headerDataChanged(Qt::Horizontal, std::max(c0, 1) - 1, std::min(c1, colunas_) - 1);
    if (c0 == 0 && r1 >= 1)
        emit headerDataChanged(Qt::Vertical, std::max(r0, 1) - 1, std::min(r1, linhas_) - 1);
    c0 = std::max(c0, 1);
    r0 = std::max(r0, 1);
    c1 = std::min(c1, colunas_);
    r1 = std::min(r1, linhas_);
    if (c0 > c1 || r0 > r1) return;
    if (lote_ > 0) {
        if (!pendente_) {
            pc0_ = c0, pr0_ = r0, pc1_ = c1, pr1_ = r1;
            pendente_ = true;
        } else {
            pc0_ = std::min(pc0_, c0), pr0_ = std::min(pr0_, r0);
            pc1_ = std::max(pc1_, c1), pr1_ = std::max(pr1_, r1);
        }
        return;
    }
    emit dataChanged(Indice(c0, r0), Indice(c1, r1));
}

void TModeloPlanilha::AtualizaUsadas() {
    int lu = grid_.LinhasUsadas(), cu = grid_.ColunasUsadas();
    if (lu != linhasUsadas_) {
        int a = std::min(lu, linhasUsadas_) + 1, b = std::min(std::max(lu, linhasUsadas_), linhas_);
        linhasUsadas_ = lu;
        if (a <= b) emit headerDataChanged(Qt::Vertical, a - 1, b - 1);
    }
    if (cu != colunasUsadas_) {
        int a = std::min(cu, colunasUsadas_) + 1,
            b = std::min(std::max(cu, colunasUsadas_), colunas_);
        colunasUsadas_ = cu;
        if (a <= b) emit headerDataChanged(Qt::Horizontal, a - 1, b - 1);
    }
}

void TModeloPlanilha::TrataMudanca(const TMudanca &m) {
    if (suspenso_) return;
    const int n = static_cast<int>(m.tipo);
    const bool estrutura =
        n & (TMudanca::LinhasInseridas | TMudanca::LinhasRemovidas | TMudanca::LinhaMovida |
             TMudanca::ColunasInseridas | TMudanca::ColunasRemovidas | TMudanca::ColunaMovida |
             TMudanca::Tudo);
    if (estrutura) DescarregaLote();

    if (n & TMudanca::Tudo) {
        beginResetModel();
        linhas_ = std::max(0, grid_.RowCount() - 1);
        colunas_ = std::max(0, grid_.ColCount() - 1);
        linhasUsadas_ = grid_.LinhasUsadas();
        colunasUsadas_ = grid_.ColunasUsadas();
        endResetModel();
        return;
    }
    if (n & TMudanca::Celulas) EmiteCelulas(m.Coluna0, m.Linha0, m.Coluna1, m.Linha1);
    if ((n & TMudanca::LinhasInseridas) && m.Linha0 >= 1) {
        trLinhas_ = {Traducao::Insercao, m.Linha0, m.Linha1};
        beginInsertRows(QModelIndex(), m.Linha0 - 1, m.Linha1 - 1);
        trLinhas_ = {};
        linhas_ += m.Linha1 - m.Linha0 + 1;
        endInsertRows();
    }
    if ((n & TMudanca::LinhasRemovidas) && m.Linha0 >= 1) {
        trLinhas_ = {Traducao::Remocao, m.Linha0, m.Linha1};
        beginRemoveRows(QModelIndex(), m.Linha0 - 1, m.Linha1 - 1);
        trLinhas_ = {};
        linhas_ -= m.Linha1 - m.Linha0 + 1;
        endRemoveRows();
    }
    if ((n & TMudanca::LinhaMovida) && m.Linha0 >= 1 && m.Linha1 >= 1 && m.Linha0 != m.Linha1) {
        int de = m.Linha0 - 1, para = m.Linha1 - 1;
        trLinhas_ = {Traducao::Movimento, m.Linha0, m.Linha1};
        bool ok = beginMoveRows(QModelIndex(), de, de, QModelIndex(), para > de ? para + 1 : para);
        trLinhas_ = {};
        if (ok) endMoveRows();
    }
    if ((n & TMudanca::ColunasInseridas) && m.Coluna0 >= 1) {
        trColunas_ = {Traducao::Insercao, m.Coluna0, m.Coluna1};
        beginInsertColumns(QModelIndex(), m.Coluna0 - 1, m.Coluna1 - 1);
        trColunas_ = {};
        colunas_ += m.Coluna1 - m.Coluna0 + 1;
        endInsertColumns();
    }
    if ((n & TMudanca::ColunasRemovidas) && m.Coluna0 >= 1) {
        trColunas_ = {Traducao::Remocao, m.Coluna0, m.Coluna1};
        beginRemoveColumns(QModelIndex(), m.Coluna0 - 1, m.Coluna1 - 1);
        trColunas_ = {};
        colunas_ -= m.Coluna1 - m.Coluna0 + 1;
        endRemoveColumns();
    }
    if ((n & TMudanca::ColunaMovida) && m.Coluna0 >= 1 && m.Coluna1 >= 1 &&
        m.Coluna0 != m.Coluna1) {
        int de = m.Coluna0 - 1, para = m.Coluna1 - 1;
        trColunas_ = {Traducao::Movimento, m.Coluna0, m.Coluna1};
        bool ok =
            beginMoveColumns(QModelIndex(), de, de, QModelIndex(), para > de ? para + 1 : para);
        trColunas_ = {};
        if (ok) endMoveColumns();
    }
    if ((n & (TMudanca::Variavel | TMudanca::Aparencia)) && m.Coluna0 >= 1 &&
        m.Coluna0 <= colunas_) {
        emit headerDataChanged(Qt::Horizontal, m.Coluna0 - 1, m.Coluna0 - 1);
        EmiteCelulas(m.Coluna0, 1, m.Coluna0, linhas_);
    }
    if ((n & TMudanca::Amostragem) && m.Linha0 >= 1 && m.Linha0 <= linhas_) {
        emit headerDataChanged(Qt::Vertical, m.Linha0 - 1, m.Linha0 - 1);
        EmiteCelulas(1, m.Linha0, colunas_, m.Linha0);
    }
    if (n & TMudanca::Estado) AtualizaUsadas();

    // An event this model does not know how to follow: start again.
    if (linhas_ != grid_.RowCount() - 1 || colunas_ != grid_.ColCount() - 1) {
        beginResetModel();
        linhas_ = std::max(0, grid_.RowCount() - 1);
        colunas_ = std::max(0, grid_.ColCount() - 1);
        endResetModel();
    }
}

// ---- Suspension ----------------------------------------------------------------

void TModeloPlanilha::Suspende() {
    DescarregaLote();
    suspenso_ = true;
}

void TModeloPlanilha::Retoma(bool reinicia) {
    suspenso_ = false;
    const int linhas = std::max(0, grid_.RowCount() - 1);
    const int colunas = std::max(0, grid_.ColCount() - 1);
    if (reinicia) {
        beginResetModel();
        linhas_ = linhas;
        colunas_ = colunas;
        linhasUsadas_ = grid_.LinhasUsadas();
        colunasUsadas_ = grid_.ColunasUsadas();
        endResetModel();
        return;
    }
    if (linhas > linhas_) {
        beginInsertRows(QModelIndex(), linhas_, linhas - 1);
        linhas_ = linhas;
        endInsertRows();
    } else if (linhas < linhas_) {
        beginRemoveRows(QModelIndex(), linhas, linhas_ - 1);
        linhas_ = linhas;
        endRemoveRows();
    }
    if (colunas > colunas_) {
        beginInsertColumns(QModelIndex(), colunas_, colunas - 1);
        colunas_ = colunas;
        endInsertColumns();
    } else if (colunas < colunas_) {
        beginRemoveColumns(QModelIndex(), colunas, colunas_ - 1);
        colunas_ = colunas;
        endRemoveColumns();
    }
    linhasUsadas_ = grid_.LinhasUsadas();
    colunasUsadas_ = grid_.ColunasUsadas();
    if (linhas_ > 0 && colunas_ > 0)
        emit dataChanged(index(0, 0), index(linhas_ - 1, colunas_ - 1));
    if (colunas_ > 0) emit headerDataChanged(Qt::Horizontal, 0, colunas_ - 1);
    if (linhas_ > 0) emit headerDataChanged(Qt::Vertical, 0, linhas_ - 1);
}

} // namespace zelto
