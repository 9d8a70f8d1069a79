#include "chart/GeometriaChart.h"
#include "common/Marcacao.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zelto {

double PassoAgradavel(double amplitude, int divisoes) {
    if (!(amplitude > 0) || !std::isfinite(amplitude)) return 0;
    const double alvo = amplitude / std::max(1, divisoes);
    const double potencia = std::pow(10.0, std::floor(std::log10(alvo)));
    // The nice step nearest the target on a logarithmic scale: 1, 2, 2.5, 5 or 10 times the
    // power of ten below it.
    double melhor = potencia, distancia = 1e300;
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        const double d = std::fabs(std::log(m * potencia / alvo));
        if (d < distancia) distancia = d, melhor = m * potencia;
    }
    return melhor;
}

double PassoInteiro(double amplitude, int divisoes) {
    const double p = PassoAgradavel(amplitude, divisoes);
    return p < 1 ? 1 : std::floor(p); // 2.5 counts as 2
}

TFaixa RegraFaixa(double minimo, double maximo, bool alarga) {
    if (minimo > maximo) std::swap(minimo, maximo);
    if (!std::isfinite(minimo) || !std::isfinite(maximo)) return {0, 1};
    if (maximo == minimo) {
        const double d = minimo == 0 ? 0.1 : std::fabs(minimo) / 10;
        minimo -= d;
        maximo += d;
    } else if (alarga) {
        const double margem = (maximo - minimo) * kMargemFaixa;
        minimo -= margem;
        maximo += margem;
    }
    // The ends move out to the nearest half of the nice step of ten divisions.
    const double meio = PassoAgradavel(maximo - minimo, 10) / 2;
    if (!(meio > 0)) return {minimo, maximo};
    auto multiplo = [meio](double v, bool acima) {
        const double q = v / meio, r = std::round(q);
        if (std::fabs(q - r) < 1e-9 * std::max(1.0, std::fabs(q))) return r * meio;
        return (acima ? std::ceil(q) : std::floor(q)) * meio;
    };
    return {multiplo(minimo, false), multiplo(maximo, true)};
}

