#include "items/GraficoItem.h"

#include "evaluation/DadosPlanilha.h"
#include "items/DadosObjeto.h"
#include "regression/Sistema.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zelto {

std::string RotuloInteiro(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.0f", std::round(v) == 0 ? 0.0 : std::round(v));
    return b;
}

std::string RotuloNumero(double v) {
    char b[48];
    const double a = std::fabs(v);
    if (a != 0 && (a >= 1e7 || a < 1e-3)) {
        const int e = static_cast<int>(std::floor(std::log10(a)));
        std::snprintf(b, sizeof b, "%.2f###%d%%", v / std::pow(10.0, e), e);
    } else {
        std::snprintf(b, sizeof b, a >= 1000 ? "%.0f" : "%.2f", v);
    }
    std::string s = b;
    std::replace(s.begin(), s.end(), '.', ',');
    if (s == "-0,00") s = "0,00";
    return s;
}

// ---- TItemGrafico ------------------------------------------------------------------------------

bool TItemGrafico::EixoManual(std::size_t k) const {
    const TEixo &e = Eixos.at(k);
    return (e.Modo == 1 || e.Modo == 3) && std::isfinite(e.Minimo) && std::isfinite(e.Maximo) &&
           e.Minimo < e.Maximo;
}

TFaixa TItemGrafico::FaixaEixo(std::size_t k, TFaixa automatica) const {
    return EixoManual(k) ? TFaixa{Eixos[k].Minimo, Eixos[k].Maximo} : automatica;
}

TFormatador TItemGrafico::FormatoColuna(int coluna) const {
    const TGridzelto *g = &Grid();
    const int tipo = VariavelPlanilha(*g, coluna).Tipo;
    if (tipo == tvrNumerica || tipo == tvrCalculada)
        return [g, coluna](double v) { return TextoValorVariavel(*g, coluna, v); };
    if (tipo == tvrData)
        return [g, coluna](double v) {
            std::string t = TextoValorColuna(*g, coluna, v);
            return t.empty() ? RotuloNumero(v) : t;
        };
    // Qualitative and dichotomous codes: the ticks fall between the codes, so a label would
    // name the wrong class; the codes take the generic format.
    return RotuloNumero;
}

TChart TItemGrafico::ChartBase(TFaixa x, TFaixa y, const std::string &titulo, const std::string &tituloX,
                               const std::string &tituloY) const {
    TChart c;
    // Size in mm at 96 pixels per inch.
    c.Largura = std::max(20, static_cast<int>(std::lround(LarguraGrafico * 96 / 25.4)));
    c.Altura = std::max(20, static_cast<int>(std::lround(AlturaGrafico * 96 / 25.4)));
    c.X = FaixaEixo(0, x);
    c.Y = FaixaEixo(1, y);
    c.FonteTitulo = FonteTitulo;
    c.FonteLegendas = FonteCorpo;
    c.FonteEscalaX = FonteEscalaX;
    c.FonteEscalaY = FonteEscalaY;
    c.FonteRotulos = FonteSeries;
    // Colours: plot, surrounding area, grid, colour-map low and high, marker, line pen.
    c.FundoChart = Cores[0];
    c.FundoLegendas = Cores[1];
    c.CorGrade = Cores[2];
    c.CorMinimo = Cores[3];
    c.CorMaximo = Cores[4];
    c.CorMarcador = Cores[5];
    c.CanetaReferencia = {Cores[6], LarguraCaneta, EstiloCaneta};
    c.Moldura = {CorPreta, 1, 0};
    c.Marcador = std::min<int>(OpcoesSerie[1] & 0x07, mcNenhum);
    c.Numeracao = NumeracaoDoChart(OpcoesSerie[0], 0);
    TEscalaChart *escalas[2] = {&c.EscalaX, &c.EscalaY};
    for (int k = 0; k < 2; ++k) {
        const TEixo &e = Eixos[static_cast<std::size_t>(k)];
        TEscalaChart &s = *escalas[k];
        s.Divisoes = e.Divisoes;
        s.EstiloGrade = e.Grade;
        s.Oculta = e.Modo == 2 || e.Modo == 3;
        s.CentraZero = e.Extra != 0;
        s.Formata = RotuloNumero;
    }
    c.Titulo = titulo;
    c.TituloX = tituloX;
    c.TituloY = tituloY;
    c.TituloDireita = kTituloDireita;
    return c;
}

void TItemGrafico::Calcula(int parte) {
    parte_ = parte;
    if (parte == 0) Figuras.clear(); // a new run of the item
    TItemAvaliacaoGraf::Calcula(parte);
}

