#include "writer/ArquivoWrite.h"

#include "common/Texto.h"
#include "writer/Bytes.h"
#include "writer/Dib.h"

#include <algorithm>
#include <cmath>

namespace zelto {

const QString TArquivoWrite::MensagemTamanho = QStringLiteral(
    "O arquivo gerado ficou maior que a capacidade do programa.\r\n\r\nPara reduzi-lo você "
    "poderá :\r\n   . Retirar algum(s) item(s) do relatório (especialmente gráficos)\r\n   . "
    "Reduzir o tamanho dos gráficos\r\n   . Gerar gráficos em 16 cores (ou preto e branco)");

namespace {

constexpr int Pagina = 128;
// The room for runs and records on a property page: bytes 4 to 126.
constexpr int Espaco = 123;

// Pads to a whole number of pages.
void CompletaPagina(QByteArray &b) {
    if (b.size() % Pagina) b.append(Pagina - b.size() % Pagina, '\0');
}

QByteArray Cp1252(const QString &texto) {
    return QByteArray::fromStdString(ParaCp1252(texto.toStdString()));
}

// Font family of a face (the FF_ constants of the font table): roman, swiss, modern,
// decorative, or "don't care" for a face the report does not name.
std::uint8_t Familia(const QString &face) {
    static const struct {
        const char *face;
        std::uint8_t familia;
    } familias[] = {{"Times New Roman", 0x10}, {"Arial", 0x20}, {"Courier New", 0x30},
                    {"Symbol", 0x50}};
    for (const auto &f : familias)
        if (face.compare(QLatin1String(f.face), Qt::CaseInsensitive) == 0) return f.familia;
    return 0;
}

} // namespace

// ---- property pages ----

void TPaginasPropriedades::NovaPagina() {
    if (!atual_.isEmpty()) guardadas_.append(atual_);
    atual_ = QByteArray(Pagina, '\0');
    Poe32(atual_, 0, ultimoLimite_); // fcFirst: where the previous page stopped
    fods_ = 0;
    livre_ = Espaco;
}

void TPaginasPropriedades::Acrescenta(std::uint32_t fcLim, const QByteArray &fprop) {
    if (atual_.isEmpty()) NovaPagina();
    // The record may already be on this page: records are packed from livre_ to the end.
    auto procura = [&]() -> int {
        for (int o = livre_; o < Espaco; o += 1 + static_cast<uchar>(atual_[4 + o]))
            if (atual_.mid(4 + o, fprop.size()) == fprop) return o;
        return -1;
    };
    int registro = procura();
    int precisa = 6 + (registro < 0 ? static_cast<int>(fprop.size()) : 0);
    if (6 * fods_ + precisa > livre_) {
        NovaPagina();
        registro = -1;
        precisa = 6 + static_cast<int>(fprop.size());
    }
    if (registro < 0) {
        livre_ -= static_cast<int>(fprop.size());
        atual_.replace(4 + livre_, fprop.size(), fprop);
        registro = livre_;
    }
    const int fod = 4 + 6 * fods_;
    Poe32(atual_, fod, fcLim);
    Poe16(atual_, fod + 4, static_cast<std::uint16_t>(registro));
    ++fods_;
    atual_[Pagina - 1] = static_cast<char>(fods_);
    ultimoLimite_ = fcLim;
}

QByteArray TPaginasPropriedades::Paginas() const { return guardadas_ + atual_; }

// ---- property records ----

QByteArray TArquivoWrite::TCaracteres::Registro() const {
    // CHP: reserved, bold/italic/font, size in half-points, underline/special, font high bits,
    // position. Only the leading bytes that differ from the default (12 points, nothing else)
    // are stored, in three steps.
    QByteArray chp;
    chp.append('\x01');
    chp.append(static_cast<char>((Negrito ? 1 : 0) | (Italico ? 2 : 0) | ((Fonte & 0x3F) << 2)));
    chp.append(static_cast<char>(MeiosPontos));
    chp.append(static_cast<char>((Sublinhado ? 1 : 0) | (Especial ? 0x40 : 0)));
    chp.append(static_cast<char>((Fonte >> 6) & 0x07));
    chp.append(static_cast<char>(static_cast<std::int8_t>(Posicao)));
    qsizetype usados = 6;
    if (Posicao == 0 && (Fonte >> 6) == 0) usados = 4;
    if (usados == 4 && MeiosPontos == 24 && !Sublinhado && !Especial) usados = 2;
    return static_cast<char>(usados) + chp.left(usados);
}

QByteArray TArquivoWrite::TParagrafo::Registro() const {
    // PAP: reserved 61, justification, reserved 30, right, left and first-line indents, line
    // height (240 twips), 4 reserved bytes, the flags (0x10: a picture paragraph).
    QByteArray pap;
    pap.append('\x3D');
    pap.append(static_cast<char>(Justificacao));
    if (Figura) {
        Acrescenta16(pap, 30);
        pap.append(6, '\0');
        Acrescenta16(pap, 240);
        pap.append(4, '\0');
        pap.append('\x10');
    }
    return static_cast<char>(pap.size()) + pap;
}

// ---- writer ----

TArquivoWrite::TArquivoWrite(const QString &arquivo)
    : saida_(std::make_unique<TSaidaArquivo>(arquivo)) {
    MensagemErro = saida_->Erro();
    if (!saida_->Aberta()) return;
    // The text starts after the header, written again with the positions at the end.
    saida_->Grava(Cabecalho(0, 0, 0, 0));
    SetFont(CurrentFont);
}

TArquivoWrite::~TArquivoWrite() = default;

void TArquivoWrite::Grava(const QByteArray &bytes) {
    if (saida_->Grava(bytes)) posicao_ += static_cast<std::uint32_t>(bytes.size());
}

int TArquivoWrite::IndiceFonte(const QString &nome) {
    for (int i = 0; i < fontes_.size(); ++i)
        if (fontes_[i].compare(nome, Qt::CaseInsensitive) == 0) return i;
    fontes_.append(nome);
    return static_cast<int>(fontes_.size()) - 1;
}

void TArquivoWrite::FechaCaracteres() {
    if (posicao_ == inicioCaracteres_) return;
    paginasCaracteres_.Acrescenta(posicao_, caracteres_.Registro());
    inicioCaracteres_ = posicao_;
}

void TArquivoWrite::FechaParagrafo() {
    if (posicao_ == inicioParagrafo_) return;
    paginasParagrafos_.Acrescenta(posicao_, paragrafo_.Registro());
    inicioParagrafo_ = posicao_;
}

void TArquivoWrite::AplicaCaracteres() {
    TCaracteres novos;
    novos.Negrito = CurrentFont.Negrito;
    novos.Italico = CurrentFont.Italico;
    novos.Sublinhado = CurrentFont.Sublinhado;
    novos.Especial = especial_;
    novos.Fonte = IndiceFonte(CurrentFont.Nome);
    novos.MeiosPontos = std::clamp(CurrentFont.Tamanho * 2, 2, 255);
    const int meio = novos.MeiosPontos / 2;
    novos.Posicao = VerticalPosition == pvSobrescrito ? meio
                    : VerticalPosition == pvSubscrito ? -meio
                                                      : 0;
    if (novos == caracteres_) return;
    FechaCaracteres();
    caracteres_ = novos;
}

#define ZELTO_ESTILO(operacao, campo, valor)                                                   \
    void TArquivoWrite::operacao() {                                                           \
        if (!Ativo()) return;                                                                  \
        campo = valor;                                                                         \
        AplicaCaracteres();                                                                    \
    }
ZELTO_ESTILO(BoldOn, CurrentFont.Negrito, true)
ZELTO_ESTILO(BoldOff, CurrentFont.Negrito, false)
ZELTO_ESTILO(ItalicOn, CurrentFont.Italico, true)
ZELTO_ESTILO(ItalicOff, CurrentFont.Italico, false)
ZELTO_ESTILO(UnderlineOn, CurrentFont.Sublinhado, true)
ZELTO_ESTILO(UnderlineOff, CurrentFont.Sublinhado, false)
ZELTO_ESTILO(StrikeOutOn, CurrentFont.Riscado, true)
ZELTO_ESTILO(StrikeOutOff, CurrentFont.Riscado, false)
ZELTO_ESTILO(SuperscriptOn, VerticalPosition, pvSobrescrito)
ZELTO_ESTILO(SuperscriptOff, VerticalPosition, pvNormal)
ZELTO_ESTILO(SubscriptOn, VerticalPosition, pvSubscrito)
ZELTO_ESTILO(SubscriptOff, VerticalPosition, pvNormal)
#undef ZELTO_ESTILO

void TArquivoWrite::SetFont(const TFonte &fonte) {
    if (!Ativo()) return;
    CurrentFont = fonte;
    AplicaCaracteres();
}

void TArquivoWrite::SetFontName(const QString &nome) {
    if (!Ativo()) return;
    CurrentFont.Nome = nome;
    AplicaCaracteres();
}

void TArquivoWrite::SetFontSize(int pontos) {
    if (!Ativo()) return;
    CurrentFont.Tamanho = pontos;
    AplicaCaracteres();
}

void TArquivoWrite::WriteText(const QString &texto) {
    if (!Ativo()) return;
    // A line break inside the text ends the paragraph: every paragraph of the document must
    // have its own run.
    QString t = texto;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList linhas = t.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < linhas.size(); ++i) {
        if (i > 0) NewParagraph();
        if (!linhas[i].isEmpty()) Grava(Cp1252(linhas[i]));
    }
}

