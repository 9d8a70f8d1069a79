// TSistema: estimates at a point in both scales, marginal effects and the intervals.
#include "regression/Sistema.h"

#include "common/Numeros.h"
#include "regression/Distribuicoes.h"
#include "regression/Transformacoes.h"

#include <algorithm>
#include <cmath>

namespace zelto {

namespace {

// Runs a computation that applies transformations, each through Valor with the computation's
// error code; nothing when one of them failed or the result is not a finite number.
template <class Conta> std::optional<long double> Protegido(Conta conta) {
    std::uint8_t erro = 0;
    const long double r = conta(erro);
    if (erro != 0 || !std::isfinite(r)) return std::nullopt;
    return r;
}

// The value of a transformation; its error, when it failed, goes into `erro`.
long double Valor(const TValorTransformado &t, std::uint8_t &erro) {
    if (t.Erro != 0) erro = t.Erro;
    return t.Valor;
}

bool Enorme(long double x) {
    return !std::isfinite(x) || std::fabs(x) >= Infinito;
}

} // namespace

std::optional<long double> TSistema::EstimativaModelo(const TPonto &ponto) const {
    if (m_ == 0 || b_.size() != m_) return std::nullopt;
    if (CodigoTermo(1) == 0) return 0.0L;
    return Protegido([&](std::uint8_t &erro) {
        long double y = b_[0];
        for (std::size_t k = 2; k <= m_; ++k) {
            const long double x = k < ponto.size() ? ponto[k] : 0;
            y += b_[k - 1] * Valor(FuncaoTransformacao(CodigoTermo(k), x), erro);
        }
        return y;
    });
}

std::optional<long double> TSistema::Estimativa(const TPonto &ponto) const {
    const auto y = EstimativaModelo(ponto);
    if (!y) return std::nullopt;
    return Protegido(
        [&](std::uint8_t &erro) { return Valor(FuncaoInversa(CodigoTermo(1), *y), erro); });
}

std::optional<long double> TSistema::EstimativaAmostra(std::size_t i) const {
    if (!AmostraValida(i)) return std::nullopt;
    return Estimativa(PontoAmostra(i));
}

std::optional<long double> TSistema::EstimativaObjeto() const {
    return Estimativa(PontoObjeto());
}

std::optional<long double> TSistema::EfeitoMarginal(std::size_t k, long double x,
                                                    long double Y) const {
    if (k < 2 || k > m_ || b_.size() != m_) return std::nullopt;
    long double numerador = 0, denominador = 0;
    const auto ok = Protegido([&](std::uint8_t &erro) {
        numerador = b_[k - 1] * Valor(DerivadaTransformacao(CodigoTermo(k), x), erro);
        denominador = Valor(DerivadaTransformacao(CodigoTermo(1), Y), erro);
        return numerador;
    });
    if (!ok) return std::nullopt;
    if (denominador == 0) return numerador == 0 ? 0 : (numerador < 0 ? -Infinito : Infinito);
    const long double q = numerador / denominador;
    if (Enorme(q)) return (numerador < 0) != (denominador < 0) ? -Infinito : Infinito;
    return q;
}

// tipo 0: mean interval; 1: prediction interval; 2: interval due to term k.
std::optional<TIntervalo> TSistema::Intervalo(const TPonto &ponto, long double p, int tipo,
                                              std::size_t k) const {
    if (m_ == 0 || b_.size() != m_ || C_.size() != m_ * m_ || n() == 0) return std::nullopt;
    if (tipo == 2 && (k < 2 || k > m_)) return std::nullopt;
    const auto y = EstimativaModelo(ponto);
    if (!y) return std::nullopt;
    const TIntervalo ilimitado{-Infinito, Infinito};
    if (SemGraus()) return ilimitado;

    // u = f(x₀ₖ) − x̄ₖ over the regressors.
    std::vector<long double> u(m_ + 1, 0);
    const auto transformados = Protegido([&](std::uint8_t &erro) {
        for (std::size_t j = 2; j <= m_; ++j) {
            const long double x = j < ponto.size() ? ponto[j] : 0;
            u[j] = Valor(FuncaoTransformacao(CodigoTermo(j), x), erro) - Media(j);
        }
        return 0.0L;
    });
    if (!transformados) return std::nullopt;

    const long double nn = static_cast<long double>(n());
    const auto gl = static_cast<std::uint16_t>(std::min<std::size_t>(n() - m_, 65535));
    const long double t = QuantilStudent(gl, (1 - p) / 2);
    const long double s = std::sqrt(nn * m2_ / (nn - static_cast<long double>(m_)));
    long double d;
    if (tipo == 2) {
        d = t * s * u[k] * std::sqrt(std::fabs(Inversa(k, k)));
    } else {
        long double h0 = 0;
        for (std::size_t j = 2; j <= m_; ++j)
            for (std::size_t l = 2; l <= m_; ++l)
                h0 += u[j] * Inversa(j, l) * u[l];
        h0 = std::fabs(h0);
        d = t * s * std::sqrt((tipo == 1 ? 1 : 0) + 1 / nn + h0);
    }
    if (Enorme(t) || Enorme(d)) return ilimitado;

    long double baixo = 0, alto = 0;
    const auto limites = Protegido([&](std::uint8_t &erro) {
        baixo = Valor(FuncaoInversa(CodigoTermo(1), *y - d), erro);
        alto = Valor(FuncaoInversa(CodigoTermo(1), *y + d), erro);
        return std::isfinite(alto) ? baixo : alto;
    });
    if (!limites) return std::nullopt;
    // Several inverses reverse the order (1/y, e^(1/y), ...).
    return TIntervalo{std::min(baixo, alto), std::max(baixo, alto)};
}

std::optional<TIntervalo> TSistema::IntervaloMedia(const TPonto &ponto, long double p) const {
    return Intervalo(ponto, p, 0, 0);
}

std::optional<TIntervalo> TSistema::IntervaloPredicao(const TPonto &ponto, long double p) const {
    return Intervalo(ponto, p, 1, 0);
}

std::optional<TIntervalo> TSistema::IntervaloTermo(std::size_t k, const TPonto &ponto,
                                                   long double p) const {
    return Intervalo(ponto, p, 2, k);
}

} // namespace zelto
