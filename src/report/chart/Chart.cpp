#include "chart/Chart.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace zelto {

// ---- Building ------------------------------------------------------------------------------

void TChart::PlotPoint(const std::string &rotulo, double y, double x) {
    TElementoChart e;
    e.Tipo = TElementoChart::Ponto;
    e.X1 = x, e.Y1 = y, e.Rotulo = rotulo;
    Elementos.push_back(std::move(e));
}
void TChart::Line(double y2, double x2, double y1, double x1) {
    TElementoChart e;
    e.Tipo = TElementoChart::Linha;
    e.X1 = x1, e.Y1 = y1, e.X2 = x2, e.Y2 = y2;
    Elementos.push_back(std::move(e));
}
void TChart::Segment(double y2, double x2, double y1, double x1, TCaneta caneta) {
    Line(y2, x2, y1, x1);
    Elementos.back().Tipo = TElementoChart::Segmento;
    Elementos.back().Caneta = caneta;
}
void TChart::VerticalBar(double largura, double altura, double x, TCor cor) {
    TElementoChart e;
    e.Tipo = TElementoChart::BarraVertical;
    e.X1 = x, e.X2 = largura, e.Y2 = altura, e.Preenchimento = cor;
    Elementos.push_back(std::move(e));
}
void TChart::HorizontalBar(double espessura, double y, double comprimento, TCor cor) {
    TElementoChart e;
    e.Tipo = TElementoChart::BarraHorizontal;
    e.Y1 = y, e.Y2 = espessura, e.X2 = comprimento, e.Preenchimento = cor;
    Elementos.push_back(std::move(e));
}
void TChart::TextAt(const std::string &texto, double y, double x) {
    TElementoChart e;
    e.Tipo = TElementoChart::Texto;
    e.X1 = x, e.Y1 = y, e.Rotulo = texto;
    Elementos.push_back(std::move(e));
}
void TChart::Curve(std::function<double(double)> f, double de, double ate, bool canetaEscalaX) {
    TElementoChart e;
    e.Tipo = TElementoChart::Curva;
    e.X1 = de, e.X2 = ate, e.Funcao = std::move(f), e.CanetaEscalaX = canetaEscalaX;
    Elementos.push_back(std::move(e));
}

std::string TextoRotulo(const std::string &rotulo) {
    std::string s;
    for (const TTrechoTexto &t : TrechosTexto(rotulo)) s += t.Texto;
    return s;
}

// ---- Layout --------------------------------------------------------------------------------

namespace {

QString Q(const std::string &s) { return QString::fromStdString(s); }

// The chart is laid out in pixels of 96 per inch: every text is measured on an image of that
// resolution, whatever device it is painted on later.
QPaintDevice &Referencia() {
    static QImage imagem = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(3780);
        i.setDotsPerMeterY(3780);
        return i;
    }();
    return imagem;
}
QFontMetrics Metricas(const QFont &f) { return QFontMetrics(f, &Referencia()); }

// The font that draws, on the painter's device, text of the size the layout measured: the
// painter's transform maps chart pixels to device pixels, so the size in points is taken back
// by the device's resolution over 96.
QFont FonteDesenho(const QPainter &p, const QFont &f) {
    const int dpi = p.device() ? p.device()->logicalDpiY() : 96;
    if (dpi <= 0 || dpi == 96) return f;
    QFont d = f;
    d.setPointSizeF(f.pointSizeF() * 96.0 / dpi);
    return d;
}

int AlturaTexto(const TFonte &f, const std::string &s) {
    return s.empty() ? 0 : Metricas(f.ParaQFont()).height();
}
// A superscript: seven tenths of the size, raised by a third of the ascent.
QFont FonteSobrescrito(const QFont &f) {
    QFont s = f;
    s.setPointSizeF(f.pointSizeF() * 0.7);
    return s;
}

// The width of a text with its markup rendered.
int LarguraMarcada(const QFont &f, const std::string &s) {
    const QFontMetrics normal = Metricas(f), sobre = Metricas(FonteSobrescrito(f));
    int w = 0;
    for (const TTrechoTexto &t : TrechosTexto(s))
        w += (t.Sobrescrito ? sobre : normal).horizontalAdvance(Q(t.Texto));
    return w;
}

