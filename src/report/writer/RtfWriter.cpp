#include "writer/RtfWriter.h"

#include "common/Texto.h"
#include "chart/Chart.h"
#include "writer/Dib.h"
#include "writer/Png.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <unistd.h>

namespace zelto {

namespace {

constexpr char FimLinha[] = "\r\n";
// The body is appended to the head in blocks of this size.
constexpr qint64 Bloco = 32000;
// Hexadecimal picture data gets a line break after this many bytes.
constexpr int BytesPorLinhaHex = 192;

QByteArray Numero(qint64 n) {
    return QByteArray::number(n);
}

// Family word and pitch (0 default, 1 fixed, 2 proportional) of a face. The report names a
// handful of faces; the common faces of both desktop worlds are classified here, and any other
// face is written as "nil" with the default pitch, leaving the choice to the reader.
struct TFamilia {
    const char *Familia;
    int Passo;
};

TFamilia FamiliaDaFonte(const QString &nome) {
    static const QHash<QString, TFamilia> familias = [] {
        QHash<QString, TFamilia> h;
        for (const char *f :
             {"times new roman", "times", "liberation serif", "dejavu serif", "georgia", "garamond",
              "book antiqua", "bookman old style", "century schoolbook", "palatino linotype",
              "cambria", "ms serif", "serif"})
            h.insert(QString::fromLatin1(f), {"roman", 2});
        for (const char *f : {"arial", "helvetica", "liberation sans", "dejavu sans", "verdana",
                              "tahoma", "calibri", "segoe ui", "trebuchet ms", "arial narrow",
                              "century gothic", "ms sans serif", "sans serif", "sans-serif"})
            h.insert(QString::fromLatin1(f), {"swiss", 2});
        for (const char *f : {"courier new", "courier", "liberation mono", "dejavu sans mono",
                              "lucida console", "consolas", "monospace"})
            h.insert(QString::fromLatin1(f), {"modern", 1});
        for (const char *f : {"comic sans ms", "monotype corsiva", "brush script mt"})
            h.insert(QString::fromLatin1(f), {"script", 2});
        for (const char *f : {"symbol", "wingdings", "webdings"})
            h.insert(QString::fromLatin1(f), {"decor", 2});
        return h;
    }();
    return familias.value(nome.trimmed().toLower(), {"nil", 0});
}

// Unicode -> Windows-1252 byte for the upper half of the code page.
const QHash<char16_t, uchar> &MetadeSuperior() {
    static const QHash<char16_t, uchar> tabela = [] {
        QHash<char16_t, uchar> t;
        for (int b = 128; b < 256; ++b) {
            const std::string byte(1, static_cast<char>(b));
            const QString c = QString::fromStdString(DeCp1252(byte));
            if (c.size() == 1) t.insert(c[0].unicode(), static_cast<uchar>(b));
        }
        return t;
    }();
    return tabela;
}

// Bytes as lower-case hexadecimal pairs with a line break after every 192 bytes.
QByteArray Hexadecimal(const QByteArray &dados) {
    QByteArray r;
    r.reserve(dados.size() * 2 + dados.size() / BytesPorLinhaHex * 2 + 2);
    for (qsizetype i = 0; i < dados.size(); i += BytesPorLinhaHex) {
        r += dados.mid(i, BytesPorLinhaHex).toHex();
        if (i + BytesPorLinhaHex <= dados.size()) r += FimLinha;
    }
    return r;
}

// The word of a paragraph alignment; justified text is first set left.
const char *PalavraAlinhamento(std::uint8_t alinhamento) {
    switch (alinhamento) {
    case apCentro:
        return "\\qc ";
    case apDireita:
        return "\\qr ";
    case apJustificado:
        return "\\ql \\qj ";
    default:
        return "\\ql ";
    }
}

int EscalaRtf(int escala) {
    return static_cast<int>(std::lround(escala * 0.942));
}

// The words of one border: empty when it draws nothing.
QByteArray PalavrasBorda(const TBorda &b, int numeroCor) {
    if (!b.Visivel()) return {};
    static const char *const estilos[] = {"",
                                          "\\brdrs",
                                          "\\brdrdot",
                                          "\\brdrdash",
                                          "\\brdrdashd",
                                          "\\brdrdashdd",
                                          "\\brdrwavy",
                                          "\\brdrwavydb",
                                          "\\brdrdashdotstr",
                                          "\\brdremboss",
                                          "\\brdrengrave"};
    QByteArray r;
    if (b.Sombra) r += "\\brdrsh";
    if (b.Estilo <= 10) r += estilos[b.Estilo];
    if (b.Largura == 1) {
        if (r.isEmpty()) r += "\\brdrs";
    } else if (b.Largura == 2) {
        if (r.isEmpty()) r += "\\brdrth";
    } else {
        r += "\\brdrw" + Numero(std::min<int>(b.Largura, 75));
    }
    if (b.Multiplicidade == 2)
        r += "\\brdrdb";
    else if (b.Multiplicidade != 1)
        r += "\\brdrtriple";
    if (b.Cor != 0) r += "\\brdrcf" + Numero(numeroCor);
    return r;
}

} // namespace

tRTF_Writer::tRTF_Writer(const QString &arquivo)
    : nomeSaida_(QFileInfo(arquivo).absoluteFilePath()) {
    // Until SetPage: a letter page with margins of 1.25 and 1 inch; tabs every 2 mm from 4 mm.
    PaperWidth = 12240;
    PaperHeight = 15840;
    LeftMargin = RightMargin = 1800;
    TopMargin = BottomMargin = 1440;
    TextWidth = PaperWidth - LeftMargin - RightMargin;
    TextHeight = PaperHeight - TopMargin - BottomMargin;
    for (int i = 0; i < 8; ++i)
        SetTabPosition(i, 4 + 2 * i, 0);
    Alignment = apEsquerda;
    VerticalPosition = pvNormal;
    cores_.append(CorPreta);

    // The output first: a target that cannot be written is refused before any scratch file.
    saida_ = std::make_unique<TSaidaArquivo>(nomeSaida_);
    if (!saida_->Aberta()) {
        Falha(saida_->Erro());
        saida_.reset();
        return;
    }
    corpo_ = std::make_unique<QTemporaryFile>(saida_->Pasta() + QStringLiteral("/Rtf_XXXXXX"));
    if (!corpo_->open()) {
        Falha(TSaidaArquivo::Mensagem(QStringLiteral("Não foi possível criar o arquivo"), nomeSaida_,
                                      TextoErroSistema(errno)));
        saida_.reset();
        corpo_.reset();
        return;
    }
    BeginDocument();
    ColumnCount = RowCount = CurrentRow = CurrentColumn = 0;
}

// Without a completed CloseDocument the previous file stays as it was (the output is thrown
// away with its TSaidaArquivo); the scratch file goes with its QTemporaryFile.
tRTF_Writer::~tRTF_Writer() = default;

QString tRTF_Writer::BodyName() const {
    return corpo_ ? corpo_->fileName() : QString();
}

void tRTF_Writer::Falha(const QString &mensagem) {
    if (MensagemErro.isEmpty()) MensagemErro = mensagem;
}

void tRTF_Writer::BeginDocument() {
    if (!saida_ || iniciado_) return;
    saida_->Grava("{", 1);
    iniciado_ = true;
}

void tRTF_Writer::Corpo(const QByteArray &bytes) {
    delimitador_ = false;
    if (!corpo_ || fechado_) return;
    bufferCorpo_ += bytes;
    if (bufferCorpo_.size() >= Bloco) DescarregaCorpo();
}

bool tRTF_Writer::DescarregaCorpo() {
    if (erroCorpo_ != 0) return false;
    const int fd = corpo_ ? corpo_->handle() : -1;
    qsizetype feito = 0;
    while (feito < bufferCorpo_.size()) {
        const ssize_t n = ::write(fd, bufferCorpo_.constData() + feito,
                                  static_cast<std::size_t>(bufferCorpo_.size() - feito));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            erroCorpo_ = n < 0 ? errno : ENOSPC;
            bufferCorpo_.clear();
            return false;
        }
        feito += n;
    }
    tamanhoCorpo_ += feito;
    bufferCorpo_.clear();
    return true;
}

