// Zoom of the report page: the levels the tool bar offers, the steps of zoom in and out, and
// the fits of the page width and of the whole page. Every result lies in 25..200 percent.
//
// The level is kept in the program's settings, section "Geral", key "ZRl" (the report page
// reads and writes it).
#pragma once

#include <QString>
#include <QStringList>

namespace zelto {

inline constexpr int kZoomMinimo = 25;
inline constexpr int kZoomMaximo = 200;
inline constexpr int kPassoZoom = 20;
inline constexpr const char *kSecaoZoom = "Geral";
inline constexpr const char *kChaveZoom = "ZRl";
inline constexpr const char *kLarguraDaPagina = "Largura da página";
inline constexpr const char *kPaginaInteira = "Página Inteira";

// The entries of the level box, as shown.
QStringList NiveisZoom();
int LimitaZoom(int zoom);
int ZoomMais(int zoom);  // + 20, at most 200
int ZoomMenos(int zoom); // - 20, at least 25
// The text of the level box for a zoom: the number and " %".
QString TextoZoom(int zoom);

// What the report page knows for a fit: the visible area of its scroll box (screen pixels),
// the resolutions of the printer and of the screen, and the paper in printer pixels.
struct TAreaZoom {
    int LarguraVisivel = 0, AlturaVisivel = 0;
    double DpiImpressoraX = 96, DpiImpressoraY = 96;
    double DpiTelaX = 96, DpiTelaY = 96;
    double LarguraPapel = 0, AlturaPapel = 0; // printer pixels
};
// round((visible width - 50) x 100 x (printer ppi / screen ppi) / paper width), limited.
int ZoomLarguraPagina(const TAreaZoom &a);
// The smaller of the width fit and the height fit (visible height - 45 over the paper's
// height), limited.
int ZoomPaginaInteira(const TAreaZoom &a);
// The zoom a text of the level box asks for: the two fits by name, else its digits (none:
// 100), limited.
int LeZoom(const QString &texto, const TAreaZoom &a);

} // namespace zelto
