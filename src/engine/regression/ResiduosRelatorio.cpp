#include "regression/ResiduosRelatorio.h"

#include "common/Numeros.h"
#include "regression/Distribuicoes.h"
#include "regression/Sistema.h"
#include "regression/Transformacoes.h"
#include "worksheet/Gridzelto.h"

#include <algorithm>
#include <cmath>

namespace zelto {

long double QuantilNormal(long double p) {
    if (std::isnan(p)) return Infinito;
    if (p <= 0) return -Infinito;
    if (p >= 1) return Infinito;
    long double z = InversaNormal(p);
    const long double raiz2 = std::sqrt(2.0L),
                      raiz2pi = std::sqrt(2 * 3.14159265358979323846264338327950288L);
    for (int passo = 0; passo < 4; ++passo) {
        const long double phi = std::exp(-z * z / 2) / raiz2pi;
        if (!(phi > 0)) break;
        z -= (std::erfc(-z / raiz2) / 2 - p) / phi;
    }
    return z;
}

TSequencias TesteSequencias(std::span<const long double> residuos, long double alfa) {
    TSequencias t;
    const long double z = QuantilNormal(alfa);
    t.ZCritico = std::fabs(z) >= Infinito ? Infinito : std::fabs(z);
    bool anterior = false;
    for (std::size_t i = 0; i < residuos.size(); ++i) {
        const bool positivo = residuos[i] >= 0;
        positivo ? ++t.Positivos : ++t.Negativos;
        if (i == 0 || positivo != anterior) ++t.Sequencias;
        anterior = positivo;
    }
    const long double n = static_cast<long double>(residuos.size());
    t.MediaSinais = n / 2;
    t.DesvioSinais = std::sqrt(n) / 2;
    if (residuos.empty()) return t;
    const long double P = static_cast<long double>(t.Positivos),
                      N = static_cast<long double>(t.Negativos);
    t.Media = 2 * P * N / n + 1;
    const long double v = n > 1 ? (t.Media - 1) * (t.Media - 2) / (n - 1) : 0;
    t.Desvio = v > 0 ? std::sqrt(v) : 0;
    if (t.Desvio != 0) {
        const long double R = static_cast<long double>(t.Sequencias);
        t.ZInferior = (R - 0.5L - t.Media) / t.Desvio;
        t.ZSuperior = (R + 0.5L - t.Media) / t.Desvio;
    }
    t.ZSinais = std::fabs(P - n / 2) / t.DesvioSinais;
    return t;
}

std::optional<long double> ErroPadronizadoLinha(const TSistema &s, int linha, bool inferencial) {
    if (s.m() == 0 || s.n() == 0) return std::nullopt;
    if (s.AjusteExato()) return 0.0L;
    const long double s2 = s.VarianciaResidual();
    if (!(s2 > 0) || s2 >= Infinito) return std::nullopt;
    const TGridzelto &g = s.Grid();
    TPonto ponto(s.m() + 1, 0);
    for (std::size_t k = 1; k <= s.m(); ++k)
        ponto[k] = g.ValorCelula(static_cast<int>(s.ColunaTermo(k)), linha);
    const TValorTransformado y = FuncaoTransformacao(s.CodigoTermo(1), ponto[1]);
    if (y.Erro != 0) return std::nullopt;
    long double e = y.Valor - s.MediaResiduos();
    if (inferencial) {
        const auto estimado = s.EstimativaModelo(ponto);
        if (!estimado) return std::nullopt;
        e -= *estimado;
    }
    const long double r = e / std::sqrt(s2);
    if (!std::isfinite(r) || std::fabs(r) >= Infinito) return std::nullopt;
    return r;
}

TResumoBruto ResumoBruto(const TSistema &s, std::size_t k) {
    TResumoBruto r;
    const std::size_t n = s.n();
    const long double nn = static_cast<long double>(n);
    long double soma = 0, quadrados = 0;
    r.Minimo = n ? s.ValorBruto(k, 1) : 0;
    r.Maximo = r.Minimo;
    for (std::size_t i = 1; i <= n; ++i) {
        const long double x = s.ValorBruto(k, i);
        soma += x;
        quadrados += x * x;
        r.Minimo = std::min(r.Minimo, x);
        r.Maximo = std::max(r.Maximo, x);
    }
    r.Media = n ? soma / nn : 0;
    r.Desvio = n > 1 ? std::sqrt(std::fabs(nn * quadrados - soma * soma) / (nn * (nn - 1))) : Infinito;
    return r;
}

std::optional<long double> CoeficienteVariacao(long double media, long double desvio) {
    if (media == 0 || !std::isfinite(media) || !std::isfinite(desvio) || std::fabs(media) >= Infinito ||
        std::fabs(desvio) >= Infinito)
        return std::nullopt;
    const long double cv = std::fabs(100 * desvio / media);
    if (!std::isfinite(cv)) return std::nullopt;
    return cv;
}

} // namespace zelto