void tRTF_Writer::CorpoTexto(const QByteArray &bytes) {
    if (bytes.isEmpty()) return;
    // A control word that ended with its number and no blank ("\tx2268") would take a digit
    // of the text as part of its number, and a blank after it as its delimiter.
    const char primeiro = bytes.front();
    if (delimitador_ && ((primeiro >= '0' && primeiro <= '9') || primeiro == ' ')) Corpo(" ");
    Corpo(bytes);
}

QByteArray tRTF_Writer::Escapa(const QString &texto) {
    const auto &superior = MetadeSuperior();
    QByteArray r;
    r.reserve(texto.size() + 16);
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const char16_t c = texto[i].unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            r += '\\';
            r += static_cast<char>(c);
        } else if (c == u'\t') {
            // A blank before the tab when a word ends there: a word ending just short of a tab
            // stop is never glued to what the tab brings.
            if (i > 0 && texto[i - 1] != u' ' && texto[i - 1] != u'\t') r += ' ';
            r += "\\tab ";
        } else if (c == u'\r' || c == u'\n') {
            // A line break inside a text (CR, LF or CR LF) breaks the line, as in a cell
            // heading.
            if (c == u'\r' && i + 1 < texto.size() && texto[i + 1] == u'\n') ++i;
            r += "\\line ";
        } else if (c < 32) {
            r += "\\'" + QByteArray::number(c, 16).rightJustified(2, '0');
        } else if (c < 128) {
            r += static_cast<char>(c);
        } else if (const auto it = superior.constFind(c); it != superior.constEnd()) {
            r += "\\'" + QByteArray::number(*it, 16);
        } else {
            // Outside the code page: the Unicode escape, signed 16-bit, with "?" as the
            // replacement for readers that do not know it.
            r += "\\u" + Numero(static_cast<std::int16_t>(c)) + '?';
        }
    }
    return r;
}

