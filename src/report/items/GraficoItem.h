// The common ground of the graph items: a chart dressed with the item's settings, the picture
// handed to the writer, and the scatter of one point per sample.
//
// TItemGrafico turns the item's graph settings into a TChart (fonts, colours, grid styles,
// divisions, scale modes, centring, marker, numbering, size in mm at the screen's 96 pixels per
// inch) and writes a finished chart: centred, handed to the writer as the chart itself
// (WriteChart, with 2 colours for a monochrome setting, else 16 or 256), and the comment under
// it when comments are on.
// The two series option bytes hold: first byte, bits 0-1 the colour count (0 two, 1 sixteen,
// 2 or 3 256), bit 2 set to hide the sample numbers, bit 3 set to show them whatever their
// count; second byte, bits 0-2 the marker kind (4 or more: no marker). The stored defaults
// (03, D0) give 256 colours, circles, and the sample numbers while they stay legible: on a
// chart of at most kMaxPontosNumerados points (more numbers overlap into a black blot).
//
// The range of every axis goes through FaixaEixo: an axis in a manual mode (1 or 3) whose
// manual range is valid (both ends finite, the minimum below the maximum) takes it; any other
// axis, an invalid manual range included, takes the item's automatic range. Modes 2 and 3 hide
// the scale, whatever the range. Whatever falls outside the range is cut at the plot's edge.
//
// TIA_XYAmostragem draws sample i (1..n) at (X(i), Y(i)) labelled with its sample number, both
// given by the concrete item, over automatic ranges (RegraFaixa) unless manual, then the
// item's extras. Each axis labels its values with the item's formatter (whole numbers for
// sample numbers, a worksheet column's format for that column's values, else two decimals); a
// click describes the first sample inside the tolerance box, its values formatted as the axes
// label them.
#pragma once

#include "chart/Chart.h"
#include "evaluation/ItemAvaliacao.h"

#include <functional>
#include <string>
#include <vector>

namespace zelto {

inline constexpr const char *kTituloDireita = "Zelto® 32";

// Whole-number label text.
std::string RotuloInteiro(double v);
// A number for a chart label: two decimals with a decimal comma, or 3 significant digits
// with the exponent markup when large or small.
std::string RotuloNumero(double v);

// The sample numbers beside the points: bit 2 of the first option byte hides them, bit 3 shows
// them always; with neither they show on charts of at most kMaxPontosNumerados points.
inline constexpr std::uint8_t kOcultaNumeros = 0x04, kMostraNumeros = 0x08;
inline constexpr std::size_t kMaxPontosNumerados = 100;
bool NumeracaoDoChart(std::uint8_t opcoes, std::size_t pontos);
std::size_t PontosDoChart(const TChart &c);

// Turns a value into axis label text.
using TFormatador = std::function<std::string(double)>;

class TItemGrafico : public TItemAvaliacaoGraf {
  public:
    using TItemAvaliacaoGraf::TItemAvaliacaoGraf;
    // The lines describing the point under the last click (empty: nothing there).
    std::vector<std::string> DescricaoClique;
    // The chart of the last written part (kept for the tests and the benchmark).
    TChart UltimoChart;
    // When on, every picture written is also kept with its part (0-based) and its chart, for
    // writing them out as image files after a run (and for the tests of series items).
    bool GuardaFiguras = false;
    struct TFigura {
        int Parte = 0;
        QImage Imagem;
        TChart Chart;
    };
    std::vector<TFigura> Figuras;
    void Calcula(int parte) override;
    // Whether axis k (0 X, 1 Y) takes its manual range: a manual mode and a valid range.
    bool EixoManual(std::size_t k) const;
    // The range of axis k: the manual one when EixoManual, else `automatica`.
    TFaixa FaixaEixo(std::size_t k, TFaixa automatica) const;

  protected:
    int parte_ = 0; // the part being computed and written
    // A chart sized and dressed with the settings, over the ranges of FaixaEixo for the
    // automatic ranges x and y; the titles set.
    TChart ChartBase(TFaixa x, TFaixa y, const std::string &titulo, const std::string &tituloX,
                     const std::string &tituloY) const;
    // The automatic range of values, or 0 .. 1 when there are none.
    static TFaixa Faixa(const std::vector<double> &v) { return FaixaDosValores(v); }
    // The picture and the comment lines (comments only when the option is on).
    void EscreveChart(const TChart &c, const std::vector<std::string> &comentarios = {});
    bool Inferencial() const { return Ctx().Inferencial; }
    // The label text of a worksheet column's values: numbers with the column's decimals and
    // thousands, dates as dates, qualitative and dichotomous codes with two decimals.
    TFormatador FormatoColuna(int coluna) const;
    // "Resíduo" or "Desvio" by the statistics mode (also the plural).
    std::string Res(bool plural = false, bool minuscula = false) const;
};

class TIA_XYAmostragem : public TItemGrafico {
  public:
    using TItemGrafico::TItemGrafico;
    void Calcula(int parte) override;
    void Imprime(int parte) override;
    std::vector<std::string> CliqueGrafico(double x, double y, double toleranciaX,
                                           double toleranciaY) override;
    int NumeroPartes() const override;

  protected:
    virtual double X(std::size_t i) const = 0;
    virtual double Y(std::size_t i) const = 0;
    virtual std::string TituloChart() const = 0;
    virtual std::string TituloX() const = 0;
    virtual std::string TituloY() const = 0;
    virtual std::vector<std::string> Comentarios() const { return {}; }
    // Extra drawing over the points (reference lines, curves).
    virtual void Extras(TChart &) const {}
    // The item's own automatic ranges, from the ranges of the values (shared or fixed ranges).
    virtual void FaixasAutomaticas(TFaixa &, TFaixa &) const {}
    // The axis formatters: two decimals unless the item says otherwise.
    virtual TFormatador FormatoX() const { return RotuloNumero; }
    virtual TFormatador FormatoY() const { return RotuloNumero; }
    // Adjusts the scales of the chart (steps, subtitle).
    virtual void AjustaEixos(TChart &) const {}
    virtual std::size_t Amostras() const;
    virtual std::string RotuloAmostra(std::size_t i) const;
    TFaixa FaixaX_, FaixaY_;
};

// Sample number on the X axis, whole-number labels on a nice whole step (PassoInteiro).
class TIA_XAmostragem : public TIA_XYAmostragem {
  public:
    using TIA_XYAmostragem::TIA_XYAmostragem;

  protected:
    double X(std::size_t i) const override;
    std::string TituloX() const override { return "Amostragem"; }
    TFormatador FormatoX() const override { return RotuloInteiro; }
    void AjustaEixos(TChart &c) const override;
};

// The normal curve fitted to the residual classes, in class units (class j centred on x = j):
// centre c = (ē − min e)·k / (max e − min e), spread s = σ·k / (max e − min e), peak
// n / √(2π s²); with max e = min e, c = k / 2, s = 0 and the peak 2n. The curve is
// peak·exp(−(x − c − 0.5)² / (2 s²)), 0 everywhere when s = 0.
struct TCurvaHistograma {
    double Centro = 0, Desvio = 0, Pico = 0;
    double operator()(double x) const;
};
class TSistema;
TCurvaHistograma CurvaHistograma(const TSistema &s);

// The families' registrations.

} // namespace zelto