// Draws a text with its markup rendered, its baseline at (x, y), in the painter's pen.
void DesenhaMarcado(QPainter &p, const QFont &f, int x, int y, const std::string &s) {
    const QFont fs = FonteSobrescrito(f);
    const QFontMetrics normal = Metricas(f), sobre = Metricas(fs);
    const QFont df = FonteDesenho(p, f), dfs = FonteDesenho(p, fs);
    const int elevacao = normal.ascent() / 3;
    for (const TTrechoTexto &t : TrechosTexto(s)) {
        p.setFont(t.Sobrescrito ? dfs : df);
        p.drawText(x, t.Sobrescrito ? y - elevacao : y, Q(t.Texto));
        x += (t.Sobrescrito ? sobre : normal).horizontalAdvance(Q(t.Texto));
    }
    p.setFont(df);
}

int LarguraTexto(const TFonte &f, const std::string &s) { return LarguraMarcada(f.ParaQFont(), s); }

int LarguraMaxima(const TFonte &f, const TEscalaChart &e, const std::vector<double> &tiques) {
    int w = 0;
    for (double t : tiques) w = std::max(w, LarguraTexto(f, e.Rotulo(t)));
    return w;
}

int AlturaLegendaDe(const TChart &c) {
    if (!c.Mapa) return 0;
    return 14 + Metricas(c.FonteEscalaX.ParaQFont()).height() +
           Metricas(c.FonteLegendas.ParaQFont()).height() + 8;
}

} // namespace

TLayoutChart LayoutDe(const TChart &c) {
    TLayoutChart l;
    TFaixa x = c.X, y = c.Y;
    if (x.Minimo > x.Maximo) std::swap(x.Minimo, x.Maximo);
    if (y.Minimo > y.Maximo) std::swap(y.Minimo, y.Maximo);
    l.EscalaX = c.EscalaX;
    l.EscalaY = c.EscalaY;
    const bool tresD = static_cast<bool>(c.Superficie);
    l.VisivelY = !tresD && CalculaEscala(l.EscalaY, y.Minimo, y.Maximo);
    l.VisivelX = !tresD && CalculaEscala(l.EscalaX, x.Minimo, x.Maximo);
    if (l.VisivelY) l.TiquesY = Tiques(l.EscalaY, y.Minimo, y.Maximo);
    if (l.VisivelX) l.TiquesX = Tiques(l.EscalaX, x.Minimo, x.Maximo);

    TMedidasTexto m;
    m.AlturaTitulo = AlturaTexto(c.FonteTitulo, c.Titulo);
    m.AlturaSubtitulo = AlturaTexto(c.FonteLegendas, c.Subtitulo);
    // A surface names its axes beside its own edges: no axis titles around the plot.
    m.AlturaTituloX = tresD ? 0 : AlturaTexto(c.FonteLegendas, c.TituloX);
    m.AlturaTituloY = tresD ? 0 : AlturaTexto(c.FonteLegendas, c.TituloY);
    m.AlturaTituloDireita = AlturaTexto(c.FonteLegendas, c.TituloDireita);
    m.AlturaAg = Metricas(c.FonteEscalaX.ParaQFont()).height();
    m.LarguraRotuloY = LarguraMaxima(c.FonteEscalaY, l.EscalaY, l.TiquesY);
    m.LarguraRotuloX = LarguraMaxima(c.FonteEscalaX, l.EscalaX, l.TiquesX);
    l.AlturaLegenda = AlturaLegendaDe(c);
    m.AlturaLegenda = l.AlturaLegenda;
    std::copy(std::begin(c.Extra), std::end(c.Extra), std::begin(m.Extra));
    const bool rotX = l.VisivelX && l.EscalaX.Rotulos, rotY = l.VisivelY && l.EscalaY.Rotulos;
    const TMargens g = LayoutChart(m, rotX, rotY);

    l.Mapa.Largura = c.Largura;
    l.Mapa.Altura = c.Altura;
    l.Mapa.Esquerda = g.Esquerda;
    l.Mapa.Direita = g.Direita;
    l.Mapa.Topo = g.Topo;
    l.Mapa.Base = g.Base;
    l.Mapa.XMin = x.Minimo, l.Mapa.XMax = x.Maximo;
    l.Mapa.YMin = y.Minimo, l.Mapa.YMax = y.Maximo;
    const int larguraPlot = l.Mapa.PlotDireita() - l.Mapa.PlotEsquerda();
    l.XAlternado = RotulosXAlternados(static_cast<int>(l.TiquesX.size()), m.LarguraRotuloX, larguraPlot);
    return l;
}

