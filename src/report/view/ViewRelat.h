// TViewRelat: the report writer that lays the report out in pages and draws one chosen page on
// any paint device: the image of the report page on screen, a printer's paged device, a PDF.
//
// Layout apart from painting. Everything is measured in twips (1/1440 inch) with fonts sized in
// twips (a point is 20 twips) and no hinting, so where a line or a page breaks never depends on
// the device, its resolution or the zoom: the screen, the paper and the PDF show the same
// pages. Only the page whose number is TargetPage is drawn; every other page is measured. The
// painter that draws it carries one scale, device pixels per twip (at zoom Z on screen:
// Z / 100 x the device's pixels per inch / 1440; on a paged device: its pixels per inch / 1440),
// and every length, border and picture goes through that scale.
//
// Plain text is measured by adding its characters' advances, each measured once per font
// (writer/AvancosTexto.h): the sum is the width the shaper gives the whole text, so breaking a
// long text costs time linear in its length and never shapes the same piece twice.
//
// What is measured is what is drawn: every text piece is drawn at the x its measured width
// gives (justified lines word by word, the free space spread over the blanks), and a tab moves
// both the measured width and the pen to the next multiple of the tab width (720 twips) from
// the start of the line.
//
// Lines: the current line is a list of runs (a text piece in its font, a tab, a picture). A text
// longer than the room left breaks at its last blank that fits (the blank is dropped); a word
// with no blank that fits moves to a new line, and a word longer than an empty line breaks
// after the last character that fits. When not even one character fits on an empty line one
// character is placed anyway, so the layout always progresses and no character is lost. A line
// that would pass the bottom of the text area starts a new page first (unless it already
// stands at the top of a page: a line taller than the page is placed, never looped on).
//
// Tables are centred in the text width whatever their alignment. Cell text is broken within
// the cell less a small gap (30 twips each side) and drawn 108 twips in from the cell's edges
// when the line leaves room for that, closer when it needs the room: it never runs over a
// border, and a number that fits its cell is never broken. A page break
// inside a row closes the part of the row on the old page with its borders (top, bottom and
// the vertical edges) and the row goes on at the top of the new page.
//
// Header and footer: the writers registered with DefineCabecalho/DefineRodape are measured once
// (their heights reserve the top and the bottom of the text area) and drawn on the target page
// by the paging run, with the page's number in place of "(página)".
//
// The paging run that decides which items to lay out and keeps the page caches is
// TPaginacao (PaginacaoRelatorio.h); this class is the layout and the painting.
#pragma once

#include "writer/ArqEditor.h"

#include <QImage>
#include <QPen>
#include <QPointF>
#include <QRect>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

class QPainter;

namespace zelto {

// One run of the current line.
struct TTrechoLinha {
    enum TTipo : std::uint8_t { Texto, Tabulacao, Figura } Tipo = Texto;
    TFonte Fonte;       // text: the drawing font
    QString Conteudo;   // text
    int Largura = 0;    // twips: the text's or the picture's width
    int Posicao = 0;    // twips from the line start where the run begins
    int Brancos = 0;    // blanks in the text
    int Altura = 0;     // picture height, twips
    QImage Imagem;      // picture (a bitmap)
    std::shared_ptr<const TChart> Chart; // picture (a chart, painted as vectors)
    int Cores = 256;    // picture colours (2, 16 or 256)
    int Item = -1, Parte = -1; // picture: the item and part that wrote it
    bool TemMapa = false;      // picture: its chart's axis mapping
    TMapaEixos Mapa;
};

// A picture drawn on the target page: which item and part drew it, where it lies in device
// pixels, and the mapping of its chart's axes (when the item gave one).
struct TAreaGrafico {
    int Item = -1;   // index in the item list
    int Parte = -1;  // part of the item, from 0
    QRect Retangulo; // device pixels of the drawn page
    QSize TamanhoImagem; // the picture's pixels (a chart's: its layout units)
    bool TemMapa = false;
    TMapaEixos Mapa;
};

// What one page draws, in twips and in drawing order: text runs, cell backgrounds, border
// lines, pictures and charts. A page is laid out once into this list and painted from it as
// often as it is shown, printed or written to a PDF.
struct TDesenhoPagina {
    struct TTexto {
        TFonte Fonte;
        QPointF Posicao;
        QString Texto;
    };
    struct TFundo {
        QRect Retangulo;
        QColor Cor;
    };
    struct TTraco {
        QPen Caneta;
        QPointF De, Ate;
    };
    struct TFigura {
        QRectF Retangulo;
        QImage Imagem;                       // a bitmap, or
        std::shared_ptr<const TChart> Chart; // a chart painted as vectors
        int Cores = 256;
        int Item = -1, Parte = -1;
        bool TemMapa = false;
        TMapaEixos Mapa;
    };
    std::vector<std::variant<TTexto, TFundo, TTraco, TFigura>> Elementos;
};

class TViewRelat : public TArqEditor {
  public:
    // The view draws on `canvas` (may be null: it only measures until a device is given).
    explicit TViewRelat(QPaintDevice *canvas = nullptr, int zoom = 100);
    ~TViewRelat() override;

