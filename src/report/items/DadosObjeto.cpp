#include "items/DadosObjeto.h"
#include "writer/TextoLiteral.h"

#include "common/Texto.h"
#include "evaluation/DadosPlanilha.h"
#include "search/ObjetoAvaliacao.h"
#include "worksheet/Gridzelto.h"

namespace zelto {

namespace {

TNomeObjeto Nome(const TIdentificacaoObjeto::Nome &n) {
    return {n.Texto, n.Unidade, n.Genero == 1, n.PosicaoUnidade == 1};
}

} // namespace

std::string TDescricaoObjeto::ComArtigo() const {
    if (Objeto.Texto.empty()) return "o objeto";
    return std::string(Objeto.Feminino ? "a " : "o ") + Objeto.Texto;
}

std::string TDescricaoObjeto::Contraido() const {
    return "d" + ComArtigo();
}

std::string TDescricaoObjeto::ComUnidade(const std::string &numero) const {
    if (Objeto.Unidade.empty()) return numero;
    return Objeto.UnidadeDepois ? numero + " " + Objeto.Unidade : Objeto.Unidade + " " + numero;
}

TDescricaoObjeto DescricaoObjeto(const TGridzelto &g) {
    const TIdentificacaoObjeto &id = g.IdentificacaoObjeto;
    TDescricaoObjeto d;
    d.Objeto = Nome(id.Objeto);
    d.Caracteristica = Nome(id.Caracteristica);
    d.ValorFinal = Nome(id.ValorAvaliado);
    d.Multiplicador = id.Multiplicador;
    return d;
}

std::string TextoObjetoVariavel(const TGridzelto &g, int coluna) {
    const std::string texto = Apara(TextoObjetoColuna(g, coluna));
    const TVariavel *v = g.Variavel(coluna);
    // A value the column converts is written as the worksheet writes that column's cells
    // ("20.000", "Sim"); a comment, or a text the column does not take, as it was typed.
    if (texto.empty() || !v || v->Tipo == tvComentario || !RecusaValorObjeto(g, coluna, texto).empty())
        return Literal(texto);
    return TextoValorColuna(g, coluna, ValorObjetoColuna(g, coluna));
}

bool ObjetoTemValor(const TGridzelto &g, int coluna) {
    return !Apara(TextoObjetoColuna(g, coluna)).empty();
}

std::string TextoValorColuna(const TGridzelto &g, int coluna, long double x) {
    const TVariavel *v = g.Variavel(coluna);
    if (!v) return {};
    if (v->Tipo == tvNumerica || v->Tipo == tvCalculada) return TextoValorVariavel(g, coluna, x);
    const std::string texto = g.TextoDoValor(coluna, x);
    // A dichotomous variable without labels of its own reads "Sim" / "Não".
    if (v->Tipo == tvDicotomica && Apara(texto).empty()) return x >= 1 ? "Sim" : "Não";
    return texto;
}

} // namespace zelto