// ---- Painting ------------------------------------------------------------------------------

namespace {

// Painting in two colours (a monochrome chart painted as vectors): every colour becomes black
// or white by its grey, as the two-colour picture takes it.
thread_local bool tlMonocromatico = false;

QColor QC(TCor c) {
    if (!tlMonocromatico) return ParaQColor(c);
    return qGray(Vermelho(c), Verde(c), Azul(c)) < 128 ? QColor(Qt::black) : QColor(Qt::white);
}
QColor QC(const QColor &c) { return tlMonocromatico ? QC(DeQColor(c)) : c; }

QPen Caneta(const TCaneta &k) {
    static const Qt::PenStyle estilos[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                           Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
    QPen p(QC(k.Cor));
    p.setWidth(std::max(0, k.Largura));
    p.setStyle(k.Estilo >= 0 && k.Estilo <= 5 ? estilos[k.Estilo] : Qt::SolidLine);
    return p;
}

void TextoCentrado(QPainter &p, const TFonte &f, const std::string &s, int cx, int topo) {
    if (s.empty()) return;
    const QFont q = f.ParaQFont();
    p.setPen(QC(f.Cor));
    DesenhaMarcado(p, q, cx - LarguraMarcada(q, s) / 2, topo + Metricas(q).ascent(), s);
}

// Text rotated by `graus` (90: reading upwards, 270: reading downwards), centred vertically
// on cy, the top of its letters on the line x: reading upwards the letters lie right of x,
// reading downwards left of it.
void TextoVertical(QPainter &p, const TFonte &f, const std::string &s, int x, int cy, int graus) {
    if (s.empty()) return;
    p.save();
    const QFont q = f.ParaQFont();
    p.setPen(QC(f.Cor));
    p.translate(x, cy);
    p.rotate(graus == 90 ? -90 : 90);
    DesenhaMarcado(p, q, -LarguraMarcada(q, s) / 2, Metricas(q).ascent(), s);
    p.restore();
}

void PintaEscalas(QPainter &p, const TChart &c, const TLayoutChart &l) {
    const TMapeamento &m = l.Mapa;
    QPen grade(QC(c.CorGrade));
    if (l.VisivelY) {
        const TEscalaChart &e = l.EscalaY;
        QPen gp = grade;
        gp.setStyle(Caneta({c.CorGrade, 1, e.EstiloGrade}).style());
        const QFont fonte = c.FonteEscalaY.ParaQFont();
        const QFontMetrics fm = Metricas(fonte);
        for (double t : l.TiquesY) {
            const int py = m.YPixel(t);
            if (e.Grade && TemGrade(t, m.YMin, m.YMax)) {
                QPen g = gp;
                if (t == 0) g.setStyle(Qt::SolidLine);
                p.setPen(g);
                p.drawLine(m.PlotEsquerda() + 1, py, m.PlotDireita() - 1, py);
            }
            if (e.Marcas && TemMarca(t, m.YMin, m.YMax)) {
                p.setPen(QC(CorPreta));
                p.drawLine(m.PlotEsquerda() - 3, py, m.PlotEsquerda() - 1, py);
            }
            if (e.Rotulos) {
                p.setPen(QC(c.FonteEscalaY.Cor));
                const std::string s = e.Rotulo(t);
                DesenhaMarcado(p, fonte, m.PlotEsquerda() - 6 - LarguraMarcada(fonte, s),
                               py + (fm.ascent() - fm.descent()) / 2, s);
            }
        }
    }
    if (l.VisivelX) {
        const TEscalaChart &e = l.EscalaX;
        QPen gp = grade;
        gp.setStyle(Caneta({c.CorGrade, 1, e.EstiloGrade}).style());
        const QFont fonte = c.FonteEscalaX.ParaQFont();
        const QFontMetrics fm = Metricas(fonte);
        int k = 0;
        for (double t : l.TiquesX) {
            const int px = m.XPixel(t);
            if (e.Grade && TemGrade(t, m.XMin, m.XMax)) {
                QPen g = gp;
                if (t == 0) g.setStyle(Qt::SolidLine);
                p.setPen(g);
                p.drawLine(px, m.PlotTopo() + 1, px, m.PlotBase() - 1);
            }
            const bool este = !l.XAlternado || k % 2 == 0;
            ++k;
            if (!este) continue;
            if (e.Marcas && TemMarca(t, m.XMin, m.XMax)) {
                p.setPen(QC(CorPreta));
                p.drawLine(px, m.PlotBase() + 1, px, m.PlotBase() + 3);
            }
            if (e.Rotulos) {
                p.setPen(QC(c.FonteEscalaX.Cor));
                const std::string s = e.Rotulo(t);
                DesenhaMarcado(p, fonte, px - LarguraMarcada(fonte, s) / 2, m.PlotBase() + 10 + fm.ascent(), s);
            }
        }
    }
}

void PintaMarcador(QPainter &p, const TChart &c, int px, int py) {
    p.setPen(QC(CorPreta));
    p.setBrush(QC(c.CorMarcador));
    switch (c.Marcador) {
    case mcQuadrado: p.drawRect(px - 3, py - 3, 6, 6); break;
    case mcTriangulo: {
        const std::array<QPoint, 3> t{QPoint(px, py - 3), QPoint(px + 3, py + 3), QPoint(px - 3, py + 3)};
        p.drawPolygon(t.data(), 3);
        break;
    }
    case mcNenhum: break;
    default:
        // A PDF keeps the circle as its four curves, filled and outlined in one path: the
        // smallest and exact way to write it.
        if (p.worldTransform().isScaling() &&
            !(p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Pdf)) {
            // Drawn finer than its layout: the outline and the inside as two filled polygons of
            // 24 sides, which a painter fills far faster than it strokes the curves of an
            // ellipse, and which no eye tells from a circle at a marker's size.
            const auto circulo = [](double raio) {
                QPolygonF c;
                for (int k = 0; k < 24; ++k)
                    c << QPointF(raio * std::cos(k * M_PI / 12), raio * std::sin(k * M_PI / 12));
                return c;
            };
            static const QPolygonF fora = circulo(3.5), dentro = circulo(2.5);
            p.setPen(Qt::NoPen);
            p.setBrush(QC(CorPreta));
            p.drawPolygon(fora.translated(px, py));
            p.setBrush(QC(c.CorMarcador));
            p.drawPolygon(dentro.translated(px, py));
        } else {
            p.drawEllipse(QPoint(px, py), 3, 3);
        }
        if (c.Marcador == mcEsfera) {
            p.setPen(Qt::white);
            p.drawLine(px - 1, py - 2, px + 1, py - 2);
        }
    }
    p.setBrush(Qt::NoBrush);
}

void PintaMapa(QPainter &p, const TChart &c, const TLayoutChart &l) {
    const TMapeamento &m = l.Mapa;
    const TMapaCores mc = CalculaMapaCores(c.Mapa, c.X, c.Y);
    const TRgb lo{Vermelho(c.CorMinimo), Verde(c.CorMinimo), Azul(c.CorMinimo)};
    const TRgb hi{Vermelho(c.CorMaximo), Verde(c.CorMaximo), Azul(c.CorMaximo)};
    const int n = TMapaCores::Celulas;
    const double dx = (c.X.Maximo - c.X.Minimo) / n, dy = (c.Y.Maximo - c.Y.Minimo) / n;
    p.setPen(Qt::NoPen);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const TRgb k = InterpolaCor(lo, hi, mc.Fracao(mc.Centros[static_cast<std::size_t>(j * n + i)]));
            const int x1 = m.XPixel(c.X.Minimo + i * dx), x2 = m.XPixel(c.X.Minimo + (i + 1) * dx);
            const int y1 = m.YPixel(c.Y.Minimo + (j + 1) * dy), y2 = m.YPixel(c.Y.Minimo + j * dy);
            p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), QC(QColor(k.R, k.G, k.B)));
        }
    // The legend: 20 colour steps under the plot, its title and the labels.
    p.setClipping(false);
    const int esquerda = m.PlotEsquerda(), largura = m.PlotDireita() - m.PlotEsquerda();
    const int topo = m.Altura - c.Extra[3] - l.AlturaLegenda + 4;
    const QFontMetrics ft = Metricas(c.FonteLegendas.ParaQFont());
    TextoCentrado(p, c.FonteLegendas, c.TituloLegenda + " :", esquerda + largura / 2, topo);
    const int barra = topo + ft.height() + 2;
    for (int s = 0; s < n; ++s) {
        const TRgb k = InterpolaCor(lo, hi, (s + 0.5) / n);
        p.fillRect(QRect(esquerda + s * largura / n, barra, largura / n + 1, 10), QC(QColor(k.R, k.G, k.B)));
    }
    auto formata = [&](double v) {
        return c.FormataLegenda ? c.FormataLegenda(v) : c.EscalaX.Rotulo(v);
    };
    const int wr = std::max(LarguraTexto(c.FonteEscalaX, formata(mc.Minimo)),
                            LarguraTexto(c.FonteEscalaX, formata(mc.Maximo)));
    const int rotulos = RotulosLegenda(wr, largura);
    for (int r = 0; r < rotulos; ++r) {
        const double f = rotulos == 1 ? 0 : static_cast<double>(r) / (rotulos - 1);
        TextoCentrado(p, c.FonteEscalaX, formata(mc.Minimo + f * (mc.Maximo - mc.Minimo)),
                      esquerda + static_cast<int>(std::lround(f * largura)), barra + 12);
    }
}