TFaixa FaixaDosValores(const std::vector<double> &valores, bool alarga) {
    double lo = 0, hi = 0;
    bool primeiro = true;
    for (double v : valores) {
        if (!std::isfinite(v)) continue;
        if (primeiro) lo = hi = v, primeiro = false;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    return RegraFaixa(lo, hi, alarga);
}

bool DentroDeUmPorCento(double a, double b) {
    if (a == 0 && b == 0) return true;
    const double d = a != 0 ? std::fabs(a) : std::fabs(b);
    return std::fabs(b - a) / d <= 0.01;
}

std::string TEscalaChart::Rotulo(double v) const {
    if (Formata) return Formata(v);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    std::string s = buf;
    std::replace(s.begin(), s.end(), '.', ',');
    if (s == "-0,00") s = "0,00";
    return s;
}

bool CalculaEscala(TEscalaChart &e, double minimo, double maximo) {
    if (e.Divisoes > 100) e.Divisoes = 100;
    if (e.Oculta) return false;
    if (e.PassoAutomatico) {
        if (e.Divisoes <= 0) return false;
        e.Passo = PassoAgradavel(maximo - minimo, e.Divisoes);
    }
    if (!(e.Passo > 0) || !std::isfinite(e.Passo)) return false;
    // Ticks fall on whole multiples of the step (so on zero when the range holds it).
    const double q = minimo / e.Passo, r = std::round(q);
    e.PrimeiroTique = (std::fabs(q - r) < 1e-9 * std::max(1.0, std::fabs(q)) ? r : std::ceil(q)) * e.Passo;
    return true;
}

std::vector<double> Tiques(const TEscalaChart &e, double minimo, double maximo) {
    std::vector<double> r;
    if (!(e.Passo > 0)) return r;
    // Ticks are the first tick plus whole steps (no running sum, so no drift); a tick within a
    // hundredth of a step of an end counts as on it.
    const double folga = e.Passo / 100;
    long k = 0;
    auto tique = [&](long i) { return e.PrimeiroTique + static_cast<double>(i) * e.Passo; };
    while (tique(k) < minimo - folga && k < 100000) ++k;
    const double quaseZero = (maximo - minimo) * 1e-10;
    for (; k < 100000; ++k) {
        double t = tique(k);
        if (t > maximo + folga) break;
        if (std::fabs(t) < quaseZero) t = 0;
        t = std::clamp(t, minimo, maximo);
        r.push_back(t);
        if (r.size() > 1000) break;
    }
    return r;
}

bool TemMarca(double t, double minimo, double maximo) { return t != minimo && t != maximo; }

bool TemGrade(double t, double minimo, double maximo) {
    const double perto = (maximo - minimo) / 100;
    return std::fabs(t - minimo) > perto && std::fabs(maximo - t) > perto;
}

double TMapeamento::EscalaX() const {
    return XMax == XMin ? 0 : (Largura - Esquerda - Direita - 1) / (XMax - XMin);
}
double TMapeamento::EscalaY() const {
    return YMax == YMin ? 0 : (Topo + Base - Altura + 1) / (YMax - YMin);
}
int TMapeamento::XPixel(double x) const {
    return static_cast<int>(std::lround((x - XMin) * EscalaX())) + Esquerda + 1;
}
int TMapeamento::YPixel(double y) const {
    return static_cast<int>(std::lround((y - YMin) * EscalaY() + Altura)) - Base - 1;
}
double TMapeamento::XDado(double px) const {
    const double s = EscalaX();
    return s == 0 ? XMin : XMin + (px - Esquerda - 1) / s;
}
double TMapeamento::YDado(double py) const {
    const double s = EscalaY();
    return s == 0 ? YMin : YMin + (py + Base + 1 - Altura) / s;
}

TMargens LayoutChart(const TMedidasTexto &m, bool rotulosX, bool rotulosY) {
    TMargens g;
    g.Topo = m.AlturaTitulo + 10;
    if (m.AlturaSubtitulo > 0) g.Topo += m.AlturaSubtitulo + 10;
    g.Base = m.AlturaTituloX + 21;
    g.Esquerda = m.AlturaTituloY + 10;
    g.Direita = m.AlturaTituloDireita + 10;
    if (rotulosY) g.Esquerda += m.LarguraRotuloY + 10;
    if (rotulosX) g.Base += m.AlturaAg + 10;
    g.Base += m.AlturaLegenda;
    g.Esquerda += m.Extra[0];
    g.Topo += m.Extra[1];
    g.Direita += m.Extra[2];
    g.Base += m.Extra[3];
    return g;
}

bool RotulosXAlternados(int divisoes, int larguraRotulo, int larguraPlot) {
    // Labels that touch read as one number ("0,000,13"): each keeps a gap after it.
    return divisoes * (larguraRotulo + kFolgaRotulosX) >= larguraPlot;
}

std::uint32_t PadraoTraco(int estilo) {
    switch (estilo) {
    case 1: return 0xFFF0FFF0u;
    case 2: return 0xF0F0F0F0u;
    case 3: return 0xFFFF0FF0u;
    default: return 0xFFFFFFFFu;
    }
}

bool BitDoPadrao(std::uint32_t padrao, std::size_t t) { return (padrao >> (31 - t % 32)) & 1u; }

std::vector<TSegmento> SegmentosCurva(const std::function<double(double)> &f, double de, double ate,
                                      int spanPixels, std::uint32_t padrao) {
    std::vector<TSegmento> r;
    const int n = std::max(spanPixels, 0) + 1;
    const double passo = (ate - de) / n;
    double xa = de, ya = f(de);
    for (int t = 0; t < n; ++t) {
        const double xb = de + (t + 1) * passo, yb = f(xb);
        if (BitDoPadrao(padrao, static_cast<std::size_t>(t)) && std::isfinite(ya) && std::isfinite(yb))
            r.push_back({xa, ya, xb, yb});
        xa = xb;
        ya = yb;
    }
    return r;
}

bool RecortaSegmento(TSegmento &s, TFaixa x, TFaixa y) {
    if (!std::isfinite(s.X1) || !std::isfinite(s.Y1) || !std::isfinite(s.X2) || !std::isfinite(s.Y2)) return false;
    // Liang-Barsky: the part t0 .. t1 of X1 + t·dx, Y1 + t·dy inside the four edges.
    const double dx = s.X2 - s.X1, dy = s.Y2 - s.Y1;
    double t0 = 0, t1 = 1;
    auto borda = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double r = q / p;
        if (p < 0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
        return true;
    };
    if (!borda(-dx, s.X1 - x.Minimo) || !borda(dx, x.Maximo - s.X1) || !borda(-dy, s.Y1 - y.Minimo) ||
        !borda(dy, y.Maximo - s.Y1))
        return false;
    const TSegmento o = s;
    if (t0 > 0) s.X1 = o.X1 + t0 * dx, s.Y1 = o.Y1 + t0 * dy;
    if (t1 < 1) s.X2 = o.X1 + t1 * dx, s.Y2 = o.Y1 + t1 * dy;
    return true;
}

bool DentroDaFaixa(double x, double y, TFaixa fx, TFaixa fy) {
    return x >= fx.Minimo && x <= fx.Maximo && y >= fy.Minimo && y <= fy.Maximo;
}

TRgb InterpolaCor(TRgb baixo, TRgb alto, double t) {
    if (!(t >= 0)) t = 0;
    if (t > 1) t = 1;
    auto canal = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return {canal(baixo.R, alto.R), canal(baixo.G, alto.G), canal(baixo.B, alto.B)};
}

double TMapaCores::Fracao(double v) const {
    return Maximo == Minimo ? 0 : (v - Minimo) / (Maximo - Minimo);
}

TMapaCores CalculaMapaCores(const std::function<double(double, double)> &f, TFaixa x, TFaixa y) {
    TMapaCores m;
    const int c = TMapaCores::Celulas;
    const double dx = (x.Maximo - x.Minimo) / c, dy = (y.Maximo - y.Minimo) / c;
    bool primeiro = true;
    for (int j = 0; j <= c; ++j)
        for (int i = 0; i <= c; ++i) {
            const double v = f(x.Minimo + i * dx, y.Minimo + j * dy);
            if (!std::isfinite(v)) continue;
            if (primeiro) m.Minimo = m.Maximo = v, primeiro = false;
            m.Minimo = std::min(m.Minimo, v);
            m.Maximo = std::max(m.Maximo, v);
        }
    m.Centros.resize(static_cast<std::size_t>(c * c));
    for (int j = 0; j < c; ++j)
        for (int i = 0; i < c; ++i)
            m.Centros[static_cast<std::size_t>(j * c + i)] =
                f(x.Minimo + (i + 0.5) * dx, y.Minimo + (j + 0.5) * dy);
    return m;
}

int RotulosLegenda(int larguraRotulo, int larguraPlot) {
    return 10 * larguraRotulo < larguraPlot ? 10 : 5;
}

TProjecao3D::TP TProjecao3D::Projeta(double x, double y, double z) const {
    const double rad = 3.14159265358979323846 / 180;
    const double az = AnguloZ * rad, ay = AnguloY * rad, ax = AnguloX * rad;
    const double x1 = x * std::cos(az) - y * std::sin(az), y1 = x * std::sin(az) + y * std::cos(az);
    const double x2 = x1 * std::cos(ay) + z * std::sin(ay), z2 = -x1 * std::sin(ay) + z * std::cos(ay);
    const double y3 = y1 * std::cos(ax) - z2 * std::sin(ax), z3 = y1 * std::sin(ax) + z2 * std::cos(ax);
    return {x2, z3, y3};
}

std::vector<TTrechoTexto> TrechosTexto(const std::string &texto) {
    std::vector<TTrechoTexto> v;
    auto junta = [&v](const std::string &t, bool sobrescrito) {
        if (t.empty()) return;
        if (!v.empty() && v.back().Sobrescrito == sobrescrito)
            v.back().Texto += t;
        else
            v.push_back({t, sobrescrito});
    };
    for (const TTrechoMarcacao &t : DivideMarcacao(texto)) switch (t.Tipo) {
        case TTrechoMarcacao::Simples: junta(t.Texto, false); break;
        case TTrechoMarcacao::Sobrescrito: junta(t.Texto, true); break;
        case TTrechoMarcacao::Potencia:
            junta(t.Texto + "x10", false);
            junta(t.Expoente, true);
            break;
        case TTrechoMarcacao::Infinito: junta("\xE2\x88\x9E", false); break;
        }
    return v;
}

} // namespace zelto
