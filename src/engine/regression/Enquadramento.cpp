// The grading rules over plain numbers. The numbers of a fitted model are gathered in
// EnquadramentoModelo.cpp.
#include "regression/Enquadramento.h"

#include "common/Numeros.h"

#include <algorithm>
#include <cmath>

namespace zelto {

namespace {

// The highest grade whose limit x stays under (at most the limit, up to the folga).
TGrau GrauAteLimite(long double x, const TLimitesGrau &l) {
    if (std::isnan(x)) return TGrau::Nenhum;
    if (x <= l.III + FolgaEnquadramento) return TGrau::III;
    if (x <= l.II + FolgaEnquadramento) return TGrau::II;
    if (x <= l.I + FolgaEnquadramento) return TGrau::I;
    return TGrau::Nenhum;
}

// Infinito, its negative or NaN.
bool Infinita(long double x) {
    return !(std::fabs(x) < Infinito);
}

} // namespace

std::string TextoGrau(TGrau g) {
    switch (g) {
    case TGrau::III:
        return "III";
    case TGrau::II:
        return "II";
    case TGrau::I:
        return "I";
    default:
        return "sem enquadramento";
    }
}

unsigned PontosGrau(TGrau g, const TTabelaEnquadramento &t) {
    const auto i = static_cast<std::size_t>(g);
    return i >= 1 && i <= 3 ? t.Pontos[i - 1] : 0;
}

TGrau GrauQuantidadeDados(std::size_t n, std::size_t k, const TTabelaEnquadramento &t) {
    const auto base = static_cast<long double>(k + 1);
    const auto nn = static_cast<long double>(n);
    if (nn >= t.MultiploDados.III * base) return TGrau::III;
    if (nn >= t.MultiploDados.II * base) return TGrau::II;
    if (nn >= t.MultiploDados.I * base) return TGrau::I;
    return TGrau::Nenhum;
}

TGrau GrauSignificanciaRegressores(long double significancia, const TTabelaEnquadramento &t) {
    return GrauAteLimite(significancia, t.SignificanciaRegressores);
}

TGrau GrauSignificanciaModelo(long double significancia, const TTabelaEnquadramento &t) {
    return GrauAteLimite(significancia, t.SignificanciaModelo);
}

bool TExtrapolacaoVariavel::DentroDasMedidas(const TTabelaEnquadramento &t) const {
    if (!Extrapola()) return true;
    if (Qualitativa) return false;
    return Acima() ? Valor <= t.MultiploMaximo * Maximo : Valor >= t.MultiploMinimo * Minimo;
}

TAvaliacaoExtrapolacao AvaliaExtrapolacao(const TMedidasExtrapolacao &medidas,
                                          const TTabelaEnquadramento &t) {
    TAvaliacaoExtrapolacao a;
    for (const TExtrapolacaoVariavel &v : medidas.Variaveis) {
        if (!v.Extrapola()) continue;
        ++a.Extrapolando;
        a.DentroDasMedidas = a.DentroDasMedidas && v.DentroDasMedidas(t);
        const long double x =
            Infinita(v.VariacaoFronteira) ? Infinito : std::fabs(v.VariacaoFronteira);
        a.MaiorVariacao = std::max(a.MaiorVariacao, x);
    }
    if (a.Extrapolando == 0) {
        a.Grau = TGrau::III;
        return a;
    }
    a.VariacaoConjunta =
        Infinita(medidas.VariacaoConjunta) ? Infinito : std::fabs(medidas.VariacaoConjunta);
    if (!a.DentroDasMedidas) return a;
    if (a.Extrapolando <= t.ExtrapolandoII &&
        a.MaiorVariacao <= t.VariacaoFronteiraII + FolgaEnquadramento &&
        a.VariacaoConjunta <= t.VariacaoFronteiraII + FolgaEnquadramento)
        a.Grau = TGrau::II;
    else if (a.MaiorVariacao <= t.VariacaoFronteiraI + FolgaEnquadramento &&
             a.VariacaoConjunta <= t.VariacaoFronteiraI + FolgaEnquadramento)
        a.Grau = TGrau::I;
    return a;
}

TGrau GrauGeral(const std::array<TGrau, 6> &graus, const TTabelaEnquadramento &t) {
    unsigned pontos = 0;
    for (TGrau g : graus)
        pontos += PontosGrau(g, t);
    for (const TRegraGrauGeral &r : t.Geral) {
        if (r.Grau == TGrau::Nenhum || pontos < r.PontosMinimos) continue;
        bool atende = true;
        for (std::size_t c = 0; c < graus.size(); ++c)
            atende =
                atende && graus[c] >= (t.Obrigatorio[c] ? r.MinimoObrigatorios : r.MinimoDemais);
        if (atende) return r.Grau;
    }
    return TGrau::Nenhum;
}

TFundamentacao GrauFundamentacao(const TDadosFundamentacao &d, const TTabelaEnquadramento &t) {
    TFundamentacao f;
    auto define = [&](int numero, TGrau g, long double valor) {
        TCriterioFundamentacao &c = f.Criterios[static_cast<std::size_t>(numero) - 1];
        c.Numero = numero;
        c.Grau = g;
        c.Pontos = PontosGrau(g, t);
        c.Valor = valor;
    };
    define(1, d.Caracterizacao.value_or(TGrau::I), 0);
    f.Criterios[0].Declarado = d.Caracterizacao.has_value();
    define(2, GrauQuantidadeDados(d.n, d.k, t), static_cast<long double>(d.n));
    define(3, d.Identificacao.value_or(TGrau::I), 0);
    f.Criterios[2].Declarado = d.Identificacao.has_value();
    if (d.Extrapolacao) {
        f.Extrapolacao = AvaliaExtrapolacao(*d.Extrapolacao, t);
        define(4, f.Extrapolacao.Grau,
               std::max(f.Extrapolacao.MaiorVariacao, f.Extrapolacao.VariacaoConjunta));
    } else {
        define(4, TGrau::Nenhum, 0);
        f.Criterios[3].Avaliado = false;
    }
    define(5, GrauSignificanciaRegressores(d.SignificanciaRegressores, t),
           d.SignificanciaRegressores);
    define(6, GrauSignificanciaModelo(d.SignificanciaModelo, t), d.SignificanciaModelo);
    for (const TCriterioFundamentacao &c : f.Criterios)
        f.Pontos += c.Pontos;
    if (d.Extrapolacao) {
        std::array<TGrau, 6> graus{};
        for (std::size_t c = 0; c < 6; ++c)
            graus[c] = f.Criterios[c].Grau;
        f.Grau = GrauGeral(graus, t);
    }
    return f;
}

long double AmplitudeRelativa(const TIntervalo &intervalo, long double estimativa) {
    if (estimativa == 0 || Infinita(intervalo.Inferior) || Infinita(intervalo.Superior))
        return Infinito;
    return (intervalo.Superior - intervalo.Inferior) / std::fabs(estimativa);
}

TGrau GrauPrecisao(long double amplitude, const TTabelaEnquadramento &t) {
    return GrauAteLimite(amplitude, t.AmplitudePrecisao);
}

std::size_t MinimoPorCategoria(std::size_t n, const TTabelaEnquadramento &t) {
    if (n <= t.LimitePequena) return t.AmostrasCategoriaPequena;
    if (n <= t.LimiteMedia) return (t.PercentualCategoria * n + 99) / 100;
    return t.AmostrasCategoriaGrande;
}

TMicronumerosidade AvaliaMicronumerosidade(std::size_t n, std::size_t k,
                                           std::span<const TContagemCategoria> categorias,
                                           const TTabelaEnquadramento &t) {
    TMicronumerosidade m;
    m.n = n;
    m.k = k;
    m.MinimoDados = t.MultiploMicronumerosidade * (k + 1);
    m.MinimoCategoria = MinimoPorCategoria(n, t);
    m.Categorias = categorias.size();
    for (const TContagemCategoria &c : categorias)
        if (c.Amostras < m.MinimoCategoria) m.Falhas.push_back(c);
    return m;
}

TIntervalo CampoArbitrio(long double estimativa, const TTabelaEnquadramento &t) {
    return {estimativa * (1 - t.CampoArbitrio), estimativa * (1 + t.CampoArbitrio)};
}

} // namespace zelto
