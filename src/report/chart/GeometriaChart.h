// The geometry of the report's charts: plain structs and pure functions, apart from painting.
//
// A chart is a bitmap of a given size. Around the plot rectangle lie the margins that hold the
// titles, the scales' labels and four extra margins; the layout (LayoutChart) computes them
// from text measurements handed in as numbers, so it can be checked without a paint device.
// Data map to pixels through TMapeamento:
//   ScaleX = (width − left − right − 1) / (xmax − xmin),
//   ScaleY = (top + bottom − height + 1) / (ymax − ymin) (negative),
//   XPixel(x) = round((x − xmin)·ScaleX) + left + 1,
//   YPixel(y) = round((y − ymin)·ScaleY + height) − bottom − 1;
// an empty range has scale 0, so every value lands on the left (bottom) edge of the plot.
//
// The automatic range of an axis (RegraFaixa) covers the data with little waste: it widens
// them by kMargemFaixa of their span on each side (so no marker sits on the frame) and moves
// each end out to the nearest half of a nice step (1, 2, 2.5 or 5 times a power of ten) of
// about ten divisions: 10.4 .. 11.8 becomes 10.3 .. 11.9. A scale's step is the nice step
// nearest its range over Divisions, and its ticks are the whole multiples of the step (zero is
// a tick whenever the range holds it) that lie in the range, or within a hundredth of a step of
// an end.
//
// Curves are sampled once per pixel column and drawn through the 32-bit dash pattern of the
// pen; the colour map interpolates each channel between its two end colours.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zelto {

struct TFaixa {
    double Minimo = 0, Maximo = 0;
};

// The share of the data's span added on each side of an automatic range.
inline constexpr double kMargemFaixa = 0.04;
// The nice step (1, 2, 2.5 or 5 times a power of ten) nearest amplitude / divisoes on a
// logarithmic scale; 0 for an empty or invalid amplitude.
double PassoAgradavel(double amplitude, int divisoes);
// The same for whole numbers (counts, sample numbers): at least 1, 2.5 taken as 2.
double PassoInteiro(double amplitude, int divisoes);
// The automatic range of the values min .. max (widened by kMargemFaixa of the span first when
// `alarga`), its ends on halves of the nice step of ten divisions. A single value v spreads to
// v ± |v| / 10, and 0 .. 0 gives −0.1 .. 0.1.
TFaixa RegraFaixa(double minimo, double maximo, bool alarga = true);
// The range of a set of values by the rule (0 .. 0 when empty).
TFaixa FaixaDosValores(const std::vector<double> &valores, bool alarga = true);

// |b − a| / |a| <= 0.01, with b in the divisor when a is 0, and true when both are 0.
bool DentroDeUmPorCento(double a, double b);

// One axis scale.
struct TEscalaChart {
    int Divisoes = 10;
    double Passo = 0;
    double PrimeiroTique = 0;
    bool CentraZero = false;
    bool Marcas = true, Rotulos = true, Grade = true;
    bool PassoAutomatico = true;
    bool Oculta = false; // hidden by the scale mode (automatic or manual, hidden)
    int EstiloGrade = 2; // pen style of the grid lines
    std::function<std::string(double)> Formata; // label text; two decimals when empty

    std::string Rotulo(double v) const;
};

// The scale computation: divisions cut to 100, the nice step from the range when automatic, the
// first tick (the first multiple of the step at or above the minimum). False when the scale shows nothing (no step or no divisions, or hidden).
bool CalculaEscala(TEscalaChart &e, double minimo, double maximo);
// The ticks of a computed scale over minimo .. maximo (a tick within a hundredth of a step of
// an end sits on it).
std::vector<double> Tiques(const TEscalaChart &e, double minimo, double maximo);
// Whether a tick gets a tick mark (not at exactly an end) and a grid line (not within 1 % of
// the range from an end, where it would double the frame).
bool TemMarca(double t, double minimo, double maximo);
bool TemGrade(double t, double minimo, double maximo);

// Data to pixels.
struct TMapeamento {
    int Largura = 60, Altura = 60;
    int Esquerda = 10, Direita = 10, Topo = 10, Base = 10;
    double XMin = 0, XMax = 100, YMin = 0, YMax = 100;

    double EscalaX() const;
    double EscalaY() const;
    int XPixel(double x) const;
    int YPixel(double y) const;
    // Inverse mapping (for clicks); the minimum when the scale is 0.
    double XDado(double px) const;
    double YDado(double py) const;
    // The plot rectangle's pixel edges: the frame; the lowest X value lands one pixel inside
    // it, the highest on it, and Y's range runs from the bottom edge to the top edge.
    int PlotEsquerda() const { return Esquerda; }
    int PlotDireita() const { return Largura - Direita; }
    int PlotTopo() const { return Topo; }
    int PlotBase() const { return Altura - Base - 1; }
};

