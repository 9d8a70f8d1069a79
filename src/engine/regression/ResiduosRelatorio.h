// What the report asks of the residuals beyond the regression system's own queries: the runs
// (sequences) and signs tests on the residuals in sample order, and the standardised error of
// any worksheet row, active or not, against the fitted model.
//
// The runs test counts the positive (e >= 0) and negative residuals and the runs of one sign
// in sample order; under randomness the number of runs has mean μ = 2PN/(P + N) + 1 and
// standard deviation σ = √((μ − 1)(μ − 2)/(P + N − 1)), and the continuity-corrected z
// values of the observed runs must lie inside ±zc, zc = |Φ⁻¹(α)|. The signs test compares the
// count of positive residuals with its mean n/2 in units of its standard deviation √n/2.
//
// The critical z is the normal quantile to full precision: the report prints it with four
// decimals, beyond what the classical rational approximation of the quantile (error up to
// 4.5e-4) holds.
//
// Pure numbers; nothing here throws.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace zelto {

class TSistema;

// z with Φ(z) = p for 0 < p < 1, to long double precision: the rational approximation refined
// by Newton steps on Φ computed from erfc. 0 for p = 0.5; Infinito (with the sign of the tail)
// for p <= 0 or p >= 1, and for NaN.
long double QuantilNormal(long double p);

struct TSequencias {
    std::size_t Positivos = 0, Negativos = 0, Sequencias = 0; // P, N, R (R = 0 without data)
    long double Media = 0;                                    // μ of the runs
    long double Desvio = 0;       // σ of the runs; 0 when the runs test cannot be made
    long double ZInferior = 0;    // (R − 0.5 − μ)/σ, the lower end of R's continuity band
    long double ZSuperior = 0;    // (R + 0.5 − μ)/σ, its upper end
    long double ZCritico = 0;     // |Φ⁻¹(α)|, QuantilNormal
    long double MediaSinais = 0;  // n/2
    long double DesvioSinais = 0; // √n/2
    long double ZSinais = 0;      // |P − n/2|/(√n/2); 0 without data
    // The runs of the signs look random when the band [zi, zs] meets [−zc, zc], i.e. the
    // continuity-corrected z lies inside: zs > −zc and zi < zc (false when σ = 0).
    bool SequenciasAleatorias() const {
        return Desvio != 0 && ZSuperior > -ZCritico && ZInferior < ZCritico;
    }
    // The count of signs agrees with a symmetric distribution: z <= zc.
    bool SinaisNormais() const { return ZSinais <= ZCritico; }
};

// The runs and signs tests of residuals in sample order at the level alfa of the z test.
TSequencias TesteSequencias(std::span<const long double> residuos, long double alfa);

// The standardised error of worksheet row `linha` against the fitted model: (observed value in
// the model's scale − the model's estimate for the row (inferential mode only) − the mean
// residual) / s, s the residual standard deviation of the fit. 0 for an exact fit; nothing
// when the row's values cannot be transformed or s is 0 or cannot be computed. The fit must be
// complete (CompletaAjuste).
std::optional<long double> ErroPadronizadoLinha(const TSistema &s, int linha, bool inferencial);

// The untransformed values of term k's variable over the active samples: mean, sample standard
// deviation (divisor n − 1; Infinito with fewer than two samples), smallest and largest value.
struct TResumoBruto {
    long double Media = 0, Desvio = 0, Minimo = 0, Maximo = 0;
};
TResumoBruto ResumoBruto(const TSistema &s, std::size_t k);

// The coefficient of variation |100·desvio / media| in percent; nothing when the mean is 0 or
// either value is not finite (Infinito included).
std::optional<long double> CoeficienteVariacao(long double media, long double desvio);

} // namespace zelto
