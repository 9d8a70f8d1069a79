#include "gui/mainwindow/TextosEstado.h"

#include "common/Texto.h"

#include <filesystem>

namespace zelto {

std::string TextoEstadoPlanilha(bool modificada) {
    return modificada ? "Modificado" : kSemValor;
}

std::string TextoLinhas(int n) {
    if (n <= 0) return kSemValor;
    return n == 1 ? "1 linha" : std::to_string(n) + " linhas";
}

std::string TextoColunas(int n) {
    if (n <= 0) return kSemValor;
    return n == 1 ? "1 coluna" : std::to_string(n) + " colunas";
}

std::string TextoAbaPlanilha(const std::string &arquivo) {
    std::string nome = std::filesystem::path(arquivo).filename().string();
    std::u32string cps = DecodificaUtf8(Maiusculas(nome));
    if (cps.size() > 80) cps.resize(80);
    return CodificaUtf8(cps);
}

std::string TextoPosicao(const TGridzelto &g, int c, int r) {
    const char *m = "|";
    if (r > g.LinhasUsadas())
        m = "•";
    else if (r >= 1 && r < g.RowCount() && g.Desconsiderada(r))
        m = "–";
    std::string s = std::string(m) + " " + g.Celula(0, r);
    if (const TVariavel *v = g.Variavel(c))
        s += std::string(" ") + m + " " + v->Nome;
    else
        s += " •" + g.Celula(c, 0) + "•";
    return s;
}

} // namespace zelto