QByteArray tRTF_Writer::ReferenciaFonte(const TFonte &fonte) {
    const TFamilia f = FamiliaDaFonte(fonte.Nome);
    const QByteArray entrada = QByteArray("\\f") + f.Familia + " \\fprq" + Numero(f.Passo) + ' ' +
                               Escapa(fonte.Nome) + ";}";
    qsizetype n = fontes_.indexOf(entrada);
    if (n < 0) {
        fontes_.append(entrada);
        n = fontes_.size() - 1;
    }
    return "\\f" + Numero(n);
}

int tRTF_Writer::NumeroCor(TCor cor) {
    cor &= 0x00FFFFFF;
    qsizetype n = cores_.indexOf(cor);
    if (n < 0) {
        cores_.append(cor);
        n = cores_.size() - 1;
    }
    return static_cast<int>(n) + 1;
}

void tRTF_Writer::Estilo(bool TFonte::*campo, bool ligado, const char *ligar,
                         const char *desligar) {
    if (CurrentFont.*campo == ligado) return;
    Corpo(ligado ? ligar : desligar);
    CurrentFont.*campo = ligado;
}

void tRTF_Writer::BoldOn() {
    Estilo(&TFonte::Negrito, true, "\\b ", "\\b0 ");
}
void tRTF_Writer::BoldOff() {
    Estilo(&TFonte::Negrito, false, "\\b ", "\\b0 ");
}
void tRTF_Writer::ItalicOn() {
    Estilo(&TFonte::Italico, true, "\\i ", "\\i0 ");
}
void tRTF_Writer::ItalicOff() {
    Estilo(&TFonte::Italico, false, "\\i ", "\\i0 ");
}
void tRTF_Writer::UnderlineOn() {
    Estilo(&TFonte::Sublinhado, true, "\\ul ", "\\ul0\\ulNone ");
}
void tRTF_Writer::UnderlineOff() {
    Estilo(&TFonte::Sublinhado, false, "\\ul ", "\\ul0\\ulNone ");
}
void tRTF_Writer::StrikeOutOn() {
    Estilo(&TFonte::Riscado, true, "\\strike ", "\\strike0 ");
}
void tRTF_Writer::StrikeOutOff() {
    Estilo(&TFonte::Riscado, false, "\\strike ", "\\strike0 ");
}

