#include "regression/TestesResiduos.h"

#include "regression/Distribuicoes.h"
#include "regression/TabelasCriticas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelto {

int NivelPercentual(long double alfa) {
    const long double p = std::trunc(100 * alfa + 1e-9L);
    if (!(p > -1e6L && p < 1e6L)) // out of any sensible range, or NaN
        return -1;
    return static_cast<int>(p);
}

long double DistanciaKS(std::span<const long double> padronizados) {
    std::vector<long double> z(padronizados.begin(), padronizados.end());
    // NaN (never expected) goes last instead of breaking the ordering.
    std::sort(z.begin(), z.end(), [](long double a, long double b) {
        return a < b || (std::isnan(b) && !std::isnan(a));
    });
    const long double n = static_cast<long double>(z.size());
    long double d = 0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        const long double f = DistribuicaoNormal(z[i]);
        d = std::max({d, std::fabs(f - i / n), std::fabs(f - (i + 1) / n)});
    }
    return d;
}

bool TesteNormalidade(long double R, std::span<const long double> padronizados, long double alfa) {
    if (std::fabs(R) > 0.9999L || padronizados.empty()) return false;
    const auto n = static_cast<unsigned>(padronizados.size());
    return DistanciaKS(padronizados) < CriticoKS(NivelPercentual(alfa), n);
}

long double EstatisticaDW(std::span<const long double> residuos) {
    long double numerador = 0, denominador = 0;
    for (std::size_t i = 0; i < residuos.size(); ++i) {
        denominador += residuos[i] * residuos[i];
        if (i > 0) {
            const long double d = residuos[i] - residuos[i - 1];
            numerador += d * d;
        }
    }
    return denominador == 0 ? 1 : numerador / denominador;
}

int ClassificaDW(long double d, unsigned n, unsigned kLinha, long double alfa) {
    const long double dL = LimiteBaixoDW(n, kLinha, alfa);
    const long double dU = LimiteAltoDW(n, kLinha, alfa);
    if (d <= dL) return 1;
    if (d >= 4 - dL) return -1;
    if ((dL < d && d < dU) || (4 - dU < d && d < 4 - dL)) return 2;
    return 0;
}

int TesteAutocorrelacao(std::span<const long double> residuos, unsigned m, long double alfa) {
    if (m <= 1) return 2;
    return ClassificaDW(EstatisticaDW(residuos), static_cast<unsigned>(residuos.size()), m - 1,
                        alfa);
}

long double LimiteOutlier(int criterio, long double parametro, long double s, long double media,
                          std::size_t n) {
    const auto amostras = static_cast<unsigned>(n);
    switch (criterio) {
    case coDesvioPadrao:
        return parametro * s;
    case coMedia:
        return parametro * media / 100;
    case coChauvenet:
        return ValorChauvenet(amostras) * s;
    case coArley:
        return ValorArley(amostras, parametro) * s;
    default:
        return 0;
    }
}

TCriterioAplicado CriterioAplicado(int criterio, long double parametro, bool inferencial) {
    if (inferencial && criterio == coMedia) return {coDesvioPadrao, kFatorDesvioPadrao, true};
    return {criterio, parametro, false};
}

std::size_t NumeroOutliers(std::span<const long double> residuos, long double media, long double s,
                           int criterio, long double parametro) {
    const long double limite = LimiteOutlier(criterio, parametro, s, media, residuos.size());
    return static_cast<std::size_t>(
        std::count_if(residuos.begin(), residuos.end(),
                      [&](long double e) { return std::fabs(e - media) > limite; }));
}

std::optional<std::size_t> MaiorOutlier(std::span<const long double> residuos, long double media,
                                        long double limite) {
    std::optional<std::size_t> maior;
    long double distancia = 0;
    for (std::size_t i = 0; i < residuos.size(); ++i) {
        const long double d = std::fabs(residuos[i] - media);
        if (d > limite && (!maior || d > distancia)) {
            maior = i;
            distancia = d;
        }
    }
    return maior;
}

} // namespace zelto
