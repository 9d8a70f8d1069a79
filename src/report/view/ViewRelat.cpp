#include "view/ViewRelat.h"

#include "chart/Chart.h"
#include "writer/AvancosTexto.h"
#include "writer/Dib.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zelto {

namespace {

int Brancos(const QString &t) { return static_cast<int>(t.count(QLatin1Char(' '))); }

} // namespace

// Everything a header or footer run must leave as it found.
struct TViewRelat::TEstado {
    std::uint8_t Alignment, VerticalPosition;
    TFonte CurrentFont, FonteDesenho;
    bool Simbolo, InTable, SemQuebra;
    std::vector<TTrechoLinha> Line;
    int LineWidth, LineHeight, LineBlanks, Y;
};

TViewRelat::TViewRelat(QPaintDevice *canvas, int zoom) : Zoom(zoom) {
    SetCanvas(canvas);
    fonteDesenho_ = CurrentFont;
}

TViewRelat::~TViewRelat() { DefinePintor(nullptr); }

// ---- Measuring --------------------------------------------------------------------------------

QFont TViewRelat::FonteTwips(const TFonte &fonte) {
    QFont f = fonte.ParaQFont();
    f.setPixelSize(std::max(1, fonte.Tamanho) * 20);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

int TViewRelat::LarguraTexto(const TFonte &fonte, const QString &texto) {
    if (texto.isEmpty()) return 0;
    return static_cast<int>(std::lround(AvancosDe(fonte).Largura(texto)));
}

int TViewRelat::AlturaFonte(const TFonte &fonte) { return AvancosDe(fonte).Altura(); }

double TViewRelat::EscalaX() const {
    const double dpi = Canvas ? std::max(1, Canvas->logicalDpiX()) : 96;
    return dpi / 1440.0 * (Printing ? 1.0 : Zoom / 100.0);
}

double TViewRelat::EscalaY() const {
    const double dpi = Canvas ? std::max(1, Canvas->logicalDpiY()) : 96;
    return dpi / 1440.0 * (Printing ? 1.0 : Zoom / 100.0);
}

QSize TViewRelat::TamanhoPagina() const {
    return {static_cast<int>(std::lround(PaperWidth * EscalaX())),
            static_cast<int>(std::lround(PaperHeight * EscalaY()))};
}

bool TViewRelat::Fits(int altura) const {
    return TopMargin + TextHeight >= FooterHeight + altura + Y;
}

int TViewRelat::Disponivel() const {
    return InTable ? CellWidth - 2 * MargemMinimaCelula : TextWidth;
}

// ---- Device, painter, page set-up --------------------------------------------------------------

void TViewRelat::SetCanvas(QPaintDevice *canvas) {
    Canvas = canvas;
    const double dpiX = canvas ? std::max(1, canvas->logicalDpiX()) : 96;
    const double dpiY = canvas ? std::max(1, canvas->logicalDpiY()) : 96;
    FatorX = 1440.0 / dpiX;
    FatorY = 1440.0 / dpiY;
}

void TViewRelat::DefinePintor(QPainter *pintor) {
    if (pintor_) pintor_->restore();
    pintor_ = pintor;
    if (!pintor_) return;
    pintor_->save();
    pintor_->resetTransform();
    pintor_->scale(EscalaX(), EscalaY());
    pintor_->setRenderHint(QPainter::Antialiasing, false);
    pintor_->setRenderHint(QPainter::TextAntialiasing, true);
    pintor_->setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void TViewRelat::SetPage(double larguraTexto, double margemEsquerda, double alturaTexto,
                         double margemSuperior, double larguraPagina, double alturaPagina) {
    TArqEditor::SetPage(larguraTexto, margemEsquerda, alturaTexto, margemSuperior, larguraPagina,
                        alturaPagina);
    Y = TopoTexto();
    TotalPages = -1;
}

void TViewRelat::Reinicia() {
    Line.clear();
    LineWidth = LineHeight = LineBlanks = 0;
    InTable = false;
    CurrentPage = 0;
    MudaPagina();
}

// ---- Header and footer ------------------------------------------------------------------------

TViewRelat::TEstado TViewRelat::Salva() const {
    return TEstado{Alignment, VerticalPosition, CurrentFont, fonteDesenho_, simbolo_, InTable,
                   semQuebraPagina_, Line, LineWidth, LineHeight, LineBlanks, Y};
}

void TViewRelat::Restaura(const TEstado &e) {
    Alignment = e.Alignment;
    VerticalPosition = e.VerticalPosition;
    CurrentFont = e.CurrentFont;
    fonteDesenho_ = e.FonteDesenho;
    simbolo_ = e.Simbolo;
    InTable = e.InTable;
    semQuebraPagina_ = e.SemQuebra;
    Line = e.Line;
    LineWidth = e.LineWidth;
    LineHeight = e.LineHeight;
    LineBlanks = e.LineBlanks;
    Y = e.Y;
}

void TViewRelat::EscreveCabecalhoEm(const std::function<void(TArqEditor &)> &escritor, int y) {
    const TEstado antes = Salva();
    InTable = false;
    semQuebraPagina_ = true;
    Line.clear();
    LineWidth = LineHeight = LineBlanks = 0;
    Alignment = apDesconhecido;
    Y = y;
    escritor(*this);
    TerminaLinha();
    Restaura(antes);
}

int TViewRelat::MedeEscritor(const std::function<void(TArqEditor &)> &escritor) {
    if (!escritor) return 0;
    QPainter *pintor = pintor_;
    pintor_ = nullptr; // measured, never drawn
    semDesenho_ = true;
    int altura = 0;
    const TEstado antes = Salva();
    EscreveCabecalhoEm(
        [&](TArqEditor &e) {
            escritor(e);
            TerminaLinha();
            altura = Y;
        },
        0);
    Restaura(antes);
    pintor_ = pintor;
    semDesenho_ = false;
    return altura;
}

void TViewRelat::DefineCabecalho(std::function<void(TArqEditor &)> escritor) {
    cabecalho_ = std::move(escritor);
    HeaderHeight = MedeEscritor(cabecalho_);
}

void TViewRelat::DefineRodape(std::function<void(TArqEditor &)> escritor) {
    rodape_ = std::move(escritor);
    FooterHeight = MedeEscritor(rodape_);
}

void TViewRelat::DesenhaCabecalhoRodape() {
    if (!Desenhando()) return;
    if (cabecalho_) EscreveCabecalhoEm(cabecalho_, TopMargin);
    if (rodape_) EscreveCabecalhoEm(rodape_, TopMargin + TextHeight - FooterHeight);
}

// ---- Fonts ------------------------------------------------------------------------------------

void TViewRelat::BoldOn() { CurrentFont.Negrito = fonteDesenho_.Negrito = true; }
void TViewRelat::BoldOff() { CurrentFont.Negrito = fonteDesenho_.Negrito = false; }
void TViewRelat::ItalicOn() { CurrentFont.Italico = fonteDesenho_.Italico = true; }
void TViewRelat::ItalicOff() { CurrentFont.Italico = fonteDesenho_.Italico = false; }
void TViewRelat::UnderlineOn() { CurrentFont.Sublinhado = fonteDesenho_.Sublinhado = true; }
void TViewRelat::UnderlineOff() { CurrentFont.Sublinhado = fonteDesenho_.Sublinhado = false; }
void TViewRelat::StrikeOutOn() { CurrentFont.Riscado = fonteDesenho_.Riscado = true; }
void TViewRelat::StrikeOutOff() { CurrentFont.Riscado = fonteDesenho_.Riscado = false; }

void TViewRelat::SetFont(const TFonte &fonte) {
    CurrentFont = fonte;
    fonteDesenho_ = fonte;
    simbolo_ = false;
}

void TViewRelat::SetFontName(const QString &nome) {
    CurrentFont.Nome = nome;
    // The infinity sign is asked for as a character of the "Symbol" face; it is drawn as the
    // Unicode sign in the face already chosen, which has it.
    simbolo_ = nome.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
    if (!simbolo_) fonteDesenho_.Nome = nome;
}

void TViewRelat::SetFontSize(int pontos) { CurrentFont.Tamanho = fonteDesenho_.Tamanho = pontos; }

void TViewRelat::RestoreFont(const TFonte &fonte) { SetFont(fonte); }

void TViewRelat::SetFontSizeRaw(int pontos) { fonteDesenho_.Tamanho = std::max(1, pontos); }

void TViewRelat::SetTextColor(TCor cor) { CurrentFont.Cor = fonteDesenho_.Cor = cor; }

// ---- Lines ------------------------------------------------------------------------------------

void TViewRelat::WriteText(const QString &original) {
    if (Encerrada()) return;
    QString copia;
    if (simbolo_) copia = QString(original).replace(QChar(0xA5), QChar(0x221E));
    QStringView texto = simbolo_ ? QStringView(copia) : QStringView(original);
    // A line break inside the text (CR, LF or CR LF: a cell heading in lines) ends the line.
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        EscreveTrecho(texto.left(i));
        if (Encerrada()) return;
        if (Line.empty()) LineHeight = std::max(LineHeight, AlturaFonte(fonteDesenho_));
        FechaLinha(true);
        const qsizetype fim = c == QLatin1Char('\r') && i + 1 < texto.size() &&
                                      texto[i + 1] == QLatin1Char('\n')
                                  ? i + 2
                                  : i + 1;
        texto = texto.mid(fim);
        i = -1;
    }
    EscreveTrecho(texto);
}

void TViewRelat::SetTabs(const double *posicoes, int ultimo, const std::uint8_t * /*tipos*/) {
    paradas_.clear();
    for (int i = 0; i <= ultimo; ++i)
        if (posicoes[i] > 0) paradas_.push_back(ParaTwips(posicoes[i]));
    std::sort(paradas_.begin(), paradas_.end());
}

void TViewRelat::EscreveTrecho(QStringView texto) {
    for (;;) {
        if (Encerrada()) return;
        const qsizetype tab = texto.indexOf(QLatin1Char('\t'));
        QuebraTrecho(tab < 0 ? texto : texto.left(tab));
        if (tab < 0 || Encerrada()) return;
        TTrechoLinha t;
        t.Tipo = TTrechoLinha::Tabulacao;
        t.Posicao = LineWidth;
        // At least a blank's width: a word ending just short of a stop is never glued to what
        // the tab brings.
        const int minimo = LineWidth > 0 ? LineWidth + LarguraTexto(fonteDesenho_, QStringLiteral(" ")) : 0;
        const auto parada = std::find_if(paradas_.begin(), paradas_.end(), [&](int p) { return p >= minimo; });
        LineWidth = parada != paradas_.end() ? *parada : (minimo / LarguraTabulacao + 1) * LarguraTabulacao;
        t.Largura = LineWidth - t.Posicao;
        Line.push_back(std::move(t));
        texto = texto.mid(tab + 1);
    }
}

void TViewRelat::QuebraTrecho(QStringView texto) {
    // Hardly a glyph of a report font (the blank, "i", "." included) is narrower than a fifth of its
    // size: a line of R twips holds fewer than R / (size x 4) + 2 characters. Only that many are
    // ever measured at once, so a long text is broken in time linear in its length (a text of
    // narrower marks still breaks, only earlier).
    const int menorLetra = std::max(1, fonteDesenho_.Tamanho * 4);
    const auto largura = [this](QStringView t) {
        return t.isEmpty() ? 0 : static_cast<int>(std::lround(AvancosDe(fonteDesenho_).Largura(t)));
    };
    while (!texto.isEmpty() && !Encerrada()) {
        const int resta = Disponivel() - LineWidth;
        const qsizetype janela = std::max(0, resta) / menorLetra + 2;
        if (texto.size() <= janela) {
            const int l = largura(texto);
            if (l <= resta) {
                AcrescentaTexto(texto.toString(), l);
                return;
            }
        }
        const QStringView inicio = texto.left(std::min(texto.size(), janela));
        // The number of characters that fit: the longest prefix whose width fits. Plain text
        // adds its characters' advances up to the room left; other text is searched from near
        // the share of the window that the room left takes, then narrowed.
        qsizetype cabem = 0;
        if (resta > 0) cabem = AvancosDe(fonteDesenho_).Cabem(inicio, resta);
        if (cabem < 0) {
            const auto cabe = [&](qsizetype n) { return largura(inicio.left(n)) <= resta; };
            const qsizetype n = inicio.size();
            const int janelaLargura = std::max(1, largura(inicio));
            const qsizetype palpite =
                std::clamp<qsizetype>(static_cast<qsizetype>(static_cast<double>(n) * resta / janelaLargura), 0, n);
            const qsizetype passo = palpite / 8 + 2;
            qsizetype de = 0, ate = n;
            if (cabe(palpite)) {
                de = palpite;
                const qsizetype acima = std::min(n, palpite + passo);
                if (!cabe(acima)) ate = acima - 1; else de = acima;
            } else {
                ate = palpite - 1;
                const qsizetype abaixo = std::max<qsizetype>(0, palpite - passo);
                if (cabe(abaixo)) de = abaixo; else ate = abaixo - 1;
            }
            while (de < ate) {
                const qsizetype meio = (de + ate + 1) / 2;
                if (cabe(meio))
                    de = meio;
                else
                    ate = meio - 1;
            }
            cabem = std::max<qsizetype>(de, 0);
        }
        // The last blank at or before that position breaks the line; the blank is dropped.
        qsizetype branco = std::min(cabem, texto.size() - 1);
        while (branco >= 0 && texto[branco] != QLatin1Char(' ')) --branco;
        if (branco >= 0) {
            const QStringView antes = texto.left(branco);
            texto = texto.mid(branco + 1);
            if (!antes.isEmpty()) AcrescentaTexto(antes.toString(), largura(antes));
            if (!Line.empty()) FechaLinha(false);
            continue;
        }
        // No blank fits: the word goes to a line of its own; on an empty line it breaks after
        // the last character that fits (at least one, so the layout always progresses).
        if (!Line.empty()) {
            FechaLinha(false);
            continue;
        }
        cabem = std::max<qsizetype>(cabem, 1);
        if (cabem < texto.size() && texto[cabem - 1].isHighSurrogate()) ++cabem;
        if (cabem >= texto.size()) {
            AcrescentaTexto(texto.toString(), largura(texto));
            return;
        }
        const QStringView antes = texto.left(cabem);
        AcrescentaTexto(antes.toString(), largura(antes));
        FechaLinha(false);
        texto = texto.mid(cabem);
    }
}

void TViewRelat::AcrescentaTexto(const QString &texto, int largura) {
    LineHeight = std::max(LineHeight, AlturaFonte(fonteDesenho_));
    if (Y + LineHeight > FundoTexto() && Y > TopoTexto() && !semQuebraPagina_) MudaPagina();
    TTrechoLinha t;
    t.Tipo = TTrechoLinha::Texto;
    t.Fonte = fonteDesenho_;
    t.Conteudo = texto;
    t.Largura = largura;
    t.Posicao = LineWidth;
    t.Brancos = Brancos(texto);
    Line.push_back(std::move(t));
    LineWidth += largura;
    LineBlanks += Brancos(texto);
}

void TViewRelat::WritePageNumber() { WriteText(QString::number(CurrentPage)); }

void TViewRelat::NewParagraph() { FechaLinha(true); }

void TViewRelat::TerminaLinha() {
    if (!Line.empty()) FechaLinha(true);
}

void TViewRelat::FechaLinha(bool fimParagrafo) {
    if (Encerrada()) return;
    if (Line.empty()) {
        LineHeight = AlturaFonte(fonteDesenho_);
        // In a table an empty line makes the row taller: it must fit on the page too.
        if (InTable && Y + LineHeight > FundoTexto() && Y > TopoTexto() && !semQuebraPagina_)
            MudaPagina();
    }
    if (InTable && CurrentRow >= 1 && CurrentRow <= LinhasTitulo)
        titulo_.Linhas.push_back({CurrentColumn, Y - RowTop, Line, LineWidth, LineHeight,
                                  LineBlanks, Alignment, fimParagrafo});
    if (Desenhando()) DesenhaLinha(fimParagrafo);
    Y += LineHeight;
    Line.clear();
    LineWidth = LineHeight = LineBlanks = 0;
}

void TViewRelat::MudaPagina() {
    if (Encerrada()) return;
    if (InTable) DrawRowBorders();
    if (BeforePageChange) BeforePageChange(*this);
    ++CurrentPage;
    Y = TopoTexto();
    if (AfterPageChange) AfterPageChange(*this);
    if (InTable) {
        if (CurrentRow >= 1 && CurrentRow <= LinhasTitulo) titulo_.Valido = false;
        RowTop = Y;
        RowBottom = 0;
        CellHeights.fill(Y);
        if (CurrentRow > LinhasTitulo && LinhasTitulo > 0) RepeteTitulo();
    }
}

void TViewRelat::NewPage() {
    TerminaLinha();
    MudaPagina();
}

// ---- Pictures ---------------------------------------------------------------------------------

void TViewRelat::SetChartMapping(const TMapaEixos &mapa) {
    mapa_ = mapa;
    temMapa_ = true;
}

void TViewRelat::WriteBitmap(const QImage &imagem, int escala, int cores) {
    WritePicture(imagem, escala, cores);
}

void TViewRelat::WritePicture(const QImage &imagem, int escala, int cores) {
    if (imagem.isNull()) {
        temMapa_ = false;
        return;
    }
    // Its size on the screen it was made for: the picture's own resolution (96 pixels per inch
    // unless it says otherwise, so a picture drawn finer for print keeps its size), scaled.
    const auto dpi = [](int pontosPorMetro) {
        return pontosPorMetro > 0 ? pontosPorMetro * 0.0254 : 96.0;
    };
    TTrechoLinha t;
    t.Imagem = imagem;
    t.Cores = cores;
    ColocaFigura(std::move(t), dpi(imagem.dotsPerMeterX()), dpi(imagem.dotsPerMeterY()), escala);
}

void TViewRelat::WriteChart(const TChart &chart, int cores) {
    if (Encerrada()) {
        temMapa_ = false;
        return;
    }
    TTrechoLinha t;
    t.Chart = std::make_shared<const TChart>(chart);
    t.Cores = cores;
    ColocaFigura(std::move(t), 96, 96, 100);
}

void TViewRelat::ColocaFigura(TTrechoLinha t, double dpiX, double dpiY, int escala) {
    const bool temMapa = std::exchange(temMapa_, false);
    if (Encerrada()) return;
    const QSize pixels = t.Chart ? QSize(t.Chart->Largura, t.Chart->Altura) : t.Imagem.size();
    const double fator = (escala > 0 ? escala : 100) / 100.0;
    const int largura = static_cast<int>(std::lround(pixels.width() * 1440.0 / dpiX * fator));
    const int altura = static_cast<int>(std::lround(pixels.height() * 1440.0 / dpiY * fator));
    if (!Line.empty() && LineWidth + largura > Disponivel()) FechaLinha(false);
    LineHeight = std::max(LineHeight, altura);
    if (Y + LineHeight > FundoTexto() && Y > TopoTexto() && !semQuebraPagina_) MudaPagina();
    t.Tipo = TTrechoLinha::Figura;
    t.Posicao = LineWidth;
    t.Largura = largura;
    t.Altura = altura;
    t.Item = ItemAtual;
    t.Parte = ParteAtual;
    t.TemMapa = temMapa;
    t.Mapa = mapa_;
    Line.push_back(std::move(t));
    LineWidth += largura;
}

// ---- Drawing a line ---------------------------------------------------------------------------

void TViewRelat::DesenhaLinha(bool fimParagrafo) {
    // In a cell the text keeps the cell's padding when the line leaves room for it, and comes
    // closer to the edges when it needs that room.
    const int margem =
        InTable ? std::clamp((CellWidth - LineWidth) / 2, MargemMinimaCelula, MargemCelula) : 0;
    const int esquerda = (InTable ? CellX : LeftMargin) + margem;
    const int disponivel = (InTable ? CellWidth : TextWidth) - 2 * margem;
    if (InTable) PreencheFundo(CurrentColumn, CellX, CellWidth, Y + LineHeight);

    int x0 = esquerda;
    switch (Alignment) {
    case apCentro: x0 = esquerda + (disponivel - LineWidth) / 2; break;
    case apDireita: x0 = esquerda + disponivel - LineWidth; break;
    default: break;
    }
    x0 = std::max(x0, esquerda);
    // A justified line other than its paragraph's last spreads the free space over its blanks
    // (blanks that end the line take none).
    double extra = 0;
    if (Alignment == apJustificado && !fimParagrafo && LineWidth < disponivel) {
        int finais = 0;
        for (auto it = Line.rbegin(); it != Line.rend(); ++it) {
            if (it->Tipo != TTrechoLinha::Texto) break;
            const qsizetype n = it->Conteudo.size();
            qsizetype k = n;
            while (k > 0 && it->Conteudo[k - 1] == QLatin1Char(' ')) --k;
            finais += static_cast<int>(n - k);
            if (k > 0) break;
        }
        const int uteis = LineBlanks - finais;
        if (uteis > 0) extra = static_cast<double>(disponivel - LineWidth) / uteis;
    }

    int brancosAntes = 0;
    for (const TTrechoLinha &t : Line) {
        const double x = x0 + t.Posicao + extra * brancosAntes;
        if (t.Tipo == TTrechoLinha::Texto) {
            const double ascendente = AvancosDe(t.Fonte).Ascendente();
            if (extra == 0 || t.Brancos == 0) {
                Elemento(TDesenhoPagina::TTexto{t.Fonte, QPointF(x, Y + ascendente), t.Conteudo});
            } else {
                // Word by word, each at its measured place plus the spread so far. Plain text
                // adds the words' widths as it goes (the sum is exact: the width of the words
                // before); other text measures the words before each one.
                TAvancosFonte &avancos = AvancosDe(t.Fonte);
                const bool simples = avancos.Simples(t.Conteudo);
                double antes = 0;
                qsizetype de = 0;
                int brancos = 0;
                while (de < t.Conteudo.size()) {
                    qsizetype ate = t.Conteudo.indexOf(QLatin1Char(' '), de);
                    ate = ate < 0 ? t.Conteudo.size() : ate + 1;
                    const QString palavra = t.Conteudo.mid(de, ate - de);
                    const int largura = simples ? static_cast<int>(std::lround(antes))
                                                : LarguraTexto(t.Fonte, t.Conteudo.left(de));
                    const double xp = x + largura + extra * brancos;
                    Elemento(TDesenhoPagina::TTexto{t.Fonte, QPointF(xp, Y + ascendente), palavra});
                    if (simples) antes += avancos.Largura(palavra);
                    brancos += Brancos(palavra);
                    de = ate;
                }
            }
            brancosAntes += t.Brancos;
        } else if (t.Tipo == TTrechoLinha::Figura) {
            TDesenhoPagina::TFigura f;
            f.Retangulo = QRectF(x, Y, t.Largura, t.Altura);
            if (t.Chart) f.Chart = t.Chart;
            else f.Imagem = t.Imagem;
            f.Cores = t.Cores;
            f.Item = t.Item;
            f.Parte = t.Parte;
            f.TemMapa = t.TemMapa;
            f.Mapa = t.Mapa;
            Elemento(std::move(f));
        }
    }
}

// ---- Recording and painting a page ------------------------------------------------------------

void TViewRelat::Pinta(const TDesenhoPagina::TTexto &e) {
    QPainter &p = *pintor_;
    p.setFont(FonteTwips(e.Fonte));
    p.setPen(ParaQColor(e.Fonte.Cor));
    p.drawText(e.Posicao, e.Texto);
}

void TViewRelat::Pinta(const TDesenhoPagina::TFundo &e) { pintor_->fillRect(e.Retangulo, e.Cor); }

void TViewRelat::Pinta(const TDesenhoPagina::TTraco &e) {
    pintor_->setPen(e.Caneta);
    pintor_->drawLine(e.De, e.Ate);
}

void TViewRelat::Pinta(const TDesenhoPagina::TFigura &e) {
    QPainter &p = *pintor_;
    // Pictures land on whole device pixels: at zoom 100 on screen a bitmap is copied pixel for
    // pixel.
    const QRect destino = p.transform().mapRect(e.Retangulo).toRect();
    QSize pixels = e.Imagem.size();
    if (e.Chart) {
        // The chart's units mapped onto its place on the page.
        const TChart &c = *e.Chart;
        pixels = QSize(std::max(1, c.Largura), std::max(1, c.Altura));
        p.save();
        p.translate(e.Retangulo.topLeft());
        p.scale(e.Retangulo.width() / pixels.width(), e.Retangulo.height() / pixels.height());
        PintaChart(p, c, e.Cores == 2);
        p.restore();
    } else {
        p.save();
        p.resetTransform();
        if (e.Cores == 2 || e.Cores == 16)
            p.drawImage(destino, Indexa(e.Imagem, e.Cores).Indices);
        else
            p.drawImage(destino, e.Imagem);
        p.restore();
    }
    TAreaGrafico a;
    a.Item = e.Item;
    a.Parte = e.Parte;
    a.Retangulo = destino;
    a.TamanhoImagem = pixels;
    a.TemMapa = e.TemMapa;
    a.Mapa = e.Mapa;
    AreasGraficas.push_back(a);
}

void TViewRelat::EntregaPagina() {
    TDesenhoPagina pronto = std::move(desenho_);
    desenho_ = {};
    if (PaginaGravada) PaginaGravada(CurrentPage, std::move(pronto));
}

void TViewRelat::PintaDesenho(const TDesenhoPagina &desenho) {
    AreasGraficas.clear();
    if (!pintor_) return;
    for (const auto &e : desenho.Elementos) std::visit([&](const auto &x) { Pinta(x); }, e);
}

} // namespace zelto
