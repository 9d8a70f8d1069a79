#include "writer/ArqEditor.h"

#include "chart/Chart.h"
#include "writer/TextoLiteral.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>

namespace zelto {

void TArqEditor::WriteChart(const TChart &chart, int cores) {
    WritePicture(ImagemChart(chart, cores), 100, cores);
}

namespace {

// The device on which text is measured when no canvas was given: an image at 96 pixels per
// inch, the resolution the report's pictures assume.
QPaintDevice &DispositivoPadrao() {
    static QImage imagem(1, 1, QImage::Format_RGB32);
    return imagem;
}

} // namespace

TArqEditor::TArqEditor() { SetCanvas(nullptr); }

TArqEditor::~TArqEditor() = default;

void TArqEditor::SetPage(double larguraTexto, double margemEsquerda, double alturaTexto,
                         double margemSuperior, double larguraPagina, double alturaPagina) {
    PaperWidth = ParaTwips(larguraPagina);
    PaperHeight = ParaTwips(alturaPagina);
    LeftMargin = ParaTwips(margemEsquerda);
    TopMargin = ParaTwips(margemSuperior);
    TextWidth = ParaTwips(larguraTexto);
    TextHeight = ParaTwips(alturaTexto);
    RightMargin = ParaTwips(larguraPagina - margemEsquerda - larguraTexto);
    BottomMargin = ParaTwips(alturaPagina - margemSuperior - alturaTexto);
}

void TArqEditor::SetCanvas(QPaintDevice *canvas) {
    Canvas = canvas;
    QPaintDevice &d = canvas ? *canvas : DispositivoPadrao();
    const int dpiX = std::max(1, d.logicalDpiX());
    const int dpiY = std::max(1, d.logicalDpiY());
    FatorX = std::lround(1440.0 / dpiX);
    FatorY = std::lround(1440.0 / dpiY);
}

void TArqEditor::BeginTable(int colunas, int linhas, int largura, int alinhamento) {
    ColumnCount = std::max(0, colunas);
    RowCount = linhas;
    TableAlignment = static_cast<std::uint8_t>(alinhamento);
    Columns.assign(static_cast<std::size_t>(ColumnCount) + 1, TColuna{});
    for (int i = 1; i <= ColumnCount; ++i) Columns[i].Largura = largura / ColumnCount;
    Columns[0].Largura = largura;
    TableBorders = TBordas{};
    CurrentColumn = 1;
    CurrentRow = 1;
    TableFont = TFonte{};
    FormatoLinha = nullptr;
    LinhasTitulo = 0;
    AlturaInicioTabela = 0;
}

bool TArqEditor::PreparaLinha() {
    if (!FormatoLinha || CurrentRow < 1 || CurrentRow > RowCount) return false;
    FormatoLinha(CurrentRow);
    return true;
}

void TArqEditor::EndRow() {
    for (int i = 1; i <= ColumnCount; ++i) {
        TColuna &c = Columns[i];
        c.Bordas[bdInternaVertical] = c.Bordas[bdEsquerda];
        c.Bordas[bdInternaHorizontal] = c.Bordas[bdTopo];
    }
}

TColuna &TArqEditor::GetColumn(int i) {
    if (Columns.empty()) Columns.assign(1, TColuna{});
    const int ultimo = static_cast<int>(Columns.size()) - 1;
    if (ultimo == 0) return Columns[0];
    return Columns[std::clamp(i, 1, ultimo)];
}

int TArqEditor::MeasureText(const QString &texto) const {
    QPaintDevice &d = Canvas ? *Canvas : DispositivoPadrao();
    const QFontMetricsF m(CurrentFont.ParaQFont(), &d);
    return static_cast<int>(std::lround(m.horizontalAdvance(texto) * FatorX));
}

int TArqEditor::MeasureSpace() const { return MeasureText(QStringLiteral(" ")); }

void TArqEditor::SaveState() {
    SavedAlignment = Alignment;
    SavedVerticalPosition = VerticalPosition;
    SavedFont = CurrentFont;
}

void TArqEditor::RestoreState() {
    Alignment = SavedAlignment;
    VerticalPosition = SavedVerticalPosition;
    SetFont(SavedFont);
}

void TArqEditor::SetTabPosition(int indice, double posicao, std::uint8_t tipo) {
    if (indice < 0 || indice >= static_cast<int>(TabPositions.size())) return;
    TabPositions[static_cast<std::size_t>(indice)] = posicao;
    TabKinds[static_cast<std::size_t>(indice)] = tipo;
}

void TArqEditor::WriteFormatted(const QString &texto) {
    const TFonte fonte = CurrentFont;
    const int tamanho = fonte.Tamanho;
    // Plain text and a mantissa go out together, in one run, up to the next change of font.
    QString pendente;
    const auto escreve = [&] {
        if (!pendente.isEmpty()) WriteText(pendente);
        pendente.clear();
    };
    const auto eleva = [&](const std::string &t) {
        SetFontSizeRaw(static_cast<int>(std::lround(0.7 * tamanho)));
        SuperscriptOn();
        if (!t.empty()) WriteText(QString::fromStdString(t));
        SuperscriptOff();
        RestoreFont(fonte);
    };
    for (const TTrechoMarcacao &t : DivideMarcacao(texto.toStdString())) {
        switch (t.Tipo) {
        case TTrechoMarcacao::Simples: pendente += QString::fromStdString(t.Texto); break;
        case TTrechoMarcacao::Infinito:
            // The text before it, then the infinity sign; the mantissa's digits are not written.
            escreve();
            WriteInfinity();
            break;
        case TTrechoMarcacao::Potencia:
            pendente += QString::fromStdString(t.Texto);
            escreve();
            SetFontSizeRaw(static_cast<int>(std::lround(0.8 * tamanho)));
            WriteText(QStringLiteral("x"));
            RestoreFont(fonte);
            WriteText(QStringLiteral("10"));
            eleva(t.Expoente);
            break;
        case TTrechoMarcacao::Sobrescrito:
            escreve();
            eleva(t.Texto);
            break;
        }
    }
    escreve();
}

void TArqEditor::WriteInfinity() {
    const TFonte fonte = CurrentFont;
    SetFontName(QStringLiteral("Symbol"));
    WriteText(QString(QChar(0xA5)));
    RestoreFont(fonte);
    // File writers ignore RestoreFont: give them the font back too.
    if (!(CurrentFont == fonte)) SetFont(fonte);
}

void TArqEditor::WriteLine(const QString &texto) {
    WriteFormatted(texto);
    NewParagraph();
}

void TArqEditor::WriteHeaderFooterText(const TCabecalhoRodape &cabecalho) {
    if (cabecalho.Texto.isEmpty()) return;
    switch (cabecalho.Alinhamento) {
    case 0: AlignLeft(); break;
    case 2: AlignCenter(); break;
    default: AlignRight(); break;
    }
    SetFont(cabecalho.Fonte);
    static const QString pagina = QStringLiteral("(página)");
    QString texto = cabecalho.Texto;
    texto.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList linhas = texto.split(QLatin1Char('\n'));
    if (linhas.size() > 1 && linhas.back().isEmpty()) linhas.pop_back(); // a final line break
    for (const QString &linha : linhas) {
        qsizetype de = 0;
        for (qsizetype p = linha.indexOf(pagina); p >= 0; p = linha.indexOf(pagina, de)) {
            WriteFormatted(Literal(linha.mid(de, p - de)));
            WritePageNumber();
            de = p + pagina.size();
        }
        WriteLine(Literal(linha.mid(de)));
    }
}

} // namespace zelto