    static constexpr int LarguraTabulacao = 720; // twips
    static constexpr int MargemCelula = 108;      // twips, each side of a cell's text
    static constexpr int MargemMinimaCelula = 30; // twips, when the text needs the room

    int Zoom = 100;        // percent, 25..200 on screen; ignored while Printing
    int CurrentPage = 0;   // page being laid out, 1 = first
    int TotalPages = -1;   // -1 while unknown
    int TargetPage = 1;    // the page drawn
    int TargetLastPage = 0; // > 0: pages TargetPage..TargetLastPage are drawn, and after them
                            // the view lays nothing out (the run is over)
    bool Printing = false; // true while drawing on a printer or a PDF: no zoom
    std::function<void(TViewRelat &)> BeforePageChange, AfterPageChange;

    // The current line.
    std::vector<TTrechoLinha> Line;
    int LineWidth = 0, LineHeight = 0, LineBlanks = 0;
    int Y = 0; // twips from the top of the page

    // Table state (twips).
    bool InTable = false;
    int RowTop = 0, RowBottom = 0, CellX = 0, CellWidth = 0;
    std::array<int, 51> CellHeights{};  // per column: bottom of its text (and its background)
    std::array<int, 4> BorderInsets{};   // top, bottom, left, right border widths of the cell
    // With formats that change from row to row: the bottom borders of the row above, per
    // column (1-based). Between two rows the heavier of its bottom and this row's top is drawn
    // (the lower row's top on a tie).
    std::array<TBorda, 51> BaseAcima{};
    bool ComBaseAcima = false;

    // Pictures drawn on the target page.
    std::vector<TAreaGrafico> AreasGraficas;

    // While set, every page laid out is recorded as it is drawn (TDesenhoPagina) instead of
    // being painted, and EntregaPagina hands the finished page to PaginaGravada.
    bool Gravando = false;
    std::function<void(int pagina, TDesenhoPagina desenho)> PaginaGravada;
    // The current page is finished (its header and footer drawn): it goes to PaginaGravada.
    void EntregaPagina();
    // Starts or ends recording; what was recorded of an unfinished page is dropped.
    void Grava(bool ligado) {
        Gravando = ligado;
        desenho_ = {};
    }
    // Paints a recorded page through the painter (DefinePintor) and sets AreasGraficas.
    void PintaDesenho(const TDesenhoPagina &desenho);
    // Item (index in the item list) and part being written; set by the paging run and
    // BeginPart.
    int ItemAtual = -1, ParteAtual = -1;
    // The minimum height of the item being written (twips; 0: none), set by the paging run.
    int AlturaParte = 0;