void tRTF_Writer::LigaPosicao(std::uint8_t posicao, const char *palavra) {
    if (VerticalPosition != posicao) Corpo(palavra);
    VerticalPosition = posicao;
}

void tRTF_Writer::DesligaPosicao(std::uint8_t posicao) {
    if (VerticalPosition == posicao) Corpo("\\nosupersub ");
    VerticalPosition = pvNormal;
}

void tRTF_Writer::SuperscriptOn() {
    LigaPosicao(pvSobrescrito, "\\super ");
}
void tRTF_Writer::SuperscriptOff() {
    DesligaPosicao(pvSobrescrito);
}
void tRTF_Writer::SubscriptOn() {
    LigaPosicao(pvSubscrito, "\\sub ");
}
void tRTF_Writer::SubscriptOff() {
    DesligaPosicao(pvSubscrito);
}

void tRTF_Writer::SetFont(const TFonte &fonte) {
    if (fonteEmitida_ && fonte == CurrentFont) return;
    Corpo(ReferenciaFonte(fonte) + ' ');
    // Italic, bold, underline and strike-out, each written only when it changes.
    fonte.Italico ? ItalicOn() : ItalicOff();
    fonte.Negrito ? BoldOn() : BoldOff();
    fonte.Sublinhado ? UnderlineOn() : UnderlineOff();
    fonte.Riscado ? StrikeOutOn() : StrikeOutOff();
    SetFontSize(fonte.Tamanho);
    SetTextColor(fonte.Cor);
    CurrentFont = fonte;
    fonteEmitida_ = true;
}

void tRTF_Writer::SetFontName(const QString &nome) {
    TFonte f = CurrentFont;
    f.Nome = nome;
    SetFont(f);
}

void tRTF_Writer::WriteInfinity() { WriteText(QString(QChar(0x221E))); }

void tRTF_Writer::SetFontSize(int pontos) {
    Corpo("\\fs" + Numero(2 * pontos) + ' ');
    CurrentFont.Tamanho = pontos;
}

void tRTF_Writer::SetTextColor(TCor cor) {
    if (cor == CurrentFont.Cor) return;
    Corpo("\\cf" + Numero(NumeroCor(cor)) + ' ');
    CurrentFont.Cor = cor;
}

void tRTF_Writer::SetBackColor(TCor cor) {
    if (cor == corFundo_) return;
    Corpo("\\cb" + Numero(NumeroCor(cor)) + ' ');
    corFundo_ = cor;
}

void tRTF_Writer::WriteText(const QString &texto) {
    CorpoTexto(Escapa(texto));
}

void tRTF_Writer::WritePageNumber() {
    // The field carries the font of the text around it, as readers give a field's result the
    // formatting of its own instruction, not of the paragraph.
    QByteArray f;
    if (fonteEmitida_) {
        f = ReferenciaFonte(CurrentFont) + "\\fs" + Numero(2 * CurrentFont.Tamanho);
        if (CurrentFont.Negrito) f += "\\b";
        if (CurrentFont.Italico) f += "\\i";
        f += ' ';
    }
    Corpo("{\\field{\\*\\fldinst {" + f + "PAGE}}{\\fldrslt {" + f + "1}}}");
}

void tRTF_Writer::NewParagraph() {
    Corpo("\r\n\\par ");
    if (espacoAntes_) Corpo("\\sb0 ");
    espacoAntes_ = false;
}

void tRTF_Writer::NewPage() {
    Corpo("\r\n\\page ");
}

void tRTF_Writer::Alinha(std::uint8_t alinhamento) {
    if (Alignment == alinhamento) return;
    Corpo(PalavraAlinhamento(alinhamento));
    Alignment = alinhamento;
}

void tRTF_Writer::AlignCenter() {
    Alinha(apCentro);
}
void tRTF_Writer::AlignLeft() {
    Alinha(apEsquerda);
}
void tRTF_Writer::AlignRight() {
    Alinha(apDireita);
}
void tRTF_Writer::AlignJustify() {
    Alinha(apJustificado);
}

