// TArqEditor: the one interface through which every report item writes.
//
// The report items never know where their output goes: they set fonts, write text runs, break
// paragraphs and pages, define tables cell by cell and hand over pictures through the
// operations below, and each writer turns them into its own output (RTF, Write, plain text,
// the JSON structure, the paged view that draws on screen, paper and PDF).
//
// Calling order expected by every writer: SetCanvas, SetPage, optionally BeginHeader ...
// EndHeader and BeginFooter ... EndFooter, then the body; a table is BeginTable, one BeginRow
// (the row definition), then the rows: each cell's content followed by NextCell, consecutive
// rows separated by EndRow (the last row gets no EndRow), and EndTable, which closes the last
// row; CloseDocument last. The report items are marked with BeginItem/BeginPart.
//
// Lengths handed in as double are millimetres; lengths kept as integers are twips
// (1/1440 inch). Text is UTF-8 inside the program (QString); file writers convert to their
// file's encoding. WriteText takes at most 255 characters per call in the original interface;
// every writer here accepts longer text and splits it into runs itself, so nothing is cut.
//
// The markup of WriteFormatted ("###" power of ten, "%^%" superscript, both closed by "%"; split
// by common/Marcacao.h) is rendered here, once, for every writer.
//
// Ownership: a writer lives for one run (created, SetCanvas, SetPage, body, CloseDocument,
// freed). It never shows a window: failures are returned (CloseDocument false) with the
// message in Erro(), and long closing work reports through the engine's progress sink.
#pragma once

#include "common/Progresso.h"
#include "writer/TiposEscrita.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QPaintDevice;

namespace zelto {

struct TChart;

class TArqEditor {
  public:
    TArqEditor();
    virtual ~TArqEditor();
    TArqEditor(const TArqEditor &) = delete;
    TArqEditor &operator=(const TArqEditor &) = delete;

    // The operations, in their fixed order. The base does nothing unless said.
    virtual void BeginDocument() {}
    // Completes and writes the document; true when it was completed. Base: false.
    virtual bool CloseDocument() { return false; }
    virtual void BoldOn() {}
    virtual void BoldOff() {}
    virtual void ItalicOn() {}
    virtual void ItalicOff() {}
    virtual void UnderlineOn() {}
    virtual void UnderlineOff() {}
    virtual void StrikeOutOn() {}
    virtual void StrikeOutOff() {}
    virtual void SuperscriptOn() {}
    virtual void SuperscriptOff() {}
    virtual void SubscriptOn() {}
    virtual void SubscriptOff() {}
    virtual void SetFont(const TFonte & /*fonte*/) {}
    virtual void SetFontName(const QString & /*nome*/) {}
    virtual void SetFontSize(int /*pontos*/) {}
    // Takes the font back after a markup run (only the view draws sizes below the font's).
    virtual void RestoreFont(const TFonte & /*fonte*/) {}
    // Sets the drawing size directly, for exponents (only the view).
    virtual void SetFontSizeRaw(int /*pontos*/) {}
    virtual void SetTextColor(TCor /*cor*/) {}
    virtual void SetBackColor(TCor /*cor*/) {}
    virtual void WriteText(const QString & /*texto*/) {}
    virtual void WritePageNumber() {}
    virtual void NewParagraph() {}
    virtual void NewPage() {}
    virtual void AlignCenter() {}
    virtual void AlignLeft() {}
    virtual void AlignRight() {}
    virtual void AlignJustify() {}
    // A picture as a device-independent bitmap; scale in percent; colours 2, 16 or 256.
    virtual void WriteBitmap(const QImage & /*imagem*/, int /*escala*/, int /*cores*/) {}
    // A picture wrapped as a metafile.
    virtual void WritePicture(const QImage & /*imagem*/, int /*escala*/, int /*cores*/) {}
    // A chart, handed as its model (the graph items use this one); colours 2, 16 or 256. A
    // writer that paints (the view, the printer, the PDF) draws it as vectors; a file format
    // takes a picture of it at the resolution it can hold. Base: WritePicture of the chart's
    // bitmap at 96 pixels per inch. A writer keeps the chart no longer than the item's
    // writing (its curves may refer to the item's data).
    virtual void WriteChart(const TChart &chart, int cores);
    // The infinity sign of the infinite marker. Base: character 165 of the Symbol face, in the
    // current size, then the font before it.
    virtual void WriteInfinity();
    // alignment (TAlinhamento), line spacing (percent), left, first-line, right indents (mm).
    virtual void SetParagraph(int /*alinhamento*/, int /*espacamento*/, double /*esquerda*/,
                              double /*primeira*/, double /*direita*/) {}
    // Page geometry in mm. Base: stores it (every writer needs the text width).
    virtual void SetPage(double larguraTexto, double margemEsquerda, double alturaTexto,
                         double margemSuperior, double larguraPagina, double alturaPagina);
    virtual void ApplyTabs() {}
    // Drops the tab stops SetTabs set: the paragraphs that follow use the default stops.
    virtual void ClearTabs() {}
    // Tab stops at positions[0..ultimo] (mm; 0 skipped) with kinds 0 left, 1 right, 2 centre,
    // 3 decimal.
    virtual void SetTabs(const double * /*posicoes*/, int /*ultimo*/,
                         const std::uint8_t * /*tipos*/) {}
    virtual void BeginHeader() {}
    virtual void EndHeader() {}
    virtual void BeginFooter() {}
    virtual void EndFooter() {}
    // Canvas on which text is measured; computes the device factors. May be null (a screen-
    // resolution image is used then).
    virtual void SetCanvas(QPaintDevice *canvas);
    // Starts a table: column count, row count, width (twips), TAlinhamentoTabela.
    virtual void BeginTable(int colunas, int linhas, int largura, int alinhamento);
    virtual void BeginRow() {}
    virtual void NextCell() {}
    // Base: copies every column's left border into its inner-vertical border and its top
    // border into its inner-horizontal border. Writers call it first.
    virtual void EndRow();
    // The room between a table and the paragraph that follows it (twips).
    static constexpr int EspacoAposTabela = 120;
    virtual void EndTable() {}
    virtual void DrawRowBorders() {}
    virtual void SelectColumn(int /*coluna*/) {}

