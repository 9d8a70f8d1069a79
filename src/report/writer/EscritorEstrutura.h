// TEscritorEstrutura: the report recorded as its structure, in JSON (extension .json), for
// scripts and tests.
//
//   {"items": [{"number": N, "class": "TIA_…", "title": "…", "parts": [[block, …], …]}],
//    "header": [block, …], "footer": [block, …]}
//
// Each BeginItem starts an item; text written before the first one goes in an item numbered 0
// (class and title empty). Each BeginPart starts a new part, except that the first BeginPart of
// an item continues the part that holds the item's text written before it. A block is one of
//
//   {"paragraph": "text", "align": "left|center|right|justify",
//    "runs": [{"text", "font", "size", "bold", "italic", "underline", "superscript"}]}
//   {"table": [["cell", …], …], "align": [["left", …], …]}
//   {"picture": {"width": W, "height": H, "colors": C}}   (pixels; 2, 16 or 256 colours)
//   {"page_break": true}
//
// A run is the text exactly as written with its font; the paragraph text is the runs joined as
// a reader would see them: a superscript after "^" ("1,23x10^-5", "R^2"), the infinity sign of
// the Symbol face as "∞", a tab as a tab, a page number as its value (1 + the page breaks so
// far). Every NewParagraph ends a paragraph, blank ones included. Table cells hold the joined
// text of what was written in them, short rows filled with empty cells. The running header and
// footer are recorded apart from the items, as paragraphs.
//
// The document is kept in memory and written (UTF-8, indented) by CloseDocument.
#pragma once

#include "writer/ArqEditor.h"
#include "writer/SaidaArquivo.h"

#include <QJsonDocument>
#include <QString>

#include <memory>
#include <vector>

namespace zelto {

struct TTrechoEstrutura {
    QString Texto;
    TFonte Fonte;
    bool Sobrescrito = false;
};

struct TBlocoEstrutura {
    enum TTipo { Paragrafo, Tabela, Figura, QuebraPagina };
    TTipo Tipo = Paragrafo;
    // Paragraph.
    QString Texto;
    std::uint8_t Alinhamento = apEsquerda;
    std::vector<TTrechoEstrutura> Trechos;
    // Table: cell texts and alignments, row by row.
    std::vector<std::vector<QString>> Celulas;
    std::vector<std::vector<std::uint8_t>> Alinhamentos;
    // Picture.
    int Largura = 0, Altura = 0, Cores = 0;
};

struct TItemEstrutura {
    int Numero = 0;
    QString Classe, Titulo;
    std::vector<std::vector<TBlocoEstrutura>> Partes{1};
    bool PartesMarcadas = false; // a BeginPart was seen
};

class TEscritorEstrutura : public TArqEditor {
  public:
    explicit TEscritorEstrutura(const QString &arquivo);
    ~TEscritorEstrutura() override;

    // Writes the document; false (with Erro()) when the file could not be written.
    bool CloseDocument() override;
    void BoldOn() override { CurrentFont.Negrito = true; }
    void BoldOff() override { CurrentFont.Negrito = false; }
    void ItalicOn() override { CurrentFont.Italico = true; }
    void ItalicOff() override { CurrentFont.Italico = false; }
    void UnderlineOn() override { CurrentFont.Sublinhado = true; }
    void UnderlineOff() override { CurrentFont.Sublinhado = false; }
    void StrikeOutOn() override { CurrentFont.Riscado = true; }
    void StrikeOutOff() override { CurrentFont.Riscado = false; }
    void SuperscriptOn() override;
    void SuperscriptOff() override { VerticalPosition = pvNormal; }
    void SubscriptOn() override { VerticalPosition = pvSubscrito; }
    void SubscriptOff() override { VerticalPosition = pvNormal; }
    void SetFont(const TFonte &fonte) override { CurrentFont = fonte; }
    void SetFontName(const QString &nome) override { CurrentFont.Nome = nome; }
    void SetFontSize(int pontos) override { CurrentFont.Tamanho = pontos; }
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
    // A chart is recorded as a picture of its size in pixels at 96 per inch; nothing is drawn.
    void WriteChart(const TChart &chart, int cores) override;
    void BeginHeader() override { MudaDestino(dCabecalho); }
    void EndHeader() override { MudaDestino(dCorpo); }
    void BeginFooter() override { MudaDestino(dRodape); }
    void EndFooter() override { MudaDestino(dCorpo); }
    void BeginTable(int colunas, int linhas, int largura, int alinhamento) override;
    void NextCell() override;
    void EndRow() override;
    void EndTable() override;
    void BeginItem(int numero, const QString &classe, const QString &titulo) override;
    void BeginPart() override;

    // The document as recorded so far.
    QJsonDocument Documento() const;

  protected:
    // The bytes of the file: the JSON document.
    virtual QByteArray Conteudo() const;
    const std::vector<TItemEstrutura> &Itens() const { return itens_; }

  private:
    enum TDestino { dCorpo, dCabecalho, dRodape };
    std::vector<TBlocoEstrutura> &Blocos();
    void MudaDestino(TDestino destino);
    void Acrescenta(TBlocoEstrutura bloco);
    // Ends the paragraph being written, if it holds anything (sempre: even when empty).
    void FechaParagrafo(bool sempre);
    void FechaCelula();
    void EscreveFigura(QSize tamanho, int cores);

    std::unique_ptr<TSaidaArquivo> saida_;
    std::vector<TItemEstrutura> itens_;
    std::vector<TBlocoEstrutura> cabecalho_, rodape_;
    TDestino destino_ = dCorpo;
    TBlocoEstrutura paragrafo_;
    bool temParagrafo_ = false;
    bool circunflexo_ = false; // the next superscript text starts with "^"
    int quebras_ = 0;
    // The table being written.
    bool emTabela_ = false;
    TBlocoEstrutura tabela_;
    std::vector<QString> linha_;
    std::vector<std::uint8_t> alinhamentosLinha_;
    QString celula_;
    bool fechado_ = false;
};

} // namespace zelto