void tRTF_Writer::SetParagraph(int alinhamento, int espacamento, double esquerda, double primeira,
                               double direita) {
    const bool conhecido = alinhamento >= apEsquerda && alinhamento <= apJustificado;
    Alinha(static_cast<std::uint8_t>(conhecido ? alinhamento : int{apEsquerda}));
    Corpo("\\li" + Numero(ParaTwips(esquerda)) + "\\ri" + Numero(ParaTwips(direita)) + "\\fi" +
          Numero(ParaTwips(primeira)) + "\\slmult" + Numero(std::lround(espacamento / 100.0)));
    delimitador_ = true;
}

void tRTF_Writer::SetTabs(const double *posicoes, int ultimo, const std::uint8_t *tipos) {
    QByteArray r;
    for (int i = 0; i <= ultimo; ++i) {
        if (posicoes[i] == 0) continue;
        switch (tipos[i]) {
        case 1:
            r += "\\tqr";
            break;
        case 2:
            r += "\\tqc";
            break;
        case 3:
            r += "\\tqdec";
            break;
        default:
            break;
        }
        r += "\\tx" + Numero(ParaTwips(posicoes[i]));
    }
    if (r.isEmpty()) return;
    Corpo(r);
    delimitador_ = true;
    tabulacoes_ = true;
}

void tRTF_Writer::ClearTabs() {
    if (!tabulacoes_) return;
    tabulacoes_ = false;
    // Only \pard drops tab stops: the paragraph gets its alignment and keep back.
    Corpo(manter_ ? "\\pard\\keepn " : "\\pard ");
    const std::uint8_t alinhamento = Alignment;
    Alignment = apDesconhecido;
    Alinha(alinhamento == apDesconhecido ? static_cast<std::uint8_t>(apEsquerda) : alinhamento);
}

void tRTF_Writer::ApplyTabs() {
    SetTabs(TabPositions.data(), static_cast<int>(TabPositions.size()) - 1, TabKinds.data());
}

void tRTF_Writer::IniciaGrupo(const char *grupo) {
    SetTextColor(CorPreta);
    SetBackColor(CorBranca);
    antesDoGrupo_ = {Alignment, VerticalPosition, CurrentFont, fonteEmitida_, corFundo_};
    // The first alignment and font inside the group are always written.
    Alignment = apDesconhecido;
    fonteEmitida_ = false;
    Corpo(grupo);
}

void tRTF_Writer::TerminaGrupo() {
    Corpo("}\r\n");
    // The group's end gives the file back the state it had before the group.
    Alignment = antesDoGrupo_.Alinhamento;
    VerticalPosition = antesDoGrupo_.Posicao;
    CurrentFont = antesDoGrupo_.Fonte;
    fonteEmitida_ = antesDoGrupo_.FonteEmitida;
    corFundo_ = antesDoGrupo_.Fundo;
}

void tRTF_Writer::BeginHeader() {
    IniciaGrupo("{\\header");
}
void tRTF_Writer::EndHeader() {
    TerminaGrupo();
}
void tRTF_Writer::BeginFooter() {
    IniciaGrupo("{\\footer");
}
void tRTF_Writer::EndFooter() {
    TerminaGrupo();
}

void tRTF_Writer::ReemiteParagrafo() {
    QByteArray r;
    if (fonteEmitida_) r += ReferenciaFonte(CurrentFont) + ' ';
    if (Alignment != apDesconhecido) r += PalavraAlinhamento(Alignment);
    Corpo(r);
}

void tRTF_Writer::KeepWithNext(bool ligado) {
    if (ligado == manter_) return;
    manter_ = ligado;
    // A paragraph keeps its properties until \pard: turning the keep off starts afresh and
    // gives the paragraph its alignment back.
    if (ligado) {
        Corpo("\\keepn ");
    } else {
        Corpo("\\pard ");
        const std::uint8_t alinhamento = Alignment;
        Alignment = apDesconhecido;
        Alinha(alinhamento == apDesconhecido ? static_cast<std::uint8_t>(apEsquerda) : alinhamento);
    }
}