void TArquivoWrite::WritePageNumber() {
    if (!Ativo()) return;
    especial_ = true;
    AplicaCaracteres();
    Grava(QByteArray(1, '\x01'));
    especial_ = false;
    AplicaCaracteres();
}

void TArquivoWrite::NewParagraph() {
    if (!Ativo() || posicao_ == 128) return;
    Grava(QByteArrayLiteral("\r\n"));
    FechaParagrafo();
}

void TArquivoWrite::NewPage() {
    if (!Ativo() || posicao_ == 128) return;
    Grava(QByteArrayLiteral("\r\n\f"));
    FechaParagrafo();
}

void TArquivoWrite::Alinha(std::uint8_t justificacao) {
    if (!Ativo()) return;
    Alignment = justificacao;
    paragrafo_.Justificacao = justificacao;
}

void TArquivoWrite::AlignLeft() { Alinha(apEsquerda); }
void TArquivoWrite::AlignCenter() { Alinha(apCentro); }
void TArquivoWrite::AlignRight() { Alinha(apDireita); }
void TArquivoWrite::AlignJustify() { Alinha(apJustificado); }

void TArquivoWrite::BeginRow() { AlignLeft(); }

void TArquivoWrite::NextCell() {
    if (!Ativo()) return;
    AlignLeft();
    Grava(QByteArrayLiteral("\t\t"));
}

