#include "view/ZoomRelatorio.h"

#include <algorithm>
#include <cmath>

namespace zelto {

QStringList NiveisZoom() {
    return {QStringLiteral("  25 % "), QStringLiteral("  40 %"), QStringLiteral("  50 %"),
            QStringLiteral("  80 %"),  QStringLiteral("100 %"),  QString::fromUtf8(kLarguraDaPagina),
            QString::fromUtf8(kPaginaInteira)};
}

int LimitaZoom(int zoom) { return std::clamp(zoom, kZoomMinimo, kZoomMaximo); }

int ZoomMais(int zoom) { return LimitaZoom(zoom + kPassoZoom); }

int ZoomMenos(int zoom) { return LimitaZoom(zoom - kPassoZoom); }

QString TextoZoom(int zoom) { return QString::number(zoom) + QStringLiteral(" %"); }

namespace {

// round((visible - margin) x 100 x (printer ppi / screen ppi) / paper); a paper of no size
// gives 100.
long Ajuste(int visivel, int margem, double dpiImpressora, double dpiTela, double papel) {
    if (papel <= 0 || dpiTela <= 0) return 100;
    return std::lround((visivel - margem) * 100.0 * (dpiImpressora / dpiTela) / papel);
}

} // namespace

int ZoomLarguraPagina(const TAreaZoom &a) {
    return LimitaZoom(static_cast<int>(
        Ajuste(a.LarguraVisivel, 50, a.DpiImpressoraX, a.DpiTelaX, a.LarguraPapel)));
}

int ZoomPaginaInteira(const TAreaZoom &a) {
    const long largura = Ajuste(a.LarguraVisivel, 50, a.DpiImpressoraX, a.DpiTelaX, a.LarguraPapel);
    const long altura = Ajuste(a.AlturaVisivel, 45, a.DpiImpressoraY, a.DpiTelaY, a.AlturaPapel);
    return LimitaZoom(static_cast<int>(std::min(largura, altura)));
}

int LeZoom(const QString &texto, const TAreaZoom &a) {
    const QString t = texto.trimmed();
    if (t == QString::fromUtf8(kLarguraDaPagina)) return ZoomLarguraPagina(a);
    if (t == QString::fromUtf8(kPaginaInteira)) return ZoomPaginaInteira(a);
    QString digitos;
    for (QChar c : t)
        if (c.isDigit()) digitos += c;
    if (digitos.isEmpty() || digitos.size() > 6) return digitos.isEmpty() ? 100 : kZoomMaximo;
    return LimitaZoom(digitos.toInt());
}

} // namespace zelto
