// The look of the worksheet grid: font, colours and row height, as the
// settings file keeps them (section "FntPlan", keys "GrC", "GrFC",
// "AltLnPlan"), converted to and from Qt's types.
//
// Colours in the settings file are 32-bit values 0x00BBGGRR.
#pragma once

#include "files/ConfiguracaoGeral.h"
#include "worksheet/Gridzelto.h"

#include <QColor>
#include <QFont>

namespace zelto {

struct TAparenciaPlanilha {
    QFont Fonte;
    QColor CorFonte{Qt::black};
    QColor CorCelula{Qt::white};           // "GrC"
    QColor CorFixa{QColor(240, 240, 240)}; // "GrFC": the fixed row and column
    int AlturaLinha = kAlturaLinhaPadrao;  // data rows, pixels

    static TAparenciaPlanilha DeConfiguracao(const TConfiguracaoGeral &cfg);
    // Writes the look back into the settings record (font, colours, row height).
    void ParaConfiguracao(TConfiguracaoGeral &cfg) const;
    // What the block copy in Rich Text Format needs to know.
    TAparenciaGrade ParaGrade(int pixelsPorPolegada) const;
};

QColor CorDeIni(int bgr);
int CorParaIni(const QColor &c);

} // namespace zelto