void TArquivoWrite::EndRow() { NewParagraph(); }

void TArquivoWrite::WriteBitmap(const QImage &imagem, int /*escala*/, int cores) {
    EscreveFigura(imagem, cores);
}

void TArquivoWrite::WritePicture(const QImage &imagem, int /*escala*/, int cores) {
    EscreveFigura(imagem, cores);
}

void TArquivoWrite::EscreveFigura(const QImage &imagem, int cores) {
    if (!Ativo()) return;
    const TImagemIndexada indexada = Indexa(imagem, cores);

    // The static object: version, format 3 (static), class name, size in hundredths of a
    // millimetre (the height negative), the size of the presentation, then the presentation.
    // A two-colour picture is a device-dependent bitmap: type 0, width, height, bytes per row,
    // planes, bits per pixel, and the rows from the top. A device-dependent bitmap of 16 or 256
    // colours carries no colour table, and a reader gives its indices whatever palette it
    // guesses; such pictures go as a device-independent bitmap, which carries its own.
    const bool independente = indexada.BitsPorPixel > 1;
    QByteArray apresentacao;
    if (independente) {
        apresentacao = CabecalhoDib(indexada) + TabelaCoresDib(indexada) + PixelsDib(indexada);
    } else {
        Acrescenta16(apresentacao, 0);
        Acrescenta16(apresentacao, static_cast<std::uint16_t>(indexada.Largura));
        Acrescenta16(apresentacao, static_cast<std::uint16_t>(indexada.Altura));
        Acrescenta16(apresentacao, static_cast<std::uint16_t>(indexada.BytesPorLinha()));
        apresentacao.append('\x01');
        apresentacao.append(static_cast<char>(indexada.BitsPorPixel));
        apresentacao.append(PixelsDib(indexada, true));
    }
    const QByteArray classe = independente ? QByteArrayLiteral("DIB") : QByteArrayLiteral("BITMAP");
    QByteArray objeto;
    Acrescenta32(objeto, 0x0501);
    Acrescenta32(objeto, 3);
    Acrescenta32(objeto, static_cast<std::uint32_t>(classe.size() + 1));
    objeto.append(classe.constData(), classe.size() + 1);
    Acrescenta32(objeto, static_cast<std::uint32_t>(std::lround(indexada.Largura * 26.458)));
    Acrescenta32(objeto, static_cast<std::uint32_t>(-std::lround(indexada.Altura * 26.458)));
    Acrescenta32(objeto, static_cast<std::uint32_t>(apresentacao.size()));
    objeto.append(apresentacao);

    // The picture header of an object (mapping mode 0xE4): the object kind (1 static), the size
    // in twips, the object's size, the header size, the scale (1000 = 100 %).
    QByteArray cabecalho(40, '\0');
    Poe16(cabecalho, 0, 0xE4);
    Poe16(cabecalho, 6, 1);
    Poe16(cabecalho, 10, static_cast<std::uint16_t>(std::lround(indexada.Largura * FatorX)));
    Poe16(cabecalho, 12, static_cast<std::uint16_t>(std::lround(indexada.Altura * FatorY)));
    Poe32(cabecalho, 16, static_cast<std::uint32_t>(objeto.size()));
    Poe16(cabecalho, 30, 40);
    Poe32(cabecalho, 32, static_cast<std::uint32_t>(objeto.size()));
    Poe16(cabecalho, 36, 1000);
    Poe16(cabecalho, 38, 1000);

    NewParagraph();
    paragrafo_.Figura = true;
    Grava(cabecalho + objeto);
    NewParagraph();
    paragrafo_.Figura = false;
}