void PintaSuperficie(QPainter &p, const TChart &c, const TLayoutChart &l) {
    const TMapeamento &m = l.Mapa;
    const int n = std::max(2, c.Malha);
    const double dx = (c.X.Maximo - c.X.Minimo) / n, dy = (c.Y.Maximo - c.Y.Minimo) / n;
    std::vector<double> z(static_cast<std::size_t>((n + 1) * (n + 1)));
    double zmin = 0, zmax = 0;
    bool primeiro = true;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            const double v = c.Superficie(c.X.Minimo + i * dx, c.Y.Minimo + j * dy);
            z[static_cast<std::size_t>(j * (n + 1) + i)] = v;
            if (!std::isfinite(v)) continue;
            if (primeiro) zmin = zmax = v, primeiro = false;
            zmin = std::min(zmin, v), zmax = std::max(zmax, v);
        }
    const double zr = zmax > zmin ? zmax - zmin : 1;
    // The unit box fills the plot: the projected corners of the box set the scale.
    auto unit = [&](int i, int j, double v) {
        return c.Projecao.Projeta(static_cast<double>(i) / n - 0.5, static_cast<double>(j) / n - 0.5,
                                  (v - zmin) / zr - 0.5);
    };
    double sx0 = 1e9, sx1 = -1e9, sy0 = 1e9, sy1 = -1e9;
    for (int a = 0; a < 8; ++a) {
        const auto q = c.Projecao.Projeta((a & 1) - 0.5, ((a >> 1) & 1) - 0.5, ((a >> 2) & 1) - 0.5);
        sx0 = std::min(sx0, q.X), sx1 = std::max(sx1, q.X), sy0 = std::min(sy0, q.Y), sy1 = std::max(sy1, q.Y);
    }
    const double w = m.PlotDireita() - m.PlotEsquerda() - 20, h = m.PlotBase() - m.PlotTopo() - 20;
    const double esc = std::min(w / (sx1 - sx0), h / (sy1 - sy0));
    const double cx = (m.PlotEsquerda() + m.PlotDireita()) / 2.0, cy = (m.PlotTopo() + m.PlotBase()) / 2.0;
    auto tela = [&](const TProjecao3D::TP &q) {
        return QPointF(cx + (q.X - (sx0 + sx1) / 2) * esc, cy - (q.Y - (sy0 + sy1) / 2) * esc);
    };
    // The box's floor edges, then the quads far to near.
    p.setPen(QC(c.CorGrade));
    const std::array<std::array<int, 2>, 4> canto{{{0, 0}, {n, 0}, {n, n}, {0, n}}};
    for (int a = 0; a < 4; ++a) {
        const auto &u = canto[static_cast<std::size_t>(a)], &v = canto[static_cast<std::size_t>((a + 1) % 4)];
        p.drawLine(tela(unit(u[0], u[1], zmin)), tela(unit(v[0], v[1], zmin)));
    }
    struct TQuad {
        double Profundidade;
        std::array<QPointF, 4> P;
        double Media;
    };
    std::vector<TQuad> quads;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const std::array<std::array<int, 2>, 4> v{{{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}}};
            TQuad q{0, {}, 0};
            bool ok = true;
            for (int a = 0; a < 4; ++a) {
                const double zv = z[static_cast<std::size_t>(v[static_cast<std::size_t>(a)][1] * (n + 1) +
                                                             v[static_cast<std::size_t>(a)][0])];
                ok = ok && std::isfinite(zv);
                const auto pr = unit(v[static_cast<std::size_t>(a)][0], v[static_cast<std::size_t>(a)][1], zv);
                q.P[static_cast<std::size_t>(a)] = tela(pr);
                q.Profundidade += pr.Profundidade / 4;
                q.Media += zv / 4;
            }
            if (ok) quads.push_back(q);
        }
    std::sort(quads.begin(), quads.end(),
              [](const TQuad &a, const TQuad &b) { return a.Profundidade > b.Profundidade; });
    const TRgb lo{Vermelho(c.CorMinimo), Verde(c.CorMinimo), Azul(c.CorMinimo)};
    const TRgb hi{Vermelho(c.CorMaximo), Verde(c.CorMaximo), Azul(c.CorMaximo)};
    p.setPen(QPen(QC(QColor(40, 40, 40)), 0));
    for (const TQuad &q : quads) {
        const TRgb k = InterpolaCor(lo, hi, (q.Media - zmin) / zr);
        p.setBrush(QC(QColor(k.R, k.G, k.B)));
        p.drawPolygon(q.P.data(), 4);
    }
    p.setBrush(Qt::NoBrush);
    // Axis names beside the middle of their floor edges, pushed away from the floor's centre,
    // and the estimate's name above the vertical edge at the first corner; each is kept whole
    // inside the plot.
    const QPointF centro = tela(unit(n / 2, n / 2, zmin));
    auto rotulo = [&](const TFonte &f, const std::string &s, QPointF ancora, bool paraFora) {
        if (s.empty()) return;
        const QFont q = f.ParaQFont();
        const QFontMetrics fm = Metricas(q);
        const int largura = LarguraMarcada(q, s), altura = fm.height();
        if (paraFora) {
            const QPointF d = ancora - centro;
            const double len = std::hypot(d.x(), d.y());
            if (len > 0) ancora += d / len * (altura + 2);
        }
        const double x0 = m.PlotEsquerda() + 2 + largura / 2.0, x1 = m.PlotDireita() - 2 - largura / 2.0;
        const double y0 = m.PlotTopo() + 2 + altura / 2.0, y1 = m.PlotBase() - 2 - altura / 2.0;
        const int cxr = static_cast<int>(x0 <= x1 ? std::clamp(ancora.x(), x0, x1) : ancora.x());
        const int cyr = static_cast<int>(y0 <= y1 ? std::clamp(ancora.y(), y0, y1) : ancora.y());
        TextoCentrado(p, f, s, cxr, cyr - altura / 2);
    };
    p.setPen(QC(c.CorGrade));
    p.drawLine(tela(unit(0, 0, zmin)), tela(unit(0, 0, zmax)));
    rotulo(c.FonteEscalaX, c.TituloX, tela(unit(n / 2, 0, zmin)), true);
    rotulo(c.FonteEscalaY, c.TituloY, tela(unit(0, n / 2, zmin)), true);
    rotulo(c.FonteLegendas, c.TituloZ, tela(unit(0, 0, zmax)) - QPointF(0, 12), false);
}

