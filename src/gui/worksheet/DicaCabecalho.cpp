#include "gui/worksheet/DicaCabecalho.h"

#include "common/Datas.h"
#include "common/Texto.h"

namespace zelto {

namespace {

std::string Decimais(const TVariavel &v) {
    std::string s = "Nº de decimais: " + std::to_string(v.CasasDecimais);
    if (v.PontosDeMilhar) s += " (usando pontos de milhar)";
    return s;
}

// The formula as the hint shows it: beyond 43 characters, its first 40 and "...".
std::string FormulaCurta(const std::string &f) {
    std::u32string cps = DecodificaUtf8(f);
    if (cps.size() <= 43) return f;
    return CodificaUtf8(cps.substr(0, 40)) + "...";
}

std::string CortaCaracteres(const std::string &s, std::size_t n) {
    std::u32string cps = DecodificaUtf8(s);
    if (cps.size() <= n) return s;
    return CodificaUtf8(cps.substr(0, n));
}

} // namespace

std::string DicaCabecalho(const TGridzelto &g, int c, bool modoInferencial) {
    if (c < 1 || c > g.ColunasUsadas()) return {};
    const TVariavel *v = g.Variavel(c);
    if (!v) return {};
    std::string s = "Variável: " + v->Nome + "\r\n" + "Tipo       : ";
    switch (v->Tipo) {
    case tvNumerica:
        s += "Numérica\r\n" + Decimais(*v);
        break;
    case tvQualitativa:
        s += std::string(modoInferencial ? "Qualitativa (" : "Tabela (") + v->Tabela + ")";
        break;
    case tvDicotomica:
        s += "Dicotômica (" + v->Tabela + ")";
        break;
    case tvCalculada:
        s += "Equação\r\n" + v->Nome + " = " + FormulaCurta(v->Equacao) + "\r\n" + Decimais(*v);
        break;
    case tvData:
        s += "Data\r\n   data de referência: " +
             TextoData(static_cast<long>(v->DataReferencia), v->TipoData);
        break;
    case tvComentario:
        s += "Texto";
        break;
    default:
        break;
    }
    s += "\r\n";
    if (v->Usada) {
        if (modoInferencial)
            s += v->Dependente ? "Variável Dependente" : "Variável Independente";
        else
            s += v->Dependente ? "Variável a Avaliar" : "Variável/Coeficiente de Homogeneização";
    } else {
        s += v->Tipo == tvComentario ? "(comentário)" : "(não usada na avaliação)";
    }
    return CortaCaracteres(s, 255);
}

} // namespace zelto