// ---- closing ----

QByteArray TArquivoWrite::Cabecalho(std::uint16_t pnPara, std::uint16_t pnSep,
                                    std::uint16_t pnFfntb, std::uint16_t pnMac) const {
    QByteArray h(Pagina, '\0');
    Poe16(h, 0, 0xBE31);                    // wIdent
    Poe16(h, 4, 0xAB00);                    // wTool
    Poe32(h, 14, pnMac ? posicao_ : 0);     // fcMac: the end of the text
    Poe16(h, 18, pnPara);                   // pnPara
    Poe16(h, 20, pnSep);                    // pnFntb: no footnotes
    Poe16(h, 22, pnSep);                    // pnSep
    Poe16(h, 24, pnSep ? pnSep + 1 : 0);    // pnSetb
    Poe16(h, 26, pnFfntb);                  // pnPgtb: no page table
    Poe16(h, 28, pnFfntb);                  // pnFfntb
    Poe16(h, 96, pnMac);                    // pnMac
    return h;
}

QByteArray TArquivoWrite::Secao(std::uint16_t pnSep) const {
    // SEP: page height and width, first page number automatic (-1), top margin, text height,
    // left margin, text width; then the running head and foot positions readers expect.
    QByteArray sep(Pagina, '\0');
    sep[0] = 22;
    Poe16(sep, 3, static_cast<std::uint16_t>(PaperHeight));
    Poe16(sep, 5, static_cast<std::uint16_t>(PaperWidth));
    Poe16(sep, 7, 0xFFFF);
    Poe16(sep, 9, static_cast<std::uint16_t>(TopMargin));
    Poe16(sep, 11, static_cast<std::uint16_t>(TextHeight));
    Poe16(sep, 13, static_cast<std::uint16_t>(LeftMargin));
    Poe16(sep, 15, static_cast<std::uint16_t>(TextWidth));
    Poe16(sep, 19, 1080);
    Poe16(sep, 21, static_cast<std::uint16_t>(PaperHeight - 1080));
    // SETB: two section descriptors (text position after the section, fn, SEP position); the
    // second closes the table.
    QByteArray setb(Pagina, '\0');
    const std::uint32_t cpFim = posicao_ - 128;
    Poe16(setb, 0, 2);
    Poe16(setb, 2, 2);
    Poe32(setb, 4, cpFim);
    Poe32(setb, 10, static_cast<std::uint32_t>(pnSep) * Pagina);
    Poe32(setb, 14, cpFim + 1);
    Poe32(setb, 20, 0xFFFFFFFF);
    return sep + setb;
}