// The box that drawn things are cut to: the chart's ranges (an empty range cuts nothing, its
// values all map to the edge).
TFaixa Corte(TFaixa f) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    return f.Maximo > f.Minimo ? f : TFaixa{-inf, inf};
}

double Limita(double v, TFaixa f) { return std::clamp(v, f.Minimo, f.Maximo); }

void PintaElementos(QPainter &p, const TChart &c, const TLayoutChart &l) {
    const TMapeamento &m = l.Mapa;
    const QPen referencia = Caneta(c.CanetaReferencia);
    const QFont fonteRotulo = c.FonteRotulos.ParaQFont();
    const QFontMetrics fr = Metricas(fonteRotulo);
    const QFont desenhoRotulo = FonteDesenho(p, fonteRotulo);
    // Whatever lies outside the ranges (a manual range may leave samples out) is cut in data
    // units before it is mapped: points and texts outside are not drawn, lines and bars are
    // cut at the edges.
    const TFaixa fx = Corte(c.X), fy = Corte(c.Y);
    auto linha = [&](TSegmento s) {
        if (RecortaSegmento(s, fx, fy)) p.drawLine(m.XPixel(s.X1), m.YPixel(s.Y1), m.XPixel(s.X2), m.YPixel(s.Y2));
    };
    for (const TElementoChart &e : c.Elementos) {
        switch (e.Tipo) {
        case TElementoChart::Ponto: {
            if (!DentroDaFaixa(e.X1, e.Y1, fx, fy)) break;
            const int px = m.XPixel(e.X1), py = m.YPixel(e.Y1);
            PintaMarcador(p, c, px, py);
            if (c.Numeracao && !e.Rotulo.empty()) {
                p.setFont(desenhoRotulo);
                p.setPen(QC(c.FonteRotulos.Cor));
                const QString s = Q(e.Rotulo);
                const int w = fr.horizontalAdvance(s);
                if (c.Marcador == mcNenhum)
                    p.drawText(px - w / 2, py + (fr.ascent() - fr.descent()) / 2, s);
                else
                    p.drawText(px - 3 - w, py - 3 - fr.descent(), s);
            }
            break;
        }
        case TElementoChart::Linha:
        case TElementoChart::Segmento:
            p.setPen(e.Tipo == TElementoChart::Linha ? referencia : Caneta(e.Caneta));
            linha({e.X1, e.Y1, e.X2, e.Y2});
            break;
        case TElementoChart::BarraVertical: {
            const double a = e.X1 - e.X2 / 2, b = e.X1 + e.X2 / 2;
            if (!(b >= fx.Minimo && a <= fx.Maximo && e.Y2 >= fy.Minimo)) break;
            const int x1 = m.XPixel(Limita(a, fx)), x2 = m.XPixel(Limita(b, fx));
            const QRect r(QPoint(x1, m.YPixel(Limita(e.Y2, fy))), QPoint(x2, m.YPixel(m.YMin)));
            p.fillRect(r, QC(e.Preenchimento));
            p.setPen(QC(CorPreta));
            p.drawRect(r);
            break;
        }
        case TElementoChart::BarraHorizontal: {
            const double a = e.Y1 - e.Y2 / 2, b = e.Y1 + e.Y2 / 2;
            if (!(b >= fy.Minimo && a <= fy.Maximo && e.X2 >= fx.Minimo)) break;
            const int y1 = m.YPixel(Limita(b, fy)), y2 = m.YPixel(Limita(a, fy));
            const QRect r(QPoint(m.XPixel(m.XMin), y1), QPoint(m.XPixel(Limita(e.X2, fx)), y2));
            p.fillRect(r, QC(e.Preenchimento));
            p.setPen(QC(CorPreta));
            p.drawRect(r);
            break;
        }
        case TElementoChart::Texto: {
            if (!DentroDaFaixa(e.X1, e.Y1, fx, fy)) break;
            p.setFont(desenhoRotulo);
            p.setPen(QC(c.FonteRotulos.Cor));
            const QString s = Q(e.Rotulo);
            // Centred on its point, but moved sideways to stay whole inside the plot: the value
            // of a short bar near the edge would otherwise lose its first digits.
            const int largura = fr.horizontalAdvance(s);
            int x = m.XPixel(e.X1) - largura / 2;
            const int menor = m.PlotEsquerda() + 2, maior = m.PlotDireita() - 2 - largura;
            if (menor <= maior) x = std::clamp(x, menor, maior);
            p.drawText(x, m.YPixel(e.Y1) + (fr.ascent() - fr.descent()) / 2, s);
            break;
        }
        case TElementoChart::Curva: {
            // Sampled over the part of its span that the X range shows.
            const double de = std::max(std::min(e.X1, e.X2), fx.Minimo), ate = std::min(std::max(e.X1, e.X2), fx.Maximo);
            if (!(de <= ate)) break;
            const int span = std::abs(m.XPixel(ate) - m.XPixel(de));
            TCaneta k = c.CanetaReferencia;
            if (e.CanetaEscalaX) k = {c.FonteEscalaX.Cor, 1, 0};
            const QPen caneta = Caneta({k.Cor, k.Largura, 0});
            p.setPen(caneta);
            for (const TSegmento &s : SegmentosCurva(e.Funcao, de, ate, span, PadraoTraco(k.Estilo))) linha(s);
            break;
        }
        }
    }
}

} // namespace