    // Beyond the original slots: the evaluation marks where each report item and each of its
    // parts begins (number 1..56, class name "TIA_…", title). The structure writer records
    // them; the view uses them to find items on pages. Text written before the first
    // BeginItem belongs to no item.
    virtual void BeginItem(int /*numero*/, const QString & /*classe*/,
                           const QString & /*titulo*/) {}
    virtual void BeginPart() {}
    // A graph item hands the axis mapping of its chart just before WritePicture, so a view can
    // turn a click on the picture back into chart units. File writers ignore it.
    virtual void SetChartMapping(const TMapaEixos & /*mapa*/) {}
    // The paragraphs written while it is on stay on the page of the paragraph (or table) that
    // follows them: a title is never left alone at the foot of a page.
    virtual void KeepWithNext(bool /*ligado*/) {}

    // Non-virtual helpers.
    // WriteText with the markup: "mantissa###exponent%" writes mantissa, "x", "10" and the
    // exponent as superscript (exponent 4932, the infinite marker, writes the infinity sign in
    // place of the mantissa, keeping the text before it: blanks, sign, words);
    // "symbol%^%text%" writes the text as superscript. The runs and their rules (a marker
    // never closed is written as it stands) come from common/Marcacao.h.
    void WriteFormatted(const QString &texto);
    void WriteLine(const QString &texto);
    void SaveState();
    void RestoreState();
    // Column i (1-based), clamped to 1..ColumnCount; entry 0 holds the table width.
    TColuna &GetColumn(int i);
    // Width of one blank in the current font, in twips.
    int MeasureSpace() const;
    // Width of a text in the current font, in twips (a writer that lays text out measures as
    // it draws).
    virtual int MeasureText(const QString &texto) const;
    // Writes a running header or footer text: alignment, font, then each line with every
    // "(página)" replaced by the page number.
    void WriteHeaderFooterText(const TCabecalhoRodape &texto);
    void SetTabPosition(int indice, double posicao, std::uint8_t tipo = 0);

    // Progress sink for long closing work; may be null.
    void SetProgress(TProgresso *progresso) { Progresso = progresso; }
    // The failure of the last CloseDocument (or of creation), in Portuguese; empty when none.
    const QString &Erro() const { return MensagemErro; }
    // False when the writer could not be created (file not writable ...).
    bool Valido() const { return MensagemErro.isEmpty(); }

    // Document information (RTF only); at most 100 characters each.
    QString Title, Subject, Author, Operator, Keywords, Comment, DocComment;

    std::uint8_t Alignment = apEsquerda;
    std::uint8_t VerticalPosition = pvNormal;
    TFonte CurrentFont;
    std::uint8_t SavedAlignment = apEsquerda;
    std::uint8_t SavedVerticalPosition = pvNormal;
    TFonte SavedFont;
    std::array<double, 16> TabPositions{};   // mm; 0 unused
    std::array<std::uint8_t, 16> TabKinds{}; // 0 left, 1 right, 2 centre, 3 decimal
    int PaperWidth = 12240, PaperHeight = 15840;
    int RightMargin = 1800, BottomMargin = 1440, LeftMargin = 1800;
    int TextWidth = 12240 - 3600, TopMargin = 1440, TextHeight = 15840 - 2880;
    int HeaderHeight = 0, FooterHeight = 0;

    // Table state.
    TBordas TableBorders{};
    int ColumnCount = 0, RowCount = 0;
    std::vector<TColuna> Columns; // 1-based; entry 0's Largura is the table width
    std::uint8_t TableAlignment = atEsquerda;
    int CurrentColumn = 0, CurrentRow = 0;
    TFonte TableFont;
    // Formats that change from row to row (a heading row, a totals row): sets the column
    // records (backgrounds, borders) for a 1-based row of the table being written. The caller
    // applies row 1 itself before BeginRow; the writers that draw tables call it through
    // PreparaLinha as each later row begins. BeginTable clears it.
    std::function<void(int linha)> FormatoLinha;
    // Rows at the top of the table that repeat on every page the table crosses (0 or 1), and
    // the room (twips, an estimate) of those rows with the first row below them, which the
    // writers keep together. BeginTable clears both.
    int LinhasTitulo = 0;
    int AlturaInicioTabela = 0;

    // Twips per device pixel, horizontally and vertically (round(1440 / dpi) here; the view
    // replaces them by the exact quotient).
    double FatorX = 15, FatorY = 15;

  protected:
    // Applies FormatoLinha to CurrentRow; false when there is none (the records stay).
    bool PreparaLinha();
    QPaintDevice *Canvas = nullptr;
    TProgresso *Progresso = nullptr;
    QString MensagemErro;
};

} // namespace zelto