void tRTF_Writer::BeginRow() {
    // The cell padding is written out (left and right, in twips), so every reader leaves the
    // text the width the columns were measured for; a heading row repeats on every page.
    QByteArray r = espacoAntes_ ? "\\sb0 " : "";
    espacoAntes_ = false;
    r += "\\trowd\\trgaph108\\trpaddl108\\trpaddr108\\trpaddfl3\\trpaddfr3";
    if (CurrentRow >= 1 && CurrentRow <= LinhasTitulo) r += "\\trhdr";
    r += TableAlignment == atEsquerda ? "\\trql" : TableAlignment == atCentro ? "\\trqc" : "\\trqr";
    const bool primeiraLinha = CurrentRow == 1;
    const bool ultimaLinha = CurrentRow == RowCount;
    const auto palavras = [this](const TBorda &b) {
        return PalavrasBorda(b, b.Visivel() && b.Cor != 0 ? NumeroCor(b.Cor) : 0);
    };
    int largura = 0;
    for (int i = 1; i <= ColumnCount; ++i) {
        const TColuna &c = GetColumn(i);
        const TBordas &b = c.BordasProprias ? c.Bordas : TableBorders;
        r += c.AlinhamentoVertical == 1   ? "\\clvertalb"
             : c.AlinhamentoVertical == 2 ? "\\clvertalc"
                                          : "\\clvertalt";
        r += FimLinha;
        r += "\\clbrdrt" + palavras(primeiraLinha ? b[bdTopo] : b[bdInternaHorizontal]);
        // A column with its own borders closes its first row (and, with formats per row, every
        // row) with its bottom border too.
        const bool base = ultimaLinha || (c.BordasProprias && (primeiraLinha || FormatoLinha));
        r += "\\clbrdrb" + palavras(base ? b[bdBase] : b[bdInternaHorizontal]);
        r += "\\clbrdrl" + palavras(i == 1 ? b[bdEsquerda] : b[bdInternaVertical]);
        r += "\\clbrdrr" + palavras(i == ColumnCount ? b[bdDireita] : b[bdInternaVertical]);
        if (c.Sombreamento != 0)
            r += "\\clshdng" + Numero(c.Sombreamento) + "00 ";
        else
            r += "\\clcbpat" + Numero(NumeroCor(c.CorFundo));
        largura += c.Largura;
        r += "\\cellx" + Numero(largura) + FimLinha;
    }
    Corpo(r);
    ReemiteParagrafo();
    Corpo("\\intbl ");
}

void tRTF_Writer::NextCell() {
    Corpo("\\intbl \\cell\r\n");
    ReemiteParagrafo();
    ++CurrentColumn;
}

void tRTF_Writer::EndRow() {
    TArqEditor::EndRow();
    // A short row gets its missing cells, so every row has the cells its definition names.
    for (int i = CurrentColumn; i <= ColumnCount; ++i)
        Corpo("\\intbl \\cell ");
    Corpo("\\intbl \\row\r\n");
    ReemiteParagrafo();
    CurrentColumn = 1;
    ++CurrentRow;
    // Columns whose borders differ from the table's, and rows with formats of their own, need
    // their own row definition.
    bool diferem = PreparaLinha() || CurrentRow == LinhasTitulo + 1;
    for (int i = 1; i <= ColumnCount && !diferem; ++i)
        diferem = GetColumn(i).Bordas != TableBorders;
    if (diferem) BeginRow();
}

void tRTF_Writer::EndTable() {
    if (CurrentColumn != 1)
        for (int i = CurrentColumn; i <= ColumnCount; ++i)
            Corpo("\\intbl \\cell ");
    // The paragraph after the table stands apart from it; the one after that does not.
    Corpo("\\intbl \\row \\pard\\sb" + Numero(EspacoAposTabela) + " \r\n");
    espacoAntes_ = true;
    Columns.clear();
    ColumnCount = RowCount = 0;
    CurrentColumn = CurrentRow = 0;
    ReemiteParagrafo();
}