void PintaChart(QPainter &p, const TChart &c, bool monocromatico) {
    const TLayoutChart l = LayoutDe(c);
    const bool antes = std::exchange(tlMonocromatico, monocromatico);
    const TMapeamento &m = l.Mapa;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRect(0, 0, c.Largura, c.Altura);
    p.fillRect(0, 0, c.Largura, c.Altura, QC(c.FundoLegendas));
    const QRect plot(QPoint(m.PlotEsquerda(), m.PlotTopo()), QPoint(m.PlotDireita(), m.PlotBase()));
    p.fillRect(plot, QC(c.FundoChart));
    p.setPen(Caneta(c.Moldura));
    p.drawRect(plot);

    const QFontMetrics ft = Metricas(c.FonteTitulo.ParaQFont());
    const int meio = c.Largura / 2;
    TextoCentrado(p, c.FonteTitulo, c.Titulo, meio, 10);
    TextoCentrado(p, c.FonteLegendas, c.Subtitulo, meio, ft.height() + 20);
    const QFontMetrics fl = Metricas(c.FonteLegendas.ParaQFont());
    const int meioY = (m.PlotTopo() + m.PlotBase()) / 2;
    if (!c.Superficie) {
        TextoCentrado(p, c.FonteLegendas, c.TituloX, (m.PlotEsquerda() + m.PlotDireita()) / 2,
                      c.Altura - c.Extra[3] - l.AlturaLegenda - 30 + (30 - fl.height()) / 2);
        TextoVertical(p, c.FonteLegendas, c.TituloY, c.Extra[0] + 5, meioY, 90);
    }
    TextoVertical(p, c.FonteLegendas, c.TituloDireita, c.Largura - 5, meioY, 270);
    PintaEscalas(p, c, l);

    p.setClipRect(plot.adjusted(1, 1, -1, -1));
    if (c.Superficie)
        PintaSuperficie(p, c, l);
    else if (c.Mapa)
        PintaMapa(p, c, l);
    p.setClipRect(plot.adjusted(1, 1, -1, -1));
    PintaElementos(p, c, l);
    p.restore();
    tlMonocromatico = antes;
}

QImage ImagemChart(const TChart &c, int cores, double dpi) {
    const double escala = dpi > 0 ? dpi / 96.0 : 1.0;
    QImage img(std::max(1, static_cast<int>(std::lround(c.Largura * escala))),
               std::max(1, static_cast<int>(std::lround(c.Altura * escala))), QImage::Format_RGB32);
    const int pontosPorMetro = static_cast<int>(std::lround(96.0 * escala / 0.0254));
    img.setDotsPerMeterX(pontosPorMetro);
    img.setDotsPerMeterY(pontosPorMetro);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.scale(escala, escala);
        PintaChart(p, c);
    }
    if (cores == 2) return img.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither | Qt::AvoidDither);
    return img;
}

} // namespace zelto
