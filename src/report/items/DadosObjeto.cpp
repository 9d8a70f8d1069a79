#include "items/DadosObjeto.h"

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
    return Apara(TextoObjetoColuna(g, coluna));
}

bool ObjetoTemValor(const TGridzelto &g, int coluna) {
    return !TextoObjetoVariavel(g, coluna).empty();
}

std::string TextoValorColuna(const TGridzelto &g, int coluna, long double x) {
    const TVariavel *v = g.Variavel(coluna);
    if (!v) return {};
    if (v->Tipo == tvNumerica || v->Tipo == tvCalculada) return TextoValorVariavel(g, coluna, x);
    return g.TextoDoValor(coluna, x);
}

} // namespace zelto