    // Header and footer: the writer of each (may be empty). Registering measures its height.
    void DefineCabecalho(std::function<void(TArqEditor &)> escritor);
    void DefineRodape(std::function<void(TArqEditor &)> escritor);
    // Draws the header and the footer of the current page (only on the target page).
    void DesenhaCabecalhoRodape();

    // The painter of the target page: while it is set and CurrentPage = TargetPage, lines are
    // drawn through it. The view sets its transform (twips to device pixels) and takes it back.
    void DefinePintor(QPainter *pintor);
    bool Desenhando() const {
        if (Gravando) return !semDesenho_;
        return pintor_ != nullptr && CurrentPage >= TargetPage &&
               CurrentPage <= std::max(TargetPage, TargetLastPage);
    }
    // Past the last page to draw: every operation that lays out does nothing.
    bool Encerrada() const { return TargetLastPage > 0 && CurrentPage > TargetLastPage; }
    // The device drawn on (may be null).
    QPaintDevice *Dispositivo() const { return Canvas; }
    // Device pixels per twip, horizontally and vertically.
    double EscalaX() const;
    double EscalaY() const;
    // Size of the page in device pixels at the current scale.
    QSize TamanhoPagina() const;

    // True when `altura` twips still fit above the footer on the current page.
    bool Fits(int altura) const;
    // The bottom of the text area: TopMargin + TextHeight - FooterHeight.
    int FundoTexto() const { return TopMargin + TextHeight - FooterHeight; }
    // The top of the text area: TopMargin + HeaderHeight.
    int TopoTexto() const { return TopMargin + HeaderHeight; }
    // Ends the current line if it holds anything (the paging run starts every item on a line of
    // its own).
    void TerminaLinha();
    // Starts page 1 of a run: CurrentPage 0, then a page change.
    void Reinicia();

    // ---- Writer operations -----------------------------------------------------------------
    void BoldOn() override;
    void BoldOff() override;
    void ItalicOn() override;
    void ItalicOff() override;
    void UnderlineOn() override;
    void UnderlineOff() override;
    void StrikeOutOn() override;
    void StrikeOutOff() override;
    void SetFont(const TFonte &fonte) override;
    void SetFontName(const QString &nome) override;
    void SetFontSize(int pontos) override;
    void RestoreFont(const TFonte &fonte) override;
    void SetFontSizeRaw(int pontos) override;
    void SetTextColor(TCor cor) override;
    void WriteText(const QString &texto) override;
    void WritePageNumber() override;
    void NewParagraph() override;
    void NewPage() override;
    void AlignCenter() override { Alignment = apCentro; }
    void AlignLeft() override { Alignment = apEsquerda; }
    void AlignRight() override { Alignment = apDireita; }
    void AlignJustify() override { Alignment = apJustificado; }
    void WriteBitmap(const QImage &imagem, int escala, int cores) override;
    void WritePicture(const QImage &imagem, int escala, int cores) override;
    // A chart is placed at its size (a layout unit is a 96th of an inch) and painted straight
    // onto the page's painter: lines stay lines and texts stay texts on screen, paper and PDF.
    void WriteChart(const TChart &chart, int cores) override;
    void SetPage(double larguraTexto, double margemEsquerda, double alturaTexto,
                 double margemSuperior, double larguraPagina, double alturaPagina) override;
    void SetCanvas(QPaintDevice *canvas) override;
    void BeginTable(int colunas, int linhas, int largura, int alinhamento) override;
    void BeginRow() override;
    void NextCell() override;
    void EndRow() override;
    void EndTable() override;
    void DrawRowBorders() override;
    void SelectColumn(int coluna) override;
    void SetChartMapping(const TMapaEixos &mapa) override;
    // A later part of an item starts a new page when the item's minimum height (AlturaParte)
    // does not fit, as the item itself does: its title is never left alone at the foot of a
    // page.
    void BeginPart() override {
        ++ParteAtual;
        if (ParteAtual > 0 && AlturaParte > 0 && Line.empty() && !InTable && !Fits(AlturaParte) &&
            Y > TopoTexto())
            NewPage();
    }
    // Left tab stops (the kinds are taken as left); a tab goes to the first stop at least a
    // blank beyond the text, else to the next multiple of LarguraTabulacao.
    void SetTabs(const double *posicoes, int ultimo, const std::uint8_t *tipos) override;
    void ClearTabs() override { paradas_.clear(); }
    // Measures as the lines are measured and drawn.
    int MeasureText(const QString &texto) const override {
        return LarguraTexto(fonteDesenho_, texto);
    }

