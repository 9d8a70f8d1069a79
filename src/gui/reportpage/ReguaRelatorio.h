// The rulers of the report page: a horizontal and a vertical scale in centimetres over the
// page image, with a marker at each margin.
//
// A ruler runs from -(first margin)/10 cm to (page length - first margin)/10 cm, so 0 lies at
// the start of the text area; its usable part ends (second margin)/10 cm before the end. It is
// drawn at the zoom's scale and shifted by the page's scroll position (it follows the image).
// Pressing the left button shows a guide line across the page (the page draws it from
// Guia()); dragging a marker moves the margin and the line with it; releasing removes the
// line and, when a margin moved, reports the new margins in whole millimetres.
#pragma once

#include <QWidget>

#include <functional>

namespace zelto {

// The scale of a ruler in centimetres: where it starts, where it ends, where its usable part
// ends.
struct TEscalaRegua {
    double Inicio = 0, Fim = 0, FimUtil = 0;
};
TEscalaRegua EscalaRegua(double comprimentoMm, double margemInicioMm, double margemFimMm);
// The margins (mm) a scale stands for: round(-start x 10) and round((end - usable end) x 10).
std::pair<int, int> MargensDaEscala(const TEscalaRegua &e);
// Screen pixels per centimetre at a zoom (percent) and a resolution (pixels per inch).
double PixelsPorCm(int zoom, double dpi);

class TReguaRelatorio : public QWidget {
    Q_OBJECT
  public:
    static constexpr int Espessura = 22; // pixels across the ruler
    static constexpr int Espaco = 10;    // pixels kept before the scale (the page's border)

    TReguaRelatorio(Qt::Orientation orientacao, QWidget *parent = nullptr);

    // The page length and margins (mm), the zoom and the screen resolution.
    void Define(double comprimentoMm, double margemInicioMm, double margemFimMm, int zoom,
                double dpi);
    // The scroll position of the page image (pixels): the ruler follows it.
    void Rola(int deslocamento);

    TEscalaRegua Escala() const { return escala_; }
    double PixelsCm() const { return pxcm_; }
    // The ruler pixel of a scale value (cm), and back.
    double PixelDe(double cm) const;
    double CmDe(double pixel) const;
    // The guide line (pixel of the page image along the ruler), -1 when none.
    int Guia() const { return guia_; }

    // The guide line moved (-1: removed), in page-image pixels along the ruler.
    std::function<void(int)> GuiaMudou;
    // A drag changed the margins (mm).
    std::function<void(int inicio, int fim)> MargensMudaram;

  protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    QSize sizeHint() const override;

  private:
    double Posicao(QMouseEvent *e) const; // along the ruler, widget pixels
    void MudaGuia(int g);

    Qt::Orientation orientacao_;
    double comprimento_ = 210, margemInicio_ = 25, margemFim_ = 17;
    TEscalaRegua escala_;
    double pxcm_ = 37.8;
    int deslocamento_ = 0;
    int guia_ = -1;
    int arrasto_ = 0; // 0 none, 1 first marker, 2 second marker, 3 only the guide
    double inicioArrasto_ = 0;
    TEscalaRegua escalaArrasto_;
};

} // namespace zelto