QByteArray TArquivoWrite::TabelaFontes() const {
    // The count, then each face as its length, family and name ending in 0; an entry never
    // crosses a page: 0xFFFF sends the reader to the next page, 0 ends the table.
    QByteArray t;
    Acrescenta16(t, static_cast<std::uint16_t>(fontes_.size()));
    for (const QString &face : fontes_) {
        const QByteArray nome = Cp1252(face).left(31);
        QByteArray ffn;
        Acrescenta16(ffn, static_cast<std::uint16_t>(nome.size() + 2));
        ffn.append(static_cast<char>(Familia(face)));
        ffn.append(nome);
        ffn.append('\0');
        if (t.size() % Pagina + ffn.size() + 2 > Pagina) {
            Acrescenta16(t, 0xFFFF);
            CompletaPagina(t);
        }
        t.append(ffn);
    }
    Acrescenta16(t, 0);
    CompletaPagina(t);
    return t;
}

bool TArquivoWrite::CloseDocument() {
    if (!saida_->Aberta() || fechado_) return false;
    descartando_ = false;
    if (posicao_ + paginasCaracteres_.TamanhoGuardado() + paginasParagrafos_.TamanhoGuardado() >=
        LimiteTamanho) {
        MensagemErro = MensagemTamanho;
        return false;
    }
    fechado_ = true;
    TProgresso semJanela;
    TProgresso &progresso = Progresso ? *Progresso : semJanela;
    progresso.Inicia("Compondo relatório...", 0, 8, true);
    const bool ok = Compoe(progresso);
    progresso.Termina();
    if (!saida_->Erro().isEmpty()) MensagemErro = saida_->Erro();
    return ok;
}

bool TArquivoWrite::Compoe(TProgresso &progresso) {
    int passo = 0;
    auto avanca = [&]() {
        progresso.Avanca(++passo);
        return !progresso.Cancelado();
    };
    // 1: the final line end closes the last paragraph and character runs.
    Grava(QByteArrayLiteral("\r\n"));
    FechaParagrafo();
    FechaCaracteres();
    if (!avanca()) return false;
    // 2: the text is padded to a whole page; the character pages follow it.
    QByteArray resto(static_cast<qsizetype>((Pagina - posicao_ % Pagina) % Pagina), '\0');
    const auto pnChar = static_cast<std::uint16_t>((posicao_ + resto.size()) / Pagina);
    if (!avanca()) return false;
    // 3, 4: character pages, paragraph pages.
    const QByteArray caracteres = paginasCaracteres_.Paginas();
    resto += caracteres;
    const auto pnPara = static_cast<std::uint16_t>(pnChar + caracteres.size() / Pagina);
    if (!avanca()) return false;
    const QByteArray paragrafos = paginasParagrafos_.Paginas();
    resto += paragrafos;
    const auto pnSep = static_cast<std::uint16_t>(pnPara + paragrafos.size() / Pagina);
    if (!avanca()) return false;
    // 5: no footnotes; the section property and the section table.
    resto += Secao(pnSep);
    const auto pnFfntb = static_cast<std::uint16_t>(pnSep + 2);
    if (!avanca()) return false;
    // 6: the font table (no page table before it); the last page ends the document.
    const QByteArray fontes = TabelaFontes();
    resto += fontes;
    const auto pnMac = static_cast<std::uint16_t>(pnFfntb + fontes.size() / Pagina);
    if (!saida_->Grava(resto) || !avanca()) return false;
    // 7: the header with the text end and the page numbers found.
    if (!saida_->GravaEm(0, Cabecalho(pnPara, pnSep, pnFfntb, pnMac)) || !avanca()) return false;
    // 8: the document takes the place of the file (not after a cancel).
    if (!saida_->Conclui()) return false;
    progresso.Avanca(++passo);
    return true;
}

} // namespace zelto
