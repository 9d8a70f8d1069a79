// The tables of the view: cells side by side in a row, backgrounds, borders, and rows that
// cross a page break.
#include "view/ViewRelat.h"

#include <QPainter>

#include <algorithm>
#include <tuple>

namespace zelto {

namespace {

constexpr int kTwipsPixelTela = 15; // one pixel of the screen the borders are sized for

// The 16 basic colours draw as they are; any other border colour draws black.
QColor CorBorda(TCor c) {
    static const TCor basicas[] = {
        Cor(0, 0, 0),       Cor(128, 0, 0),   Cor(0, 128, 0),   Cor(128, 128, 0),
        Cor(0, 0, 128),     Cor(128, 0, 128), Cor(0, 128, 128), Cor(128, 128, 128),
        Cor(192, 192, 192), Cor(255, 0, 0),   Cor(0, 255, 0),   Cor(255, 255, 0),
        Cor(0, 0, 255),     Cor(255, 0, 255), Cor(0, 255, 255), Cor(255, 255, 255)};
    for (TCor b : basicas)
        if (b == (c & 0x00FFFFFF)) return ParaQColor(b);
    return Qt::black;
}

Qt::PenStyle EstiloBorda(std::uint8_t estilo) {
    switch (estilo) {
    case 1: return Qt::SolidLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashLine;
    case 4: return Qt::DashDotLine;
    case 5: return Qt::DashDotDotLine;
    default: return Qt::NoPen;
    }
}

// Width of a border in twips: 1, 2 or 3 screen pixels.
int LarguraBorda(const TBorda &b) {
    return kTwipsPixelTela * std::clamp<int>(b.Largura, 1, 3);
}

bool Desenha(const TBorda &b) {
    return b.Visivel() && b.Multiplicidade != 0 && EstiloBorda(b.Estilo) != Qt::NoPen;
}

int Insercao(const TBorda &b) {
    if (!Desenha(b)) return 0;
    return LarguraBorda(b) * (b.Multiplicidade == 2 ? 3 : 1);
}

} // namespace

const TBordas &TViewRelat::BordasColuna(int coluna) {
    const TColuna &c = GetColumn(coluna);
    return c.BordasProprias ? c.Bordas : TableBorders;
}

int TViewRelat::EsquerdaTabela() const {
    // Centred in the text width whatever the table's alignment; the width is that of its
    // columns.
    int largura = 0;
    for (int i = 1; i < static_cast<int>(Columns.size()); ++i) largura += Columns[i].Largura;
    return LeftMargin + (TextWidth - largura) / 2;
}

int TViewRelat::XColuna(int coluna) {
    int x = EsquerdaTabela();
    for (int i = 1; i < coluna && i < static_cast<int>(Columns.size()); ++i) x += Columns[i].Largura;
    return x;
}

void TViewRelat::BeginTable(int colunas, int linhas, int largura, int alinhamento) {
    TerminaLinha();
    TArqEditor::BeginTable(colunas, linhas, largura, alinhamento);
}

void TViewRelat::SelectColumn(int coluna) {
    CurrentColumn = coluna;
    CellWidth = std::max(0, GetColumn(coluna).Largura);
    const TBordas &b = BordasColuna(coluna);
    BorderInsets = {Insercao(b[bdTopo]), Insercao(b[bdBase]), Insercao(b[bdEsquerda]),
                    Insercao(b[bdDireita])};
}

void TViewRelat::BeginRow() {
    TerminaLinha();
    // The heading row and the first row below it start on the same page.
    if (!InTable && CurrentRow == 1 && AlturaInicioTabela > 0 && !Fits(AlturaInicioTabela) &&
        Y > TopoTexto() && !semQuebraPagina_)
        MudaPagina();
    if (!InTable) {
        titulo_ = {};
        titulo_.Valido = LinhasTitulo > 0;
    }
    if (!InTable) ComBaseAcima = false;
    InTable = true;
    RowTop = Y;
    RowBottom = 0;
    CellX = EsquerdaTabela();
    SelectColumn(1);
    CellHeights.fill(Y);
}

void TViewRelat::NextCell() {
    if (!InTable) return;
    // A cell ends its last line; an empty cell still takes one line.
    if (!Line.empty() || Y == RowTop) FechaLinha(true);
    if (CurrentColumn >= 1 && CurrentColumn < static_cast<int>(CellHeights.size()))
        CellHeights[static_cast<std::size_t>(CurrentColumn)] = Y;
    RowBottom = std::max(RowBottom, Y);
    Y = RowTop;
    CellX += CellWidth;
    ++CurrentColumn;
    if (CurrentColumn <= ColumnCount) SelectColumn(CurrentColumn);
}

void TViewRelat::PreencheFundo(int coluna, int x, int largura, int ate) {
    const TColuna &c = GetColumn(coluna);
    if ((c.CorFundo & 0x00FFFFFF) == CorBranca || coluna < 1 ||
        coluna >= static_cast<int>(CellHeights.size()))
        return;
    int &preenchido = CellHeights[static_cast<std::size_t>(coluna)];
    const int de = std::max(preenchido, RowTop + BorderInsets[0] / 2);
    if (ate > de && Desenhando()) {
        const int esquerda = x + BorderInsets[2] / 2;
        Elemento(TDesenhoPagina::TFundo{QRect(esquerda, de, x + largura - esquerda, ate - de),
                                        ParaQColor(c.CorFundo)});
    }
    preenchido = std::max(preenchido, ate);
}

void TViewRelat::TracaBorda(const TBorda &b, QPointF de, QPointF ate, TCor fundo) {
    if (!Desenha(b)) return;
    if (b.Multiplicidade == 2) {
        // Two one-pixel lines a pixel either side of the edge, the cell's colour between.
        const bool horizontal = de.y() == ate.y();
        const QPointF passo = horizontal ? QPointF(0, kTwipsPixelTela) : QPointF(kTwipsPixelTela, 0);
        const QPen linha(CorBorda(b.Cor), kTwipsPixelTela, EstiloBorda(b.Estilo), Qt::FlatCap);
        Elemento(TDesenhoPagina::TTraco{QPen(ParaQColor(fundo), kTwipsPixelTela, Qt::SolidLine, Qt::FlatCap),
                                        de, ate});
        Elemento(TDesenhoPagina::TTraco{linha, de - passo, ate - passo});
        Elemento(TDesenhoPagina::TTraco{linha, de + passo, ate + passo});
        return;
    }
    Elemento(TDesenhoPagina::TTraco{QPen(CorBorda(b.Cor), LarguraBorda(b), EstiloBorda(b.Estilo), Qt::FlatCap),
                                    de, ate});
}

void TViewRelat::DesenhaBordasLinha(int topo, int base, bool comTopo, bool comBase) {
    if (!Desenhando() || ColumnCount < 1) return;
    for (int c = 1; c <= ColumnCount; ++c) {
        const TBordas &b = BordasColuna(c);
        const double x1 = XColuna(c), x2 = XColuna(c + 1);
        const TCor fundo = GetColumn(c).CorFundo;
        if (comTopo) {
            const TBorda &acima = BaseAcima[static_cast<std::size_t>(std::min(c, 50))];
            const bool usaAcima = ComBaseAcima && Insercao(acima) > Insercao(b[bdTopo]);
            TracaBorda(usaAcima ? acima : b[bdTopo], QPointF(x1, topo), QPointF(x2, topo), fundo);
        }
        if (comBase) TracaBorda(b[bdBase], QPointF(x1, base), QPointF(x2, base), fundo);
    }
    if (base <= topo) return;
    // Each vertical edge once: the left edge of every column, then the right edge of the last.
    for (int c = 1; c <= ColumnCount; ++c) {
        const double x = XColuna(c);
        TracaBorda(BordasColuna(c)[bdEsquerda], QPointF(x, topo), QPointF(x, base),
                   GetColumn(c).CorFundo);
    }
    const double x = XColuna(ColumnCount + 1);
    TracaBorda(BordasColuna(ColumnCount)[bdDireita], QPointF(x, topo), QPointF(x, base),
               GetColumn(ColumnCount).CorFundo);
}

void TViewRelat::FimDeLinhaTabela(bool ultima) {
    if (!InTable) return;
    // A last cell without NextCell still ends its line.
    if (!Line.empty() && CurrentColumn <= ColumnCount) NextCell();
    RowBottom = std::max({RowBottom, Y, RowTop});
    if (Desenhando()) {
        // Columns whose text ended above the row's bottom get their background down to it.
        for (int c = 1; c <= ColumnCount && c < static_cast<int>(CellHeights.size()); ++c) {
            SelectColumn(c);
            PreencheFundo(c, XColuna(c), GetColumn(c).Largura, RowBottom);
        }
        DesenhaBordasLinha(RowTop, RowBottom, true, ultima);
    }
}

void TViewRelat::EndRow() {
    TArqEditor::EndRow();
    if (!InTable) return;
    FimDeLinhaTabela(false);
    if (CurrentRow == LinhasTitulo) titulo_.Altura = RowBottom - RowTop;
    Y = RowTop = RowBottom;
    CellX = EsquerdaTabela();
    ComBaseAcima = static_cast<bool>(FormatoLinha);
    if (ComBaseAcima)
        for (int c = 1; c <= std::min(ColumnCount, 50); ++c)
            BaseAcima[static_cast<std::size_t>(c)] = BordasColuna(c)[bdBase];
    ++CurrentRow;
    PreparaLinha();
    CurrentColumn = 1;
    SelectColumn(1);
    CellHeights.fill(Y);
}

void TViewRelat::EndTable() {
    if (!InTable) return;
    FimDeLinhaTabela(true);
    Y = RowBottom + EspacoAposTabela;
    InTable = false;
    ComBaseAcima = false;
    CellX = 0;
}

void TViewRelat::RepeteTitulo() {
    // A heading taller than a third of the text area is not repeated: the rows would hardly
    // have room below it.
    if (!titulo_.Valido || titulo_.Altura <= 0 || titulo_.Altura > TextHeight / 3) return;
    const int topo = Y;
    if (Desenhando()) {
        // The heading row's lines are drawn again as they were measured, with the heading's
        // formats, and everything of the row being written is given back afterwards.
        const std::vector<TColuna> colunas = Columns;
        const auto estado = std::make_tuple(CurrentColumn, CellX, CellWidth, BorderInsets,
                                            Alignment, ComBaseAcima);
        std::vector<TTrechoLinha> linha = std::move(Line);
        const int largura = LineWidth, altura = LineHeight, brancos = LineBlanks;
        if (FormatoLinha) FormatoLinha(1);
        for (const TLinhaTitulo &l : titulo_.Linhas) {
            SelectColumn(l.Coluna);
            CellX = XColuna(l.Coluna);
            Line = l.Trechos;
            LineWidth = l.Largura;
            LineHeight = l.Altura;
            LineBlanks = l.Brancos;
            Alignment = l.Alinhamento;
            Y = topo + l.Deslocamento;
            DesenhaLinha(l.FimParagrafo);
        }
        for (int c = 1; c <= ColumnCount && c < static_cast<int>(CellHeights.size()); ++c) {
            SelectColumn(c);
            PreencheFundo(c, XColuna(c), GetColumn(c).Largura, topo + titulo_.Altura);
        }
        ComBaseAcima = false;
        DesenhaBordasLinha(topo, topo + titulo_.Altura, true, true);
        Columns = colunas;
        std::tie(CurrentColumn, CellX, CellWidth, BorderInsets, Alignment, ComBaseAcima) = estado;
        Line = std::move(linha);
        LineWidth = largura;
        LineHeight = altura;
        LineBlanks = brancos;
    }
    Y = RowTop = topo + titulo_.Altura;
    CellHeights.fill(Y);
}

void TViewRelat::DrawRowBorders() {
    // The part of the row already on the page is closed: its top, the edges down to where its
    // text reached, and the bottom there. A row that has nothing on this page closes the table
    // above it with the bottom border.
    const int base = std::max(RowBottom, Y);
    if (base > RowTop)
        DesenhaBordasLinha(RowTop, base, true, true);
    else
        DesenhaBordasLinha(RowTop, RowTop, false, true);
}

} // namespace zelto