// Text measurements the layout needs (pixels). Empty titles measure 0.
struct TMedidasTexto {
    int AlturaTitulo = 0, AlturaSubtitulo = 0, AlturaTituloX = 0, AlturaTituloY = 0,
        AlturaTituloDireita = 0;
    int AlturaAg = 0;           // "Ag" in the X scale font
    int LarguraRotuloY = 0;     // widest Y label
    int LarguraRotuloX = 0;     // widest X label
    int AlturaLegenda = 0;      // colour-map legend band under the plot (0: none)
    int Extra[4] = {10, 10, 10, 10}; // left, top, right, bottom extra margins
};

struct TMargens {
    int Esquerda = 10, Topo = 10, Direita = 10, Base = 10;
};

// The margins of the layout: title and subtitle on top, X title, X labels (and the legend)
// below, Y title and Y labels on the left, right title on the right, then the extra margins.
// A hidden scale takes no room for its labels.
TMargens LayoutChart(const TMedidasTexto &m, bool rotulosX, bool rotulosY);

// Only every second X tick is labelled when the labels, each with a gap of kFolgaRotulosX
// pixels after it, would not fit.
inline constexpr int kFolgaRotulosX = 4;
bool RotulosXAlternados(int divisoes, int larguraRotulo, int larguraPlot);

// The 32-bit dash pattern of a pen style (0 solid, 1 dashed, 2 dotted, 3 dash-dot; others
// solid): bit t counted from the most significant says whether step t is drawn.
std::uint32_t PadraoTraco(int estilo);
bool BitDoPadrao(std::uint32_t padrao, std::size_t t);

// A segment of a sampled curve, in data coordinates.
struct TSegmento {
    double X1, Y1, X2, Y2;
};
// Samples f from `de` to `ate` over a pixel span: n = span + 1 steps of (ate − de) / n; the
// step from point t to t + 1 is drawn when bit t (mod 32) of the pattern is set. Steps with a
// non-finite end are skipped.
std::vector<TSegmento> SegmentosCurva(const std::function<double(double)> &f, double de, double ate,
                                      int spanPixels, std::uint32_t padrao);
// Cuts a segment to the box x × y (ends included), in data coordinates, before it is mapped to
// pixels: what lies outside a (manual) range is never drawn, and a far end never reaches the
// pixel mapping. False when nothing of it lies in the box (or an end is not finite).
bool RecortaSegmento(TSegmento &s, TFaixa x, TFaixa y);
// Whether (x, y) lies in the box x × y, ends included.
bool DentroDaFaixa(double x, double y, TFaixa fx, TFaixa fy);

// A chart text split by the report's markup (common/Marcacao.h) into plain and raised pieces: a
// power of ten is the mantissa and "x10" with the exponent raised, the infinite marker "∞".
// Titles and labels are measured and drawn piece by piece.
struct TTrechoTexto {
    std::string Texto;
    bool Sobrescrito = false;
    bool operator==(const TTrechoTexto &) const = default;
};
std::vector<TTrechoTexto> TrechosTexto(const std::string &texto);

// A colour as red, green, blue (0..255).
struct TRgb {
    int R = 0, G = 0, B = 0;
    bool operator==(const TRgb &) const = default;
};
// Per-channel interpolation between two colours; t is clamped to 0..1.
TRgb InterpolaCor(TRgb baixo, TRgb alto, double t);

// The colour map: the function at the 21 × 21 nodes of a 20 × 20 grid gives its lowest and
// highest value; each of the 400 cells takes the value at its centre.
struct TMapaCores {
    static constexpr int Celulas = 20;
    double Minimo = 0, Maximo = 0;
    std::vector<double> Centros; // row-major, [j * 20 + i] = f(x centre i, y centre j)
    double Fracao(double v) const; // (v − min) / (max − min), 0 when the range is empty
};
TMapaCores CalculaMapaCores(const std::function<double(double, double)> &f, TFaixa x, TFaixa y);
// The number of legend labels: 10 when ten of the widest fit in the plot width, else 5.
int RotulosLegenda(int larguraRotulo, int larguraPlot);

// The 3D projection, orthographic: a point of the unit box (each coordinate in −0.5 .. 0.5, z
// the estimate) is turned about the vertical Z axis (azimuth), then about Y (roll), then about
// X (elevation: positive shows the top of the surface), all in degrees, and seen from the
// front (from y = −∞): the screen's x is the turned x, its up the turned z, and the depth the
// turned y (smaller is nearer; surfaces are painted far to near).
struct TProjecao3D {
    double AnguloX = 30, AnguloY = 0, AnguloZ = -35;
    struct TP {
        double X, Y, Profundidade;
    };
    TP Projeta(double x, double y, double z) const;
};

} // namespace zelto
