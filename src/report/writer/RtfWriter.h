// tRTF_Writer: the report writer that produces a Rich Text Format file (extensions .rtf and
// .doc; a ".doc" written here is RTF text as well).
//
// The body of the document is streamed into a scratch file ("Rtf_" + a unique suffix, in the
// output's folder) while the report is laid out; the fonts and colours met on the way are
// collected into their tables. CloseDocument then writes the document head (font table,
// colour table, page set-up, document information) and appends the body after it, the
// body's first byte taking the place of the head's final line feed, and ends the file with
// the byte 0x1A.
//
// The output goes through a TSaidaArquivo: nothing reaches the user's file until CloseDocument
// has completed, and then the finished file replaces it in one rename (a symbolic link is
// followed under that class's rules, the file's permissions are kept; a folder, a device, a
// FIFO or a socket is refused). The scratch file lies in the folder of the file the path leads
// to. A writer freed without a completed CloseDocument (a cancelled or failed export) leaves
// the previous file untouched, and the scratch file is removed with the writer. A file that
// cannot be created or written makes Erro() name it (the output as given, never the scratch
// file) and CloseDocument return false.
//
// Charts go as PNG pictures at print resolution; other pictures as the metafile or the
// device-independent bitmap of their operation.
//
// Text is written in Windows-1252: "\", "{" and "}" are escaped, bytes from 128 up become
// \'xx, a tab is \tab, a line break inside a text (a cell heading broken into lines) is
// \line, and a character outside the code page is written as \uN with "?" for readers
// without Unicode. Texts of any length are written whole.
//
// Formatting requests are compared with the tracked state, so a request that changes nothing
// writes nothing (bold twice writes "\b " once); SetFontSize always writes its size. A header
// or footer is an RTF group: what it sets ends with it, so the state tracked before the
// group is taken back at its end.
#pragma once

#include "writer/ArqEditor.h"
#include "writer/SaidaArquivo.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QTemporaryFile>

#include <memory>

namespace zelto {

class tRTF_Writer : public TArqEditor {
  public:
    explicit tRTF_Writer(const QString &arquivo);
    ~tRTF_Writer() override;

    // Date and time of the document information; the current time when not valid.
    QDateTime DataHora;
    bool Landscape = false;
    int FirstPageNumber = 1;

    // The output path, expanded to a full path.
    const QString &OutputName() const { return nomeSaida_; }
    // The scratch file of the body (empty when it could not be created).
    QString BodyName() const;

    void BeginDocument() override;
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
    void ClearTabs() override;
    // The sign itself (\u8734) in the current font: word processors map the Symbol face's
    // character 165 to a yen sign.
    void WriteInfinity() override;
    void SetFontSize(int pontos) override;
    void SetTextColor(TCor cor) override;
    void SetBackColor(TCor cor) override;
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
    // A chart as a PNG picture (\pngblip) at ResolucaoGraficos pixels per inch of its printed
    // size (\picwgoal, \pichgoal: its size in the layout, a 96th of an inch per unit), in
    // its colour count: two colours as a one-bit picture, 16 and 256 on their fixed palettes.
    void WriteChart(const TChart &chart, int cores) override;
    static constexpr double ResolucaoGraficos = 300;
    void SetParagraph(int alinhamento, int espacamento, double esquerda, double primeira,
                      double direita) override;
    void ApplyTabs() override;
    void SetTabs(const double *posicoes, int ultimo, const std::uint8_t *tipos) override;
    void BeginHeader() override;
    void EndHeader() override;
    void BeginFooter() override;
    void EndFooter() override;
    void KeepWithNext(bool ligado) override;
    void BeginRow() override;
    void NextCell() override;
    void EndRow() override;
    void EndTable() override;

    // The escaped form of a text (Windows-1252 bytes, RTF escapes).
    static QByteArray Escapa(const QString &texto);

  private:
    // Writes to the body; CorpoTexto writes text, first ending a numeric control word that
    // was left without its delimiter when the text would run into it.
    void Corpo(const QByteArray &bytes);
    void CorpoTexto(const QByteArray &bytes);
    // "\f" N of a font, adding its entry to the font table when new.
    QByteArray ReferenciaFonte(const TFonte &fonte);
    // 1-based number of a colour in the colour table, adding it when new.
    int NumeroCor(TCor cor);
    // The current font reference and the alignment word, after table marks.
    void ReemiteParagrafo();
    void Estilo(bool TFonte::*campo, bool ligado, const char *ligar, const char *desligar);
    void LigaPosicao(std::uint8_t posicao, const char *palavra);
    void DesligaPosicao(std::uint8_t posicao);
    void Alinha(std::uint8_t alinhamento);
    void IniciaGrupo(const char *grupo);
    void TerminaGrupo();
    QByteArray Cabecalho() const;
    void Falha(const QString &mensagem);

    // Writes the buffered body bytes to the scratch file; false (the system's error kept)
    // when the system refused them.
    bool DescarregaCorpo();

    QString nomeSaida_;
    std::unique_ptr<TSaidaArquivo> saida_;
    std::unique_ptr<QTemporaryFile> corpo_;
    QByteArray bufferCorpo_;   // body bytes not yet in the scratch file
    qint64 tamanhoCorpo_ = 0;  // bytes in the scratch file
    int erroCorpo_ = 0;        // the system's error number of a failed body write
    bool iniciado_ = false;     // "{" written
    bool fechado_ = false;      // CloseDocument ran
    bool concluido_ = false;    // and completed
    bool fonteEmitida_ = false; // CurrentFont is what the file holds (else the next SetFont writes)
    bool tabulacoes_ = false;   // tab stops were set for the paragraphs being written
    bool espacoAntes_ = false;  // the paragraph being written follows a table (\sb is on)
    bool manter_ = false;       // paragraphs are kept with the next (keep-with-next is on)
    bool delimitador_ = false;  // the last control word ended with digits and no blank
    TCor corFundo_ = CorBranca;
    QList<QByteArray> fontes_; // font entries without their number
    QList<TCor> cores_;        // colour entries; number = position + 1

    // State tracked before a header or footer group, taken back at its end.
    struct TEstadoGrupo {
        std::uint8_t Alinhamento;
        std::uint8_t Posicao;
        TFonte Fonte;
        bool FonteEmitida;
        TCor Fundo;
    };
    TEstadoGrupo antesDoGrupo_{};
};

} // namespace zelto
