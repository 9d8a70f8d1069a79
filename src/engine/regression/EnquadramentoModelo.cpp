// The numbers the grading reads from a fitted model: the extrapolation measures at the subject
// property, the significances of the t and F tests, the counts per category; and Enquadra, the
// whole grading of a model.
#include "common/Numeros.h"
#include "regression/Distribuicoes.h"
#include "regression/Enquadramento.h"
#include "worksheet/Gridzelto.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace zelto {

namespace {

std::size_t Regressores(const TSistema &s) {
    return s.m() > 0 ? s.m() - 1 : 0;
}

std::uint16_t GrausLiberdade(const TSistema &s) {
    const std::size_t gl = s.n() > s.m() ? s.n() - s.m() : 0;
    return static_cast<std::uint16_t>(std::min<std::size_t>(gl, UINT16_MAX));
}

bool Qualitativa(const TSistema &s, std::size_t k) {
    const TVariavel *v = s.Grid().Variavel(static_cast<int>(s.ColunaTermo(k)));
    return v && (v->Tipo == tvQualitativa || v->Tipo == tvDicotomica);
}

} // namespace

TIntervalo LimitesAmostrais(const TSistema &s, std::size_t k) {
    TIntervalo l;
    for (std::size_t i = 1; i <= s.n(); ++i) {
        const long double x = s.ValorBruto(k, i);
        if (i == 1 || x < l.Inferior) l.Inferior = x;
        if (i == 1 || x > l.Superior) l.Superior = x;
    }
    return l;
}

std::optional<TMedidasExtrapolacao> MedidasExtrapolacao(const TSistema &s) {
    if (s.m() < 2 || !s.ObjetoCompleto()) return std::nullopt;
    const TPonto ponto = s.PontoObjeto();
    const std::optional<long double> y = s.Estimativa(ponto);
    if (!y) return std::nullopt;
    // Ŷ against the estimate at a frontier.
    auto variacao = [&](const std::optional<long double> &fronteira) {
        if (!fronteira || *fronteira == 0) return Infinito;
        return *y / *fronteira - 1;
    };
    TMedidasExtrapolacao r;
    r.Estimativa = *y;
    TPonto conjunto = ponto;
    bool alguma = false;
    for (std::size_t k = 2; k <= s.m(); ++k) {
        TExtrapolacaoVariavel v;
        v.Termo = k;
        v.Nome = s.NomeTermo(k);
        v.Qualitativa = Qualitativa(s, k);
        const TIntervalo lim = LimitesAmostrais(s, k);
        v.Minimo = lim.Inferior;
        v.Maximo = lim.Superior;
        v.Valor = ponto[k];
        TPonto p = ponto;
        p[k] = v.Minimo;
        v.EstimativaNoMinimo = s.Estimativa(p);
        p[k] = v.Maximo;
        v.EstimativaNoMaximo = s.Estimativa(p);
        if (v.Abaixo()) {
            v.VariacaoFronteira = variacao(v.EstimativaNoMinimo);
            conjunto[k] = v.Minimo;
        } else if (v.Acima()) {
            v.VariacaoFronteira = variacao(v.EstimativaNoMaximo);
            conjunto[k] = v.Maximo;
        }
        alguma = alguma || v.Extrapola();
        r.Variaveis.push_back(std::move(v));
    }
    r.VariacaoConjunta = alguma ? variacao(s.Estimativa(conjunto)) : 0;
    return r;
}

long double SignificanciaMaximaRegressores(const TSistema &s) {
    if (Regressores(s) == 0) return Infinito;
    const std::uint16_t gl = GrausLiberdade(s);
    if (gl == 0) return Infinito;
    if (s.AjusteExato()) return 0;
    long double maior = 0;
    for (std::size_t k = 2; k <= s.m(); ++k) {
        const long double sd = s.ErroPadrao(k);
        if (sd == 0 || sd >= Infinito) continue; // t infinite: significance 0
        maior = std::max(maior, 2 * CaudaStudent(gl, std::fabs(s.Coeficiente(k) / sd)));
    }
    return maior;
}

long double SignificanciaModelo(const TSistema &s) {
    if (Regressores(s) == 0) return Infinito;
    const auto k = static_cast<std::uint16_t>(std::min<std::size_t>(Regressores(s), UINT16_MAX));
    return CaudaF(k, GrausLiberdade(s), s.F());
}

std::vector<TContagemCategoria> ContagensCategorias(const TSistema &s) {
    std::vector<TContagemCategoria> r;
    for (std::size_t k = 2; k <= s.m(); ++k) {
        if (!Qualitativa(s, k)) continue;
        std::map<long double, std::size_t> contagem;
        for (std::size_t i = 1; i <= s.n(); ++i)
            ++contagem[s.ValorBruto(k, i)];
        const int coluna = static_cast<int>(s.ColunaTermo(k));
        for (const auto &[valor, amostras] : contagem)
            r.push_back({s.NomeTermo(k), s.Grid().TextoDoValor(coluna, valor), valor, amostras});
    }
    return r;
}

TEnquadramento Enquadra(const TSistema &s, const TDeclaracoesEnquadramento &declaracoes,
                        const TTabelaEnquadramento &t) {
    TDadosFundamentacao d;
    d.n = s.n();
    d.k = Regressores(s);
    d.Caracterizacao = declaracoes.Caracterizacao;
    d.Identificacao = declaracoes.Identificacao;
    d.Extrapolacao = MedidasExtrapolacao(s);
    d.SignificanciaRegressores = SignificanciaMaximaRegressores(s);
    d.SignificanciaModelo = SignificanciaModelo(s);
    TEnquadramento e;
    e.Fundamentacao = GrauFundamentacao(d, t);
    const std::vector<TContagemCategoria> categorias = ContagensCategorias(s);
    e.Micronumerosidade = AvaliaMicronumerosidade(d.n, d.k, categorias, t);
    if (d.Extrapolacao) {
        const long double y = d.Extrapolacao->Estimativa;
        e.CampoArbitrio = CampoArbitrio(y, t);
        if (const auto iv = s.IntervaloMedia(s.PontoObjeto(), t.ConfiancaPrecisao)) {
            TPrecisao p;
            p.Estimativa = y;
            p.Intervalo = *iv;
            p.Amplitude = AmplitudeRelativa(*iv, y);
            p.Grau = GrauPrecisao(p.Amplitude, t);
            e.Precisao = p;
        }
    }
    return e;
}

} // namespace zelto
