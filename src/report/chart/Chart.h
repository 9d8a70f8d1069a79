// The chart: what a graph shows, as plain data, and the one routine that paints it on a
// QPainter over any paint device (the report's pages, a printer, a PDF, a QImage).
//
// A TChart holds the titles, fonts, colours, the two scales, the marker settings and the list
// of things drawn on the plot in order: points, reference lines, segments, bars, texts,
// curves, a colour map, or a 3D surface (which replaces the plot and its scales). The items
// fill one, PintaChart lays it out (GeometriaChart.h) and paints it, as vectors on the page
// painter of the view, the printer and the PDF, or into a bitmap for the file formats that
// need a picture (ImagemChart); LayoutDe gives the same layout without painting, so a test can
// ask where a value lands.
//
// Painting order: the area around the plot in the legends colour, the plot in its colour
// framed, the titles, the scales (grid lines, tick marks, labels), then, clipped to the inside
// of the plot, the drawn things.
#pragma once

#include "chart/GeometriaChart.h"
#include "writer/TiposEscrita.h"

#include <QImage>

#include <functional>
#include <string>
#include <vector>

class QPainter;

namespace zelto {

enum TMarcador : int { mcCirculo = 0, mcQuadrado = 1, mcTriangulo = 2, mcEsfera = 3, mcNenhum = 4 };

// A pen: colour, width, style (0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot, 5 none).
struct TCaneta {
    TCor Cor = CorPreta;
    int Largura = 1;
    int Estilo = 0;
};

struct TElementoChart {
    enum TTipo { Ponto, Linha, Segmento, BarraVertical, BarraHorizontal, Texto, Curva };
    TTipo Tipo = Ponto;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0; // point: X1, Y1; bars: centre, size, length/height
    std::string Rotulo;                   // point label or text
    TCaneta Caneta;                       // segments
    TCor Preenchimento = CorPreta;        // bars
    bool CanetaEscalaX = false;           // curve drawn with the X scale's pen
    std::function<double(double)> Funcao; // curve
};

struct TChart {
    int Largura = 60, Altura = 60; // bitmap size in pixels
    std::string Titulo, Subtitulo, TituloX, TituloY, TituloDireita;
    TFonte FonteTitulo, FonteLegendas, FonteEscalaX, FonteEscalaY, FonteRotulos;
    TCor FundoChart = CorBranca, FundoLegendas = CorBranca, CorGrade = CorBranca;
    TCaneta Moldura;           // the plot frame
    TCaneta CanetaReferencia;  // reference lines and curves
    TCor CorMarcador = Cor(0, 0, 255);
    int Marcador = mcCirculo;
    bool Numeracao = true;
    TCor CorMinimo = Cor(0, 0, 255), CorMaximo = Cor(255, 0, 0);
    int Extra[4] = {10, 10, 10, 10};
    TFaixa X{0, 100}, Y{0, 100};
    TEscalaChart EscalaX, EscalaY;
    std::vector<TElementoChart> Elementos;

    // Colour map over the X and Y ranges, with its legend under the plot.
    std::function<double(double, double)> Mapa;
    std::string TituloLegenda;
    std::function<std::string(double)> FormataLegenda;

    // 3D surface over the X and Y ranges: the projection, the height axis title, the mesh.
    std::function<double(double, double)> Superficie;
    TProjecao3D Projecao;
    std::string TituloZ;
    int Malha = 24;

    // Drawing helpers in the order of the component's primitives.
    void PlotPoint(const std::string &rotulo, double y, double x);
    void Line(double y2, double x2, double y1, double x1);
    void Segment(double y2, double x2, double y1, double x1, TCaneta caneta);
    void VerticalBar(double largura, double altura, double x, TCor cor);
    void HorizontalBar(double espessura, double y, double comprimento, TCor cor);
    void TextAt(const std::string &texto, double y, double x);
    void Curve(std::function<double(double)> f, double de, double ate, bool canetaEscalaX = false);
};

// The laid-out chart: margins, mapping, computed scales and their ticks.
struct TLayoutChart {
    TMapeamento Mapa;
    TEscalaChart EscalaX, EscalaY;
    bool VisivelX = false, VisivelY = false;
    std::vector<double> TiquesX, TiquesY;
    bool XAlternado = false;
    int AlturaLegenda = 0;
};

// The layout of a chart, with its texts measured in its fonts.
TLayoutChart LayoutDe(const TChart &c);
// Paints the chart from (0, 0) over c.Largura × c.Altura units of the painter's coordinates (a
// unit is a pixel of the 96-per-inch layout; the painter's transform may map it to any size on
// any device: texts stay texts and lines stay lines). Monochrome paints every colour as black
// or white by its grey, as the two-colour picture does.
void PintaChart(QPainter &p, const TChart &c, bool monocromatico = false);
// The chart as a bitmap at `dpi` pixels per inch of its size (96: a pixel per layout unit; the
// image carries its resolution): RGB, or with 2 colours (black and white) when `cores` is 2.
QImage ImagemChart(const TChart &c, int cores, double dpi = 96);

// A label with its markup as the chart shows it, unraised: mantissa + "x10" + exponent.
std::string TextoRotulo(const std::string &rotulo);

} // namespace zelto
