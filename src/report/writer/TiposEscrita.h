// The plain value types that the report writers and the charts share: colours, lengths, fonts,
// borders, table columns, alignments, the vertical position of text, a chart's axis mapping and
// the running header or footer. No writer here: the chart draws with these alone.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <array>
#include <cstdint>

namespace zelto {

// Colour as the stored report settings hold it: 0x00BBGGRR; 0 is black ("automatic" for
// borders and text).
using TCor = std::uint32_t;
inline constexpr TCor CorBranca = 0x00FFFFFF;
inline constexpr TCor CorPreta = 0;
inline constexpr TCor Cor(int r, int g, int b) {
    return static_cast<TCor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline int Vermelho(TCor c) { return static_cast<int>(c & 0xFF); }
inline int Verde(TCor c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int Azul(TCor c) { return static_cast<int>((c >> 16) & 0xFF); }
QColor ParaQColor(TCor c);
TCor DeQColor(const QColor &c);

// Units of the lengths handed to the writers; the report always uses millimetres.
enum class TUnidade : std::uint8_t { Milimetros, Centimetros, Polegadas, Twips };
// round(valor × twips per unit): 56.69291338582677 per mm, 566.9291338582677 per cm, 1440 per
// inch, 1 per twip.
int ParaTwips(double valor, TUnidade unidade = TUnidade::Milimetros);

// A font of the report: face, size in points, style and colour.
struct TFonte {
    QString Nome = QStringLiteral("Arial");
    int Tamanho = 10;
    bool Negrito = false;
    bool Italico = false;
    bool Sublinhado = false;
    bool Riscado = false;
    TCor Cor = CorPreta;

    bool operator==(const TFonte &) const = default;
    // The QFont that measures and draws this font. "Arial" resolves to the metric-compatible
    // face installed with the program, so measurements are the same on every machine.
    QFont ParaQFont() const;
};

// One border: style (0 none, 1 single, 2 dotted, 3 dashed, 4 dash-dot, 5 dash-dot-dot, 6 wavy,
// 7 double wavy, 8 striped, 9 embossed, 10 engraved), multiplicity (1 single line, 2 double;
// 0 draws no line in the view), width (twips in RTF, 1..3 pixels in the view), shadow, colour.
struct TBorda {
    std::uint8_t Estilo = 1;
    std::uint8_t Multiplicidade = 1;
    std::uint8_t Largura = 1;
    bool Sombra = false;
    TCor Cor = CorPreta;

    bool operator==(const TBorda &) const = default;
    // A style or a width of 0 draws no border.
    bool Visivel() const { return Estilo != 0 && Largura != 0; }
};

// Positions of the six borders of a table or a column.
enum TPosicaoBorda : std::uint8_t {
    bdTopo = 0,
    bdBase = 1,
    bdEsquerda = 2,
    bdDireita = 3,
    bdInternaVertical = 4,
    bdInternaHorizontal = 5
};
using TBordas = std::array<TBorda, 6>;

// One column of the table being written.
struct TColuna {
    bool BordasProprias = false;      // false: the table's borders apply
    TBordas Bordas{};                 // top, bottom, left, right, inner vertical, inner horizontal
    std::array<int, 4> Margens{0, 0, 113, 113}; // padding in twips: top, bottom, left, right
    int Largura = -1;                 // twips; -1 unset
    TCor CorFundo = CorBranca;
    std::uint8_t Sombreamento = 0;    // percent; 0 none (CorFundo applies)
    std::uint8_t AlinhamentoVertical = 0; // 0 top, 1 bottom, 2 centre
};

// Paragraph alignments and table alignments.
enum TAlinhamento : std::uint8_t {
    apEsquerda = 0,
    apCentro = 1,
    apDireita = 2,
    apJustificado = 3,
    apDesconhecido = 100 // forces the next alignment request to be emitted
};
enum TAlinhamentoTabela : std::uint8_t { atEsquerda = 0, atDireita = 1, atCentro = 2 };

// Vertical position of the text.
enum TPosicaoVertical : std::uint8_t { pvSubscrito = 0, pvNormal = 1, pvSobrescrito = 2 };

// How a chart maps its data to the pixels of its picture: the pixel of the axes' minima
// (OrigemX, OrigemY), pixels per unit along each axis (EscalaY is negative: y grows upwards) and
// the minima. A point (x, y) lies at pixel (OrigemX + (x - MinimoX) x EscalaX, OrigemY + (y -
// MinimoY) x EscalaY); a zero scale maps every value to the axis' minimum.
struct TMapaEixos {
    double OrigemX = 0, OrigemY = 0;
    double EscalaX = 0, EscalaY = 0;
    double MinimoX = 0, MinimoY = 0;
    bool operator==(const TMapaEixos &) const = default;
};

// Running header or footer: text (lines separated by CR LF), font, alignment (0 left, 1 right,
// 2 centre).
struct TCabecalhoRodape {
    QString Texto;
    TFonte Fonte;
    std::uint8_t Alinhamento = 1;
};

} // namespace zelto
