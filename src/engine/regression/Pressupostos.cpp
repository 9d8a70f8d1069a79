#include "regression/Pressupostos.h"

#include "common/Numeros.h"
#include "regression/Distribuicoes.h"

#include <cmath>

namespace zelto {

namespace {

// A column that adds less than this share of its norm to the earlier ones adds no direction.
constexpr long double ToleranciaPosto = 1e-7L;

long double Produto(const std::vector<long double> &a, const std::vector<long double> &b) {
    long double s = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        s += a[i] * b[i];
    return s;
}

// An orthonormal basis of the centred columns added so far (modified Gram–Schmidt, projected
// twice): the column space of [1 X] less the intercept's direction.
class TBase {
  public:
    explicit TBase(std::size_t n) : n_(n) {}
    // Adds the column when it adds a direction; false when it does not.
    bool Adiciona(std::vector<long double> x) {
        const long double norma0 = std::sqrt(Produto(x, x));
        if (!(norma0 > 0) || !std::isfinite(norma0)) return false;
        Centra(x);
        for (int passada = 0; passada < 2; ++passada)
            for (const std::vector<long double> &q : q_) {
                const long double c = Produto(q, x);
                for (std::size_t i = 0; i < n_; ++i)
                    x[i] -= c * q[i];
            }
        const long double norma = std::sqrt(Produto(x, x));
        if (!(norma > ToleranciaPosto * norma0)) return false;
        for (long double &v : x)
            v /= norma;
        q_.push_back(std::move(x));
        return true;
    }
    std::size_t Dimensao() const { return q_.size(); }
    // R² of y on the intercept and the columns kept; nothing when y is constant.
    std::optional<long double> R2(std::vector<long double> y) const {
        Centra(y);
        const long double total = Produto(y, y);
        if (!(total > 0)) return std::nullopt;
        long double explicado = 0;
        for (const std::vector<long double> &q : q_) {
            const long double c = Produto(q, y);
            explicado += c * c;
        }
        return std::min(explicado / total, 1.0L);
    }

  private:
    void Centra(std::vector<long double> &x) const {
        long double media = 0;
        for (long double v : x)
            media += v;
        media /= static_cast<long double>(n_);
        for (long double &v : x)
            v -= media;
    }
    std::size_t n_;
    std::vector<std::vector<long double>> q_;
};

// The basis of the columns of length n.
TBase BaseDe(std::size_t n, const std::vector<std::vector<long double>> &colunas) {
    TBase base(n);
    for (const std::vector<long double> &c : colunas)
        if (c.size() == n) base.Adiciona(c);
    return base;
}

// n·R² of the squared residuals on the basis, as a chi-square test.
std::optional<TTesteVariancia> TesteAuxiliar(std::span<const long double> residuos,
                                             const TBase &base, bool soQuadrados) {
    const std::size_t n = residuos.size();
    if (base.Dimensao() == 0 || base.Dimensao() + 1 >= n) return std::nullopt;
    std::vector<long double> e2(n);
    for (std::size_t i = 0; i < n; ++i)
        e2[i] = residuos[i] * residuos[i];
    const std::optional<long double> r2 = base.R2(std::move(e2));
    if (!r2) return std::nullopt;
    TTesteVariancia t;
    t.Estatistica = static_cast<long double>(n) * *r2;
    t.GrausLiberdade = static_cast<unsigned>(base.Dimensao());
    t.Significancia = CaudaQuiQuadrado(t.GrausLiberdade, t.Estatistica);
    t.SoQuadrados = soQuadrados;
    return t;
}

std::vector<long double> Vezes(const std::vector<long double> &a,
                               const std::vector<long double> &b) {
    std::vector<long double> r(a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        r[i] = a[i] * b[i];
    return r;
}

// The basis of White's columns: the regressors and their squares, then (with cruzados) the
// cross products. Adding stops once the rank of [1 Z] reaches n.
TBase BaseWhite(std::size_t n, std::span<const std::vector<long double>> x, bool cruzados) {
    TBase base(n);
    auto adiciona = [&](std::vector<long double> c) {
        if (c.size() == n && base.Dimensao() + 1 < n) base.Adiciona(std::move(c));
    };
    for (const std::vector<long double> &v : x)
        adiciona(v);
    for (const std::vector<long double> &v : x)
        adiciona(Vezes(v, v));
    if (cruzados)
        for (std::size_t j = 0; j < x.size(); ++j)
            for (std::size_t k = j + 1; k < x.size(); ++k)
                adiciona(Vezes(x[j], x[k]));
    return base;
}

} // namespace

std::optional<TTesteVariancia> BreuschPagan(std::span<const long double> residuos,
                                            std::span<const std::vector<long double>> regressores) {
    const std::size_t n = residuos.size();
    return TesteAuxiliar(residuos, BaseDe(n, {regressores.begin(), regressores.end()}), false);
}

std::optional<TTesteVariancia> White(std::span<const long double> residuos,
                                     std::span<const std::vector<long double>> regressores) {
    const std::size_t n = residuos.size();
    // With the cross products the rank of [1 Z] may reach n: the auxiliary regression would
    // then fit the squared residuals exactly.
    const TBase completa = BaseWhite(n, regressores, true);
    if (completa.Dimensao() + 1 < n) return TesteAuxiliar(residuos, completa, false);
    return TesteAuxiliar(residuos, BaseWhite(n, regressores, false), true);
}

std::vector<long double> FatoresInflacao(std::span<const std::vector<long double>> regressores) {
    const std::size_t k = regressores.size();
    std::vector<long double> v(k, 1);
    if (k < 2) return v;
    for (std::size_t j = 0; j < k; ++j) {
        const std::size_t n = regressores[j].size();
        TBase base(n);
        for (std::size_t l = 0; l < k; ++l)
            if (l != j && regressores[l].size() == n) base.Adiciona(regressores[l]);
        const std::optional<long double> r2 = base.R2(regressores[j]);
        // A constant regressor has no variance to inflate; one in the span of the others has
        // an infinite factor.
        if (!r2)
            v[j] = Infinito;
        else
            v[j] = *r2 >= 1 - 1e-15L ? Infinito : 1 / (1 - *r2);
    }
    return v;
}

std::vector<std::vector<long double>> RegressoresTransformados(const TSistema &s) {
    std::vector<std::vector<long double>> x;
    for (std::size_t k = 2; k <= s.m(); ++k) {
        std::vector<long double> c(s.n());
        for (std::size_t i = 1; i <= s.n(); ++i)
            c[i - 1] = s.ValorTransformado(k, i);
        x.push_back(std::move(c));
    }
    return x;
}

namespace {

std::vector<long double> ResiduosDe(const TSistema &s) {
    std::vector<long double> e(s.n());
    for (std::size_t i = 1; i <= s.n(); ++i)
        e[i - 1] = s.ResiduoBruto(i);
    return e;
}

} // namespace

std::optional<TTesteVariancia> BreuschPagan(const TSistema &s) {
    return BreuschPagan(ResiduosDe(s), RegressoresTransformados(s));
}

std::optional<TTesteVariancia> White(const TSistema &s) {
    return White(ResiduosDe(s), RegressoresTransformados(s));
}

std::vector<long double> FatoresInflacao(const TSistema &s) {
    return FatoresInflacao(RegressoresTransformados(s));
}

} // namespace zelto
