#include "writer/TiposEscrita.h"

#include <algorithm>
#include <cmath>

namespace zelto {

QColor ParaQColor(TCor c) { return QColor(Vermelho(c), Verde(c), Azul(c)); }

TCor DeQColor(const QColor &c) { return Cor(c.red(), c.green(), c.blue()); }

int ParaTwips(double valor, TUnidade unidade) {
    double fator = 1;
    switch (unidade) {
    case TUnidade::Milimetros: fator = 56.69291338582677; break;
    case TUnidade::Centimetros: fator = 566.9291338582677; break;
    case TUnidade::Polegadas: fator = 1440; break;
    case TUnidade::Twips: fator = 1; break;
    }
    return static_cast<int>(std::lround(valor * fator));
}

QFont TFonte::ParaQFont() const {
    // The report names the faces of its origin; the metric-compatible faces installed with the
    // program stand in for them, so text measures the same on every machine.
    QString face = Nome;
    if (face.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        face = QStringLiteral("Liberation Sans");
    else if (face.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0)
        face = QStringLiteral("Liberation Serif");
    else if (face.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0)
        face = QStringLiteral("Liberation Mono");
    QFont f(face);
    f.setPointSize(std::max(1, Tamanho));
    f.setBold(Negrito);
    f.setItalic(Italico);
    f.setUnderline(Sublinhado);
    f.setStrikeOut(Riscado);
    return f;
}

} // namespace zelto