std::size_t PontosDoChart(const TChart &c) {
    return static_cast<std::size_t>(std::count_if(c.Elementos.begin(), c.Elementos.end(), [](const TElementoChart &e) {
        return e.Tipo == TElementoChart::Ponto;
    }));
}

bool NumeracaoDoChart(std::uint8_t opcoes, std::size_t pontos) {
    if (opcoes & kOcultaNumeros) return false;
    if (opcoes & kMostraNumeros) return true;
    return pontos <= kMaxPontosNumerados;
}

void TItemGrafico::EscreveChart(const TChart &entrada, const std::vector<std::string> &comentarios) {
    UltimoChart = entrada;
    UltimoChart.Numeracao = NumeracaoDoChart(OpcoesSerie[0], PontosDoChart(entrada));
    const TChart &c = UltimoChart;
    const int codigo = OpcoesSerie[0] & 0x03;
    const int cores = codigo == 0 ? 2 : codigo == 1 ? 16 : 256;
    TConteudo &e = E();
    e.AlignCenter();
    // The view maps a click on the picture back to chart units through this.
    const TMapeamento m = LayoutDe(c).Mapa;
    e.SetChartMapping(TMapaEixos{m.Esquerda + 1.0, m.Altura - m.Base - 1.0, m.EscalaX(), m.EscalaY(),
                                 m.XMin, m.YMin});
    e.WriteChart(c, cores);
    if (GuardaFiguras) Figuras.push_back({parte_, ImagemChart(c, cores), c});
    e.NewParagraph();
    if (Comentarios && !comentarios.empty()) {
        e.SetFont(FonteComentario);
        e.NewParagraph();
        for (const std::string &l : comentarios) e.WriteLine(QString::fromStdString(l));
        e.NewParagraph();
    }
}

std::string TItemGrafico::Res(bool plural, bool minuscula) const {
    std::string s = Inferencial() ? (plural ? "Resíduos" : "Resíduo") : (plural ? "Desvios" : "Desvio");
    if (minuscula) s[0] = static_cast<char>(s[0] - 'A' + 'a');
    return s;
}

// ---- TIA_XYAmostragem -------------------------------------------------------------------------

std::size_t TIA_XYAmostragem::Amostras() const { return Sistema().n(); }

std::string TIA_XYAmostragem::RotuloAmostra(std::size_t i) const {
    return std::to_string(Sistema().NumeroAmostra(i));
}

int TIA_XYAmostragem::NumeroPartes() const {
    return ctx_ && ctx_->Sistema && Sistema().n() > 0 ? 1 : 0;
}

void TIA_XYAmostragem::Calcula(int parte) {
    TItemGrafico::Calcula(parte);
    std::vector<double> xs, ys;
    for (std::size_t i = 1; i <= Amostras(); ++i) {
        xs.push_back(X(i));
        ys.push_back(Y(i));
    }
    FaixaX_ = Faixa(xs);
    FaixaY_ = Faixa(ys);
    FaixasAutomaticas(FaixaX_, FaixaY_);
}

void TIA_XYAmostragem::Imprime(int) {
    TChart c = ChartBase(FaixaX_, FaixaY_, TituloChart(), TituloX(), TituloY());
    c.EscalaX.Formata = FormatoX();
    c.EscalaY.Formata = FormatoY();
    AjustaEixos(c);
    for (std::size_t i = 1; i <= Amostras(); ++i) c.PlotPoint(RotuloAmostra(i), Y(i), X(i));
    Extras(c);
    EscreveChart(c, Comentarios());
}

std::vector<std::string> TIA_XYAmostragem::CliqueGrafico(double x, double y, double toleranciaX,
                                                         double toleranciaY) {
    DescricaoClique.clear();
    for (std::size_t i = 1; i <= Amostras(); ++i)
        if (std::fabs(X(i) - x) <= toleranciaX && std::fabs(Y(i) - y) <= toleranciaY) {
            DescricaoClique = {"Amostragem nº " + RotuloAmostra(i), TituloX() + " = " + FormatoX()(X(i)),
                               TituloY() + " = " + FormatoY()(Y(i))};
            break;
        }
    return DescricaoClique;
}

double TIA_XAmostragem::X(std::size_t i) const { return static_cast<double>(Sistema().NumeroAmostra(i)); }

void TIA_XAmostragem::AjustaEixos(TChart &c) const {
    c.EscalaX.PassoAutomatico = false;
    c.EscalaX.Passo = PassoInteiro(c.X.Maximo - c.X.Minimo, std::max(1, c.EscalaX.Divisoes));
}

} // namespace zelto