void tRTF_Writer::WriteBitmap(const QImage &imagem, int escala, int cores) {
    const TImagemIndexada dib = Indexa(imagem, cores);
    const int s = EscalaRtf(escala);
    QByteArray r = "\r\n{\\pict \\dibitmap0\\wbmbitspixel" + Numero(dib.BitsPorPixel) +
                   "\\wbmplanes1\\wbmwidthbytes" + Numero(dib.BytesPorLinha()) + "\\picw" +
                   Numero(dib.Largura) + "\\pich" + Numero(dib.Altura) + "\\picscalex" + Numero(s) +
                   "\\picscaley" + Numero(s) + FimLinha;
    r += Hexadecimal(CabecalhoDib(dib) + TabelaCoresDib(dib));
    r += FimLinha;
    r += Hexadecimal(PixelsDib(dib));
    r += '}';
    Corpo(r);
}

void tRTF_Writer::WritePicture(const QImage &imagem, int escala, int cores) {
    const TImagemIndexada dib = Indexa(imagem, cores);
    const QByteArray cabecalho = CabecalhoDib(dib);
    const QByteArray paleta = TabelaCoresDib(dib);
    const QByteArray pixels = PixelsDib(dib);
    const quint32 tamanhoImagem = static_cast<quint32>(pixels.size());
    const quint32 nCores = static_cast<quint32>(dib.Paleta.size());

    // The picture at a fixed 96 pixels per inch: 15 twips per pixel, its size in hundredths
    // of a millimetre.
    constexpr int twipsPorPixel = 15;
    const long largura100mm = std::lround(dib.Largura * twipsPorPixel / 0.567);
    const long altura100mm = std::lround(dib.Altura * twipsPorPixel / 0.567);

    // A Windows metafile with one stretch-blit of the bitmap; sizes in 16-bit words.
    const quint32 maiorRegistro = 2 * nCores + tamanhoImagem / 2 + 34;
    QByteArray wmf;
    {
        QDataStream s(&wmf, QIODevice::WriteOnly);
        s.setByteOrder(QDataStream::LittleEndian);
        const quint16 altura = static_cast<quint16>(dib.Altura);
        const quint16 largura = static_cast<quint16>(dib.Largura);
        // Header: type 1, 9 words, version 3.0, file size, no objects, largest record, 0.
        s << quint16(1) << quint16(9) << quint16(0x0300) << quint32(maiorRegistro + 36)
          << quint16(0) << maiorRegistro << quint16(0);
        s << quint32(5) << quint16(0x020B) << quint16(0) << quint16(0);            // window origin
        s << quint32(5) << quint16(0x020C) << altura << largura;                   // window extent
        s << quint32(5) << quint16(0x0209) << quint32(0x00000000);                 // text colour
        s << quint32(5) << quint16(0x0201) << quint32(0x00FFFFFF);                 // background
        s << quint32(4) << quint16(0x0107) << quint16(3);                          // stretch mode
        s << maiorRegistro << quint16(0x0F43) << quint32(0x00CC0020) << quint16(0) // stretch DIB
          << altura << largura << quint16(0) << quint16(0)                         // source
          << altura << largura << quint16(0) << quint16(0);                        // destination
        s.writeRawData(cabecalho.constData(), static_cast<int>(cabecalho.size()));
        s.writeRawData(paleta.constData(), static_cast<int>(paleta.size()));
        s.writeRawData(pixels.constData(), static_cast<int>(pixels.size()));
        s << quint32(3) << quint16(0); // end
    }
    const int e = EscalaRtf(escala);
    QByteArray r = "\r\n{\\pict\\wmetafile8\\picbmp\\picbpp" + Numero(dib.BitsPorPixel) + "\\picw" +
                   Numero(largura100mm) + "\\pich" + Numero(altura100mm) + "\\picscalex" +
                   Numero(e) + "\\picscaley" + Numero(e) + FimLinha;
    r += Hexadecimal(wmf);
    r += '}';
    Corpo(r);
}

void tRTF_Writer::WriteChart(const TChart &chart, int cores) {
    const QImage imagem = ImagemChart(chart, cores, ResolucaoGraficos);
    const QImage reduzida = cores == 2 ? imagem : Indexa(imagem, cores).Indices;
    const QByteArray png = PngIndexado(reduzida);
    constexpr double twipsPorUnidade = 1440.0 / 96;
    QByteArray r = "\r\n{\\pict\\pngblip\\picw" + Numero(reduzida.width()) + "\\pich" +
                   Numero(reduzida.height()) + "\\picwgoal" +
                   Numero(std::lround(chart.Largura * twipsPorUnidade)) + "\\pichgoal" +
                   Numero(std::lround(chart.Altura * twipsPorUnidade)) + FimLinha;
    r += Hexadecimal(png);
    r += '}';
    Corpo(r);
}

