// A paint device that records what is drawn on it, in the painter's own units (the view's
// twips): the texts with their baseline position, the lines, the filled rectangles and the
// images. The view tests read the layout from it: where each word landed, which borders were
// drawn, where a picture went.
#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QTransform>

#include <vector>

namespace zelto::teste {

struct TTextoDesenhado {
    QString Texto;
    QPointF Base; // baseline start
    double Largura = 0;
    QPointF BaseDispositivo; // baseline start in device pixels (through the painter's transform)
};

class TMotorRegistro : public QPaintEngine {
  public:
    std::vector<TTextoDesenhado> Textos;
    std::vector<QLineF> Linhas;
    std::vector<QRectF> Retangulos;
    std::vector<QRectF> Imagens;

    TMotorRegistro() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    QTransform Transformacao;
    void updateState(const QPaintEngineState &e) override {
        if (e.state() & QPaintEngine::DirtyTransform) Transformacao = e.transform();
    }
    Type type() const override { return QPaintEngine::User; }
    void drawPixmap(const QRectF &r, const QPixmap &, const QRectF &) override { Imagens.push_back(r); }
    void drawImage(const QRectF &r, const QImage &, const QRectF &, Qt::ImageConversionFlags) override {
        Imagens.push_back(r);
    }
    void drawTextItem(const QPointF &p, const QTextItem &t) override {
        Textos.push_back({t.text(), p, t.width(), Transformacao.map(p)});
    }
    void drawLines(const QLineF *linhas, int n) override {
        for (int i = 0; i < n; ++i) Linhas.push_back(linhas[i]);
    }
    void drawRects(const QRectF *r, int n) override {
        for (int i = 0; i < n; ++i) Retangulos.push_back(r[i]);
    }
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath &) override {}
    void Limpa() {
        Textos.clear();
        Linhas.clear();
        Retangulos.clear();
        Imagens.clear();
    }
};

// An A4 page at 96 pixels per inch.
class TDispositivoRegistro : public QPaintDevice {
  public:
    mutable TMotorRegistro Motor;
    QPaintEngine *paintEngine() const override { return &Motor; }

  protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth: return 794;
        case PdmHeight: return 1123;
        case PdmWidthMM: return 210;
        case PdmHeightMM: return 297;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmNumColors: return INT_MAX;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return 0;
        }
    }
};

} // namespace zelto::teste
