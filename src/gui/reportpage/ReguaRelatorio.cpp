#include "gui/reportpage/ReguaRelatorio.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zelto {

TEscalaRegua EscalaRegua(double comprimentoMm, double margemInicioMm, double margemFimMm) {
    TEscalaRegua e;
    e.Inicio = -margemInicioMm / 10;
    e.Fim = (comprimentoMm - margemInicioMm) / 10;
    e.FimUtil = e.Fim - margemFimMm / 10;
    return e;
}

std::pair<int, int> MargensDaEscala(const TEscalaRegua &e) {
    return {static_cast<int>(std::lround(-e.Inicio * 10)),
            static_cast<int>(std::lround((e.Fim - e.FimUtil) * 10))};
}

double PixelsPorCm(int zoom, double dpi) { return zoom / 100.0 * dpi / 2.54; }

TReguaRelatorio::TReguaRelatorio(Qt::Orientation orientacao, QWidget *parent)
    : QWidget(parent), orientacao_(orientacao) {
    setObjectName(orientacao == Qt::Horizontal ? QStringLiteral("ReguaHorizontal")
                                               : QStringLiteral("ReguaVertical"));
    if (orientacao == Qt::Horizontal) setFixedHeight(Espessura);
    else setFixedWidth(Espessura);
    setMouseTracking(false);
    setCursor(orientacao == Qt::Horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor);
}

QSize TReguaRelatorio::sizeHint() const { return {Espessura, Espessura}; }

void TReguaRelatorio::Define(double comprimentoMm, double margemInicioMm, double margemFimMm,
                             int zoom, double dpi) {
    comprimento_ = comprimentoMm;
    margemInicio_ = margemInicioMm;
    margemFim_ = margemFimMm;
    escala_ = EscalaRegua(comprimentoMm, margemInicioMm, margemFimMm);
    pxcm_ = PixelsPorCm(zoom, dpi);
    update();
}

void TReguaRelatorio::Rola(int deslocamento) {
    deslocamento_ = deslocamento;
    update();
}

double TReguaRelatorio::PixelDe(double cm) const {
    return Espaco + (cm - escala_.Inicio) * pxcm_ - deslocamento_;
}

double TReguaRelatorio::CmDe(double pixel) const {
    return (pixel + deslocamento_ - Espaco) / pxcm_ + escala_.Inicio;
}

void TReguaRelatorio::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const bool h = orientacao_ == Qt::Horizontal;
    const int comprimento = h ? width() : height();
    p.fillRect(rect(), palette().window());
    // The scale: grey margins, white usable part.
    const double a = PixelDe(escala_.Inicio), b = PixelDe(escala_.Fim);
    const double u0 = PixelDe(0), u1 = PixelDe(escala_.FimUtil);
    auto faixa = [&](double de, double ate, const QColor &cor) {
        const QRectF r = h ? QRectF(de, 3, ate - de, Espessura - 6)
                           : QRectF(3, de, Espessura - 6, ate - de);
        p.fillRect(r, cor);
    };
    faixa(a, b, QColor(160, 160, 160));
    faixa(u0, u1, Qt::white);
    p.setPen(Qt::black);
    QFont f = font();
    f.setPixelSize(9);
    p.setFont(f);
    // Ticks every half centimetre, numbers every centimetre (every 2 when they crowd).
    const int passoNumero = pxcm_ < 20 ? 2 : 1;
    for (int meio = static_cast<int>(std::ceil(escala_.Inicio * 2));
         meio <= static_cast<int>(std::floor(escala_.Fim * 2)); ++meio) {
        const double x = PixelDe(meio / 2.0);
        if (x < -20 || x > comprimento + 20) continue;
        const bool inteiro = meio % 2 == 0;
        const int tam = inteiro ? 6 : 3;
        if (h) p.drawLine(QPointF(x, Espessura - 3 - tam), QPointF(x, Espessura - 3));
        else p.drawLine(QPointF(Espessura - 3 - tam, x), QPointF(Espessura - 3, x));
        const int cm = meio / 2;
        if (inteiro && cm != 0 && cm % passoNumero == 0) {
            const QString t = QString::number(std::abs(cm));
            if (h) p.drawText(QRectF(x - 10, 1, 20, 11), Qt::AlignCenter, t);
            else p.drawText(QRectF(0, x - 6, Espessura - 8, 12), Qt::AlignCenter, t);
        }
    }
    // The margin markers: small triangles at the start and at the end of the usable part.
    p.setBrush(QColor(0, 0, 128));
    for (double m : {u0, u1}) {
        QPolygonF tri;
        if (h) tri << QPointF(m - 4, Espessura) << QPointF(m + 4, Espessura) << QPointF(m, Espessura - 7);
        else tri << QPointF(Espessura, m - 4) << QPointF(Espessura, m + 4) << QPointF(Espessura - 7, m);
        p.drawPolygon(tri);
    }
}

