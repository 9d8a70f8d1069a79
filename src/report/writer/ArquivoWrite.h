// TArquivoWrite: the report written as a Write 3.0 document (extension WRI).
//
// The file is made of 128-byte pages: a header page, the text from offset 128 (Windows-1252,
// paragraphs ended by CR LF), the character-property pages (CHP), the paragraph-property pages
// (PAP), the section property (SEP) and section table (SETB) pages, and the font table (FFNTB).
// Each property page holds the first text position it covers, a list of runs (FODs: where the
// run ends and which property record applies) growing from the front, the property records
// (FPROPs: a length byte and the leading bytes of a CHP or PAP that differ from the defaults)
// growing from the back, and the run count in its last byte.
//
// How the report maps onto it:
// - character runs change with bold, italic, underline, font (its face gets a number in the
//   font table on first use), size (half-points) and raised or lowered position (half the
//   size); strike-out is kept in the current font only, Write has none; the page number is the
//   special character 1;
// - a paragraph ends with CR LF and takes the current justification; a page break is CR LF and
//   a form feed; tables become lines of cell texts each followed by two tabs;
// - a picture is a paragraph of its own flagged as a picture, holding a static embedded object
//   behind a 40-byte picture header: of class "BITMAP" (a device-dependent bitmap, rows from the
//   top) for 2 colours, of class "DIB" (a device-independent bitmap with its colour table) for
//   16 and 256, whose colours a device-dependent bitmap cannot carry;
// - headers, footers, tab stops, paragraph formats and colours are not written: the document
//   has no running header or footer, so what is written between BeginHeader and EndHeader (or
//   BeginFooter and EndFooter) is left out of the document.
//
// The text goes straight into the output (a temporary file until the document is complete,
// see TSaidaArquivo); the property pages are kept in memory until CloseDocument writes them
// after the text with the section, the font table and the final header.
#pragma once

#include "writer/ArqEditor.h"
#include "writer/SaidaArquivo.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace zelto {

// The runs and property records of one kind (characters or paragraphs), in 128-byte pages.
class TPaginasPropriedades {
  public:
    // Ends a run at text position fcLim with the property record fprop (length byte first).
    // A record already on the page is shared; a full page is set aside and a new one begun.
    void Acrescenta(std::uint32_t fcLim, const QByteArray &fprop);
    // Bytes of the pages set aside so far (the full ones).
    qint64 TamanhoGuardado() const { return guardadas_.size(); }
    // Every page, the one being filled included.
    QByteArray Paginas() const;

  private:
    void NovaPagina();

    QByteArray guardadas_;
    QByteArray atual_;
    int fods_ = 0;
    int livre_ = 123; // FPROPs end here, counted from the first FOD (byte 4)
    std::uint32_t ultimoLimite_ = 128;
};

class TArquivoWrite : public TArqEditor {
  public:
    explicit TArquivoWrite(const QString &arquivo);
    ~TArquivoWrite() override;

    // The message when the document grows beyond what the format holds.
    static const QString MensagemTamanho;
    // Output, character pages and paragraph pages together may not reach this many bytes.
    qint64 LimiteTamanho = 8380001;

    bool CloseDocument() override;
    void BoldOn() override;
    void BoldOff() override;
    void ItalicOn() override;
    void ItalicOff() override;
    void UnderlineOn() override;
    void UnderlineOff() override;
    void StrikeOutOn() override;
    void StrikeOutOff() override;
    void SuperscriptOn() override;
    void SuperscriptOff() override;
    void SubscriptOn() override;
    void SubscriptOff() override;
    void SetFont(const TFonte &fonte) override;
    void SetFontName(const QString &nome) override;
    void SetFontSize(int pontos) override;
    void WriteText(const QString &texto) override;
    void WritePageNumber() override;
    void NewParagraph() override;
    void NewPage() override;
    void AlignCenter() override;
    void AlignLeft() override;
    void AlignRight() override;
    void AlignJustify() override;
    void WriteBitmap(const QImage &imagem, int escala, int cores) override;
    void WritePicture(const QImage &imagem, int escala, int cores) override;
    void BeginHeader() override { descartando_ = true; }
    void EndHeader() override { descartando_ = false; }
    void BeginFooter() override { descartando_ = true; }
    void EndFooter() override { descartando_ = false; }
    void BeginRow() override;
    void NextCell() override;
    void EndRow() override;

    // The faces of the font table, in order of first use.
    const QStringList &Fontes() const { return fontes_; }

  private:
    struct TCaracteres {
        bool Negrito = false, Italico = false, Sublinhado = false, Especial = false;
        int Fonte = 0;
        int MeiosPontos = 24;
        int Posicao = 0; // half-points, raised > 0, lowered < 0
        bool operator==(const TCaracteres &) const = default;
        QByteArray Registro() const;
    };
    struct TParagrafo {
        std::uint8_t Justificacao = apEsquerda;
        bool Figura = false;
        QByteArray Registro() const;
    };

    bool Ativo() const { return saida_->Aberta() && !fechado_ && !descartando_; }
    int IndiceFonte(const QString &nome);
    // Takes the character properties from the current font and position; a change ends the
    // run written so far.
    void AplicaCaracteres();
    void FechaCaracteres();
    void FechaParagrafo();
    void Grava(const QByteArray &bytes);
    void Alinha(std::uint8_t justificacao);
    void EscreveFigura(const QImage &imagem, int cores);
    bool Compoe(TProgresso &progresso);
    QByteArray Cabecalho(std::uint16_t pnPara, std::uint16_t pnSep, std::uint16_t pnFfntb,
                         std::uint16_t pnMac) const;
    QByteArray Secao(std::uint16_t pnSep) const;
    QByteArray TabelaFontes() const;

    std::unique_ptr<TSaidaArquivo> saida_;
    std::uint32_t posicao_ = 128; // next text byte
    std::uint32_t inicioCaracteres_ = 128, inicioParagrafo_ = 128;
    TCaracteres caracteres_;
    TParagrafo paragrafo_;
    bool especial_ = false;
    bool descartando_ = false;
    bool fechado_ = false;
    TPaginasPropriedades paginasCaracteres_, paginasParagrafos_;
    QStringList fontes_;
};

} // namespace zelto