QByteArray tRTF_Writer::Cabecalho() const {
    QByteArray r = "\\rtf1\\ansi\\deff0{\\fonttbl";
    for (qsizetype i = 0; i < fontes_.size(); ++i)
        r += "{\\f" + Numero(i) + fontes_[i];
    r += "}{\\colortbl;";
    for (TCor c : cores_)
        r += "\\red" + Numero(Vermelho(c)) + "\\green" + Numero(Verde(c)) + "\\blue" +
             Numero(Azul(c)) + ";" + FimLinha;
    r += "}\r\n";
    // Default tab stops every half inch, the grid the paged view uses.
    r += "\\deftab720\\paperw" + Numero(PaperWidth) + "\\paperh" + Numero(PaperHeight) + "\\margl" +
         Numero(LeftMargin) + "\\margr" + Numero(RightMargin) + "\\margt" + Numero(TopMargin) +
         "\\margb" + Numero(BottomMargin);
    if (Landscape) r += "\\landscape";
    r += "\\pgnstart" + Numero(FirstPageNumber) + FimLinha;
    r += "{\\info";
    const std::pair<const char *, const QString *> informacoes[] = {
        {"{\\title ", &Title},       {"{\\subject ", &Subject},   {"{\\author ", &Author},
        {"{\\operator ", &Operator}, {"{\\keywords ", &Keywords}, {"{\\comment ", &Comment},
        {"{\\doccomm ", &DocComment}};
    for (const auto &[grupo, texto] : informacoes)
        if (!texto->isEmpty()) r += grupo + Escapa(*texto) + '}';
    const QDateTime agora = DataHora.isValid() ? DataHora : QDateTime::currentDateTime();
    const QDate d = agora.date();
    const QTime t = agora.time();
    r += "{\\yr" + Numero(d.year()) + "\\mo" + Numero(d.month()) + "\\dy" + Numero(d.day()) +
         "\\hr" + Numero(t.hour()) + "\\min" + Numero(t.minute()) + "\\sec" + Numero(t.second()) +
         "}}\r\n";
    return r;
}

bool tRTF_Writer::CloseDocument() {
    if (fechado_) return concluido_;
    if (!saida_ || !corpo_) {
        fechado_ = true;
        return false;
    }
    Corpo("\r\n}");
    fechado_ = true;

    QByteArray cabecalho = Cabecalho();
    const QString gravar = QStringLiteral("Não foi possível gravar o arquivo");
    if (!DescarregaCorpo()) {
        Falha(TSaidaArquivo::Mensagem(gravar, nomeSaida_, TextoErroSistema(erroCorpo_)));
        saida_.reset();
        return false;
    }
    // The body's first byte takes the place of the head's final line feed.
    if (tamanhoCorpo_ > 0) cabecalho.chop(1);
    bool ok = saida_->Grava(cabecalho);
    QByteArray bloco(Bloco, Qt::Uninitialized);
    for (qint64 posicao = 0; ok && posicao < tamanhoCorpo_;) {
        const ssize_t n = ::pread(corpo_->handle(), bloco.data(),
                                  static_cast<std::size_t>(std::min(Bloco, tamanhoCorpo_ - posicao)),
                                  static_cast<off_t>(posicao));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            Falha(TSaidaArquivo::Mensagem(gravar, nomeSaida_, TextoErroSistema(n < 0 ? errno : EIO)));
            saida_.reset();
            return false;
        }
        ok = saida_->Grava(bloco.constData(), n);
        posicao += n;
    }
    if (ok && tamanhoCorpo_ > 0) ok = saida_->Grava("\x1A", 1);
    if (!ok || !saida_->Conclui()) {
        Falha(saida_->Erro());
        saida_.reset();
        return false;
    }
    saida_.reset();
    corpo_.reset(); // removes the scratch file
    concluido_ = true;
    return true;
}

} // namespace zelto
