#include "regression/EquacoesNormais.h"

#include "common/Numeros.h"
#include "regression/Distribuicoes.h"

#include <algorithm>
#include <cmath>

namespace zelto {

void TEquacoesNormais::Dimensiona(std::size_t termos) {
    m = termos;
    A.assign(m * m, 0);
    c.assign(m, 0);
    Syy = 0;
}

namespace {

// Elimination on the copies a (m×m, row-major) and v (m), then back substitution into b.
// a[l][k] += f·a[l][j] for the rows l >= j eliminates row j across the columns k > j; the
// lower triangle left behind is the transposed upper factor of A. `diagonal` is A's own
// diagonal (stride m + 1), against which each pivot is judged.
bool Elimina(std::size_t m, long double *a, long double *v, long double *b,
             const long double *diagonal, TSolucao &r) {
    auto at = [&](std::size_t l, std::size_t k) -> long double & { return a[l * m + k]; };
    auto confere = [&](std::size_t j) {
        const long double p = at(j, j), d = diagonal[j * (m + 1)];
        if (PivoNulo(p, d)) {
            r.Recusa = TRecusa::Singular;
            r.TermoSingular = j + 1;
            r.PivoRecusado = d > 0 ? p / d : 0;
            return false;
        }
        r.MenorPivo = std::min(r.MenorPivo, p / d);
        return true;
    };
    for (std::size_t j = 0; j + 1 < m; ++j) {
        if (!confere(j)) return false;
        const long double p = at(j, j);
        for (std::size_t k = j + 1; k < m; ++k) {
            const long double f = -at(j, k) / p;
            for (std::size_t l = j; l < m; ++l)
                at(l, k) += f * at(l, j);
            v[k] += f * v[j];
        }
    }
    if (m == 0) return true;
    if (!confere(m - 1)) return false;
    b[m - 1] = v[m - 1] / at(m - 1, m - 1);
    for (std::size_t i = m - 1; i-- > 0;) {
        long double s = v[i];
        for (std::size_t j = i + 1; j < m; ++j)
            s -= at(j, i) * b[j];
        b[i] = s / at(i, i);
    }
    return true;
}

// Scratch copies, kept per thread so that the search's millions of solves allocate nothing.
struct Rascunho {
    std::vector<long double> a, v;
    void Prepara(std::size_t m) {
        if (a.size() < m * m) a.resize(m * m);
        if (v.size() < m) v.resize(m);
    }
};
thread_local Rascunho rascunho;

bool Finito(long double x) {
    return std::isfinite(x);
}

} // namespace

bool ResolveEquacoes(const TEquacoesNormais &eq, std::span<long double> b, TSolucao *solucao) {
    TSolucao local;
    TSolucao &r = solucao ? *solucao : local;
    r = TSolucao{};
    const std::size_t m = eq.m;
    if (m == 0 || b.size() < m || eq.A.size() != m * m || eq.c.size() != m) return false;
    if (eq.n <= m) {
        r.Recusa = TRecusa::AmostrasInsuficientes;
        return false;
    }
    rascunho.Prepara(m);
    std::copy(eq.A.begin(), eq.A.end(), rascunho.a.begin());
    std::copy(eq.c.begin(), eq.c.end(), rascunho.v.begin());
    return Elimina(m, rascunho.a.data(), rascunho.v.data(), b.data(), eq.A.data(), r);
}

bool InverteEquacoes(const TEquacoesNormais &eq, std::span<long double> C) {
    const std::size_t m = eq.m;
    if (m == 0 || C.size() < m * m || eq.A.size() != m * m) return false;
    rascunho.Prepara(m);
    std::vector<long double> x(m);
    TSolucao r;
    for (std::size_t i = 0; i < m; ++i) {
        std::copy(eq.A.begin(), eq.A.end(), rascunho.a.begin());
        std::fill(rascunho.v.begin(), rascunho.v.begin() + static_cast<std::ptrdiff_t>(m), 0);
        rascunho.v[i] = 1;
        std::fill(x.begin(), x.end(), 0);
        Elimina(m, rascunho.a.data(), rascunho.v.data(), x.data(), eq.A.data(), r);
        for (std::size_t l = 0; l < m; ++l)
            C[l * m + i] = x[l];
    }
    return true;
}

TAjuste CalculaAjuste(const TEquacoesNormais &eq, std::span<const long double> b,
                      bool aceitaConstante) {
    const std::size_t m = eq.m;
    if (m == 0 || b.size() < m) return {};
    const long double n = static_cast<long double>(eq.n);
    const long double Sy = eq.c[0];
    const long double nSQTl = n * eq.Syy - Sy * Sy;
    long double nSQRl = 0;
    for (std::size_t k = 2; k <= m; ++k)
        nSQRl += (n * eq.c[k - 1] - Sy * eq.a(1, k)) * b[k - 1];
    return AjusteDeSomas(eq.n, m, nSQTl, nSQRl, n * eq.Syy, aceitaConstante);
}

TAjuste AjusteDeSomas(std::size_t nAmostras, std::size_t m, long double nSQTl, long double nSQRl,
                      long double nSyy, bool aceitaConstante) {
    TAjuste r;
    auto recusa = [&](TRecusa motivo) {
        TAjuste x;
        x.Recusa = motivo;
        return x;
    };
    if (nAmostras <= m) return recusa(TRecusa::AmostrasInsuficientes);
    const long double n = static_cast<long double>(nAmostras);
    const long double ruido = LimitePivo * nSyy;
    if (!Finito(nSQTl) || !Finito(nSQRl)) return recusa(TRecusa::Instavel);
    if (!(nSQTl > ruido)) {
        if (!aceitaConstante) return recusa(TRecusa::DependenteConstante);
        // The descriptive mode's single model: the sample is all one value, without spread.
        r.R = 1;
        return r;
    }
    const long double nSQEl = nSQTl - nSQRl;
    if (nSQRl < -ruido || nSQEl < -ruido) return recusa(TRecusa::Instavel);
    r.nSQT = nSQTl;
    r.nSQR = nSQEl < 0 ? nSQTl : std::max(nSQRl, 0.0L);
    r.nSQE = r.nSQT - r.nSQR;
    r.nMSE = r.nSQE / (n - static_cast<long double>(m));
    r.R = std::sqrt(r.nSQR / r.nSQT);
    if (m == 1)
        r.F = 0;
    else if (r.nMSE == 0)
        r.F = Infinito;
    else
        r.F = r.nSQR / (static_cast<long double>(m - 1) * r.nMSE);
    if (!Finito(r.F) || r.F > Infinito) r.F = Infinito;
    return r;
}

long double R2AjustadoDe(const TAjuste &ajuste, std::size_t n, std::size_t m,
                         long double limiteExato) {
    if (std::fabs(ajuste.R) > limiteExato) return 1;
    if (n <= m) return -Infinito;
    if (ajuste.nSQT == 0) return 1;
    const long double nn = static_cast<long double>(n);
    return 1 - (ajuste.nSQE / ajuste.nSQT) * (nn - 1) / (nn - static_cast<long double>(m));
}

long double ProdutoCentradoDe(std::size_t n, long double P, long double Tj, long double Tk) {
    const long double s = static_cast<long double>(n) * P - Tj * Tk;
    return Finito(s) ? s : 0;
}

long double ProdutoCentrado(const TEquacoesNormais &eq, std::size_t j, std::size_t k) {
    if (j < 1 || k < 1 || j > eq.m || k > eq.m) return 0;
    auto T = [&](std::size_t i) { return i == 1 ? eq.c[0] : eq.a(1, i); };
    long double P;
    if (j == 1 && k == 1)
        P = eq.Syy;
    else if (j == 1)
        P = eq.c[k - 1];
    else if (k == 1)
        P = eq.c[j - 1];
    else
        P = eq.a(j, k);
    return ProdutoCentradoDe(eq.n, P, T(j), T(k));
}

unsigned ContaRegressoresSignificativos(const TEquacoesNormais &eq, const TAjuste &ajuste,
                                        std::span<const long double> b, long double alfa,
                                        long double limiteExato) {
    const std::size_t m = eq.m;
    if (m == 0) return 0;
    if (std::fabs(ajuste.R) > limiteExato) return static_cast<unsigned>(m - 1);
    if (eq.n <= m || b.size() < m) return 0;
    const std::size_t gl = std::min<std::size_t>(eq.n - m, 65535);
    const long double tc = std::fabs(QuantilStudent(static_cast<std::uint16_t>(gl), alfa / 2));
    std::vector<long double> centrados(m, 0);
    for (std::size_t k = 2; k <= m; ++k)
        centrados[k - 1] = ProdutoCentrado(eq, k, k);
    return ContaSignificativosDe(eq.n, m, ajuste.nSQE, b, centrados, tc);
}

unsigned ContaSignificativosDe(std::size_t n, std::size_t m, long double nSQE,
                               std::span<const long double> b,
                               std::span<const long double> centrados, long double tc) {
    if (n <= m || b.size() < m || centrados.size() < m) return 0;
    const long double s = std::sqrt(nSQE / static_cast<long double>(n - m));
    unsigned conta = 0;
    for (std::size_t k = 2; k <= m; ++k) {
        const long double t = b[k - 1] * std::sqrt(std::fabs(centrados[k - 1])) / s;
        // A NaN (s = 0 or a fault) never counts; an infinite t counts.
        if (std::fabs(t) > tc) ++conta;
    }
    return conta;
}

} // namespace zelto