double TReguaRelatorio::Posicao(QMouseEvent *e) const {
    return orientacao_ == Qt::Horizontal ? e->position().x() : e->position().y();
}

void TReguaRelatorio::MudaGuia(int g) {
    guia_ = g;
    if (GuiaMudou) GuiaMudou(g);
}

void TReguaRelatorio::mousePressEvent(QMouseEvent *e) {
    if (e->button() != Qt::LeftButton) return;
    const double x = Posicao(e);
    escalaArrasto_ = escala_;
    inicioArrasto_ = x;
    if (std::abs(x - PixelDe(0)) <= 5) arrasto_ = 1;
    else if (std::abs(x - PixelDe(escala_.FimUtil)) <= 5) arrasto_ = 2;
    else arrasto_ = 3;
    MudaGuia(static_cast<int>(std::lround(x + deslocamento_ - Espaco)));
}

void TReguaRelatorio::mouseMoveEvent(QMouseEvent *e) {
    if (arrasto_ == 0) return;
    const double x = Posicao(e);
    if (arrasto_ == 3) {
        MudaGuia(static_cast<int>(std::lround(x + deslocamento_ - Espaco)));
        return;
    }
    // Millimetre steps; the usable part keeps at least a centimetre.
    const double d = std::round((x - inicioArrasto_) / pxcm_ * 10) / 10;
    TEscalaRegua n = escalaArrasto_;
    const double comprimentoCm = comprimento_ / 10;
    if (arrasto_ == 1) {
        const double inicio = std::clamp(escalaArrasto_.Inicio - d, -(escalaArrasto_.FimUtil - escalaArrasto_.Inicio) + 1, 0.0);
        n.Inicio = inicio;
        n.Fim = inicio + comprimentoCm;
        n.FimUtil = n.Fim - (escalaArrasto_.Fim - escalaArrasto_.FimUtil);
    } else {
        n.FimUtil = std::clamp(escalaArrasto_.FimUtil + d, 1.0, escalaArrasto_.Fim);
    }
    escala_ = n;
    // The guide follows the marker, in page-image pixels.
    const double marcador = arrasto_ == 1 ? -n.Inicio : n.FimUtil - n.Inicio;
    MudaGuia(static_cast<int>(std::lround(marcador * pxcm_)));
    update();
}

void TReguaRelatorio::mouseReleaseEvent(QMouseEvent *e) {
    if (e->button() != Qt::LeftButton || arrasto_ == 0) return;
    const int tipo = arrasto_;
    arrasto_ = 0;
    MudaGuia(-1);
    if (tipo == 3) return;
    const auto antes = MargensDaEscala(escalaArrasto_);
    const auto depois = MargensDaEscala(escala_);
    if (antes != depois && MargensMudaram) MargensMudaram(depois.first, depois.second);
    else {
        escala_ = escalaArrasto_;
        update();
    }
}

} // namespace zelto
