#include "gui/worksheet/AparenciaPlanilha.h"

namespace zelto {

QColor CorDeIni(int bgr) {
    auto u = static_cast<unsigned>(bgr);
    return QColor(static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF),
                  static_cast<int>((u >> 16) & 0xFF));
}

int CorParaIni(const QColor &c) {
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

TAparenciaPlanilha TAparenciaPlanilha::DeConfiguracao(const TConfiguracaoGeral &cfg) {
    TAparenciaPlanilha a;
    const TFonteIni &f = cfg.FontePlanilha;
    a.Fonte = QFont(QString::fromStdString(f.Nome));
    a.Fonte.setPointSize(f.Tamanho > 0 ? f.Tamanho : 10);
    a.Fonte.setBold(f.Negrito);
    a.Fonte.setItalic(f.Italico);
    a.Fonte.setUnderline(f.Sublinhado);
    a.Fonte.setStrikeOut(f.Riscado);
    a.CorFonte = CorDeIni(static_cast<int>(f.Cor));
    a.CorCelula = CorDeIni(cfg.CorGrade);
    a.CorFixa = CorDeIni(cfg.CorFixa);
    a.AlturaLinha = cfg.AlturaLinha > 4 ? cfg.AlturaLinha : kAlturaLinhaPadrao;
    return a;
}

void TAparenciaPlanilha::ParaConfiguracao(TConfiguracaoGeral &cfg) const {
    TFonteIni &f = cfg.FontePlanilha;
    f.Nome = Fonte.family().toStdString();
    f.Tamanho = static_cast<std::int16_t>(Fonte.pointSize() > 0 ? Fonte.pointSize() : 10);
    f.Negrito = Fonte.bold();
    f.Italico = Fonte.italic();
    f.Sublinhado = Fonte.underline();
    f.Riscado = Fonte.strikeOut();
    f.Cor = static_cast<std::uint32_t>(CorParaIni(CorFonte));
    cfg.CorGrade = CorParaIni(CorCelula);
    cfg.CorFixa = CorParaIni(CorFixa);
    cfg.AlturaLinha = AlturaLinha;
}

TAparenciaGrade TAparenciaPlanilha::ParaGrade(int pixelsPorPolegada) const {
    TAparenciaGrade g;
    g.Fonte = Fonte.family().toStdString();
    g.TamanhoFonte = Fonte.pointSize() > 0 ? Fonte.pointSize() : 10;
    g.Negrito = Fonte.bold();
    g.Italico = Fonte.italic();
    g.Sublinhado = Fonte.underline();
    g.Riscado = Fonte.strikeOut();
    g.CorFonte = {CorFonte.red(), CorFonte.green(), CorFonte.blue()};
    g.CorCelula = {CorCelula.red(), CorCelula.green(), CorCelula.blue()};
    g.CorCabecalho = {CorFixa.red(), CorFixa.green(), CorFixa.blue()};
    g.LarguraLinhaGrade = 1;
    g.PixelsPorPolegada = pixelsPorPolegada > 0 ? pixelsPorPolegada : 96;
    return g;
}

} // namespace zelto