    // The font that draws (a markup run changes its size without changing CurrentFont).
    const TFonte &FonteDesenho() const { return fonteDesenho_; }
    // The QFont that measures and draws a report font, sized in twips.
    static QFont FonteTwips(const TFonte &fonte);
    // Width and height (ascent + descent) of a text in twips.
    static int LarguraTexto(const TFonte &fonte, const QString &texto);
    static int AlturaFonte(const TFonte &fonte);

  private:
    // Everything a header or footer run must leave as it found.
    struct TEstado;
    TEstado Salva() const;
    void Restaura(const TEstado &e);
    int MedeEscritor(const std::function<void(TArqEditor &)> &escritor);
    void EscreveCabecalhoEm(const std::function<void(TArqEditor &)> &escritor, int y);

    int Disponivel() const; // room of the line: the cell less its least padding, or TextWidth
    void EscreveTrecho(QStringView texto); // a text without line breaks
    void QuebraTrecho(QStringView texto);  // a text without line breaks or tabs
    void AcrescentaTexto(const QString &texto, int largura);
    void FechaLinha(bool fimParagrafo);
    void MudaPagina();
    void ColocaFigura(TTrechoLinha t, double dpiX, double dpiY, int escala);
    void DesenhaLinha(bool fimParagrafo);
    void PreencheFundo(int coluna, int x, int largura, int ate);
    const TBordas &BordasColuna(int coluna);
    int EsquerdaTabela() const;
    int XColuna(int coluna); // left edge of column `coluna` (1-based; ColumnCount + 1: right)
    void DesenhaBordasLinha(int topo, int base, bool comTopo, bool comBase);
    void TracaBorda(const TBorda &b, QPointF de, QPointF ate, TCor fundo);
    void FimDeLinhaTabela(bool ultima);

    // The heading row of the table being written, line by line as it was laid out, to draw it
    // again at the top of every further page the table reaches.
    struct TLinhaTitulo {
        int Coluna, Deslocamento; // column; twips below the row's top
        std::vector<TTrechoLinha> Trechos;
        int Largura, Altura, Brancos;
        std::uint8_t Alinhamento;
        bool FimParagrafo;
    };
    struct TTituloTabela {
        bool Valido = false; // false when the heading itself crossed a page
        int Altura = 0;
        std::vector<TLinhaTitulo> Linhas;
    } titulo_;
    void RepeteTitulo();

    QPainter *pintor_ = nullptr;
    TDesenhoPagina desenho_;     // the page being recorded
    bool semDesenho_ = false;    // measuring a header or footer: nothing is recorded
    // Draws through the painter, or records into the page being recorded.
    template <class E> void Elemento(E e) {
        if (Gravando) desenho_.Elementos.emplace_back(std::move(e));
        else if (pintor_) Pinta(e);
    }
    void Pinta(const TDesenhoPagina::TTexto &e);
    void Pinta(const TDesenhoPagina::TFundo &e);
    void Pinta(const TDesenhoPagina::TTraco &e);
    void Pinta(const TDesenhoPagina::TFigura &e);
    TFonte fonteDesenho_;
    std::vector<int> paradas_; // tab stops set by SetTabs (twips from the left margin)
    bool simbolo_ = false;          // the "Symbol" face is selected: its infinity maps to U+221E
    bool semQuebraPagina_ = false;  // measuring a header or footer
    std::function<void(TArqEditor &)> cabecalho_, rodape_;
    bool temMapa_ = false;
    TMapaEixos mapa_;
};

} // namespace zelto
