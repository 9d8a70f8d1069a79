// Trustworthy fits on random designs. Exactly collinear designs (a constant of any value, a
// duplicated column, an exact combination of decimal data, transformed columns that coincide,
// each under every transformation that applies) must all be refused, whatever their values;
// well-posed designs must all be fitted, with the coefficients of an independent least-squares
// solution; and no fitted model may show a negative sum of squares or F, an R outside [0, 1] or
// a leverage outside [0, 1]. The test prints the margin of the singularity rule: the largest
// pivot that counted as zero in a collinear design and the smallest accepted in a well-posed one
// (the reference designs of NistTest.cpp print theirs).
#include "regression/Sistema.h"

#include "common/Numeros.h"
#include "regression/Transformacoes.h"
#include "worksheet/Gridzelto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace zelto;

namespace {

using Coluna = std::vector<long double>;

// A value typed with `casas` decimals, read as the worksheet reads it.
long double Decimal(long long unidades, int casas) {
    std::string t = std::to_string(std::llabs(unidades));
    if (casas > 0) {
        if (t.size() <= static_cast<std::size_t>(casas))
            t.insert(0, static_cast<std::size_t>(casas) + 1 - t.size(), '0');
        t.insert(t.size() - static_cast<std::size_t>(casas), ",");
    }
    long double x = 0;
    ConverteNumero((unidades < 0 ? "-" : "") + t, x);
    return x;
}

// Codes that apply to a positive column of moderate values (every one).
constexpr std::uint8_t kCodigos[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};

struct Resultado {
    bool ajustado;
    TSolucao solucao;
};

// Fits column 1 (code cy) on the others (their codes) with a regression system over `dados`.
Resultado Ajusta(TSistema &s, const std::vector<Coluna> &dados, std::uint8_t cy,
                 const std::vector<std::uint8_t> &codigos) {
    std::vector<std::uint32_t> ativas(dados[0].size());
    for (std::size_t i = 0; i < ativas.size(); ++i)
        ativas[i] = static_cast<std::uint32_t>(i);
    s.Dados().Carrega(dados, {}, ativas);
    std::vector<TTermo> termos{{1, cy}};
    for (std::size_t k = 0; k < codigos.size(); ++k)
        termos.push_back({static_cast<std::uint16_t>(k + 2), codigos[k]});
    s.DefineTermos(termos);
    Resultado r{false, {}};
    if (!s.MontaSistema()) return r;
    std::vector<long double> b(s.m());
    ResolveEquacoes(s.Equacoes(), b, &r.solucao);
    r.ajustado = s.Resolve();
    if (!r.ajustado) return r;
    s.CalculaEstatisticas();
    r.ajustado = s.CompletaAjuste();
    return r;
}

// What no fitted model may show.
void Confiavel(const TSistema &s, const std::string &caso) {
    EXPECT_GE(s.nSQE(), 0) << caso;
    EXPECT_GE(s.nSQR(), 0) << caso;
    EXPECT_GE(s.F(), 0) << caso;
    EXPECT_TRUE(s.R() >= 0 && s.R() <= 1) << caso;
    for (std::size_t i = 1; i <= s.n(); ++i)
        ASSERT_TRUE(s.Alavanca(i) >= 0 && s.Alavanca(i) <= 1) << caso << " h" << i;
}

// Least squares by Householder QR of the transformed design (an independent oracle).
std::vector<long double> MinimosQuadrados(std::vector<Coluna> X, Coluna y) {
    const std::size_t n = y.size(), m = X.size();
    for (std::size_t j = 0; j < m; ++j) {
        long double norma = 0;
        for (std::size_t i = j; i < n; ++i)
            norma += X[j][i] * X[j][i];
        norma = std::sqrt(norma);
        const long double alfa = X[j][j] > 0 ? -norma : norma;
        Coluna v(n, 0);
        for (std::size_t i = j; i < n; ++i)
            v[i] = X[j][i];
        v[j] -= alfa;
        long double vv = 0;
        for (std::size_t i = j; i < n; ++i)
            vv += v[i] * v[i];
        auto reflete = [&](Coluna &c) {
            long double d = 0;
            for (std::size_t i = j; i < n; ++i)
                d += v[i] * c[i];
            for (std::size_t i = j; i < n; ++i)
                c[i] -= 2 * d / vv * v[i];
        };
        for (std::size_t k = j; k < m; ++k)
            reflete(X[k]);
        reflete(y);
    }
    std::vector<long double> b(m);
    for (std::size_t j = m; j-- > 0;) {
        long double s = y[j];
        for (std::size_t k = j + 1; k < m; ++k)
            s -= X[k][j] * b[k];
        b[j] = s / X[j][j];
    }
    return b;
}

} // namespace

TEST(Singularidade, CollinearDesignsAreRefusedAndWellPosedOnesFitted) {
    std::mt19937_64 gerador(20240611);
    auto inteiro = [&](long long a, long long b) {
        return std::uniform_int_distribution<long long>(a, b)(gerador);
    };
    TGridzelto grid;
    TSistema s(grid);
    long double maiorRecusado = 0, menorAceito = 1;
    int recusados = 0, singulares = 0, ajustados = 0;
    constexpr int kDesenhos = 3000;
    for (int d = 0; d < kDesenhos; ++d) {
        const int casas = static_cast<int>(inteiro(0, 3));
        const std::size_t n = static_cast<std::size_t>(inteiro(8, 60));
        const std::size_t livres = static_cast<std::size_t>(inteiro(0, 3));
        const long long escala = static_cast<long long>(std::pow(10, casas));
        // Independent columns of positive decimals in [0.5, 50], but 1 (where 1/Ln fails).
        auto livre = [&] {
            Coluna c(n);
            for (long double &x : c)
                do
                    x = Decimal(inteiro(std::max(1LL, escala / 2), 50 * escala), casas);
                while (x == 1);
            return c;
        };
        std::vector<Coluna> dados{livre()};
        std::vector<std::uint8_t> codigos;
        for (std::size_t k = 0; k < livres; ++k) {
            dados.push_back(livre());
            codigos.push_back(kCodigos[inteiro(0, 13)]);
        }
        const bool colinear = d % 2 == 0;
        const int tipo = static_cast<int>(inteiro(0, 3));
        std::string caso = "design " + std::to_string(d);
        if (colinear) {
            std::uint8_t codigo = kCodigos[inteiro(0, 13)];
            Coluna x = livre();
            if (tipo == 0) { // a constant of any size
                const long double c = Decimal(inteiro(1, 999999), static_cast<int>(inteiro(0, 6)));
                std::fill(x.begin(), x.end(), codigo == 3 || codigo == 10 ? std::fmod(c, 50) + 1 : c);
                dados.push_back(x);
                codigos.push_back(codigo);
            } else if (tipo == 1) { // a column twice, under the same code
                dados.push_back(x);
                dados.push_back(x);
                codigos.insert(codigos.end(), {codigo, codigo});
            } else if (tipo == 2) { // z = a·x + b·w + c, exact in decimals
                Coluna w = livre(), z(n);
                const long long a = inteiro(1, 9), b = inteiro(-9, 9), c = inteiro(-500, 500);
                for (std::size_t i = 0; i < n; ++i)
                    z[i] = Decimal(a * std::llround(x[i] * escala) + b * std::llround(w[i] * escala) +
                                       c * escala,
                                   casas);
                for (Coluna *col : {&x, &w, &z})
                    dados.push_back(*col);
                codigos.insert(codigos.end(), {1, 1, 1});
            } else { // columns that coincide once transformed: Ln(k·x) = Ln k + Ln x,
                     // (k·x)^p = k^p·x^p, Exp(x + k) = e^k·Exp(x) (1/Ln has no such rule)
                if (codigo == 9) codigo = 2;
                const long long k = inteiro(2, 9);
                const bool exponencial = codigo == 3 || codigo == 10;
                Coluna z(n);
                for (std::size_t i = 0; i < n; ++i)
                    z[i] = exponencial ? x[i] + k : x[i] * k;
                dados.push_back(x);
                dados.push_back(z);
                codigos.insert(codigos.end(), {codigo, codigo});
            }
            caso += " (collinear, kind " + std::to_string(tipo) + ", code " +
                    std::to_string(codigo) + ")";
        } else {
            dados.push_back(livre());
            codigos.push_back(kCodigos[inteiro(0, 13)]);
        }
        // The collinear group sits among the free columns, not always last.
        const std::size_t giro = static_cast<std::size_t>(inteiro(0, static_cast<long long>(livres)));
        std::rotate(dados.begin() + 1, dados.begin() + 1 + static_cast<std::ptrdiff_t>(giro),
                    dados.end());
        std::rotate(codigos.begin(), codigos.begin() + static_cast<std::ptrdiff_t>(giro),
                    codigos.end());
        const std::uint8_t cy = kCodigos[inteiro(0, 13)];
        const std::size_t m = codigos.size() + 1;
        if (n <= m) continue;
        const Resultado r = Ajusta(s, dados, cy, codigos);
        if (colinear) {
            EXPECT_FALSE(r.ajustado) << caso;
            ++recusados;
            if (r.solucao.Recusa == TRecusa::Singular) {
                ++singulares;
                maiorRecusado = std::max(maiorRecusado, r.solucao.PivoRecusado);
            }
            continue;
        }
        ASSERT_TRUE(r.ajustado) << caso << ": " << s.MotivoRecusa();
        ++ajustados;
        menorAceito = std::min(menorAceito, r.solucao.MenorPivo);
        Confiavel(s, caso);
        // The coefficients of the oracle, on the same transformed columns.
        std::vector<Coluna> X{Coluna(n, 1)};
        for (std::size_t k = 2; k <= m; ++k) {
            X.emplace_back(n);
            for (std::size_t i = 0; i < n; ++i)
                X.back()[i] = s.ValorTransformado(k, i + 1);
        }
        Coluna y(n);
        for (std::size_t i = 0; i < n; ++i)
            y[i] = s.ValorTransformado(1, i + 1);
        const auto b = MinimosQuadrados(X, y);
        for (std::size_t k = 1; k <= m; ++k) {
            // Errors measured against the term's share of the dependent's spread.
            long double escala = std::fabs(b[k - 1]) + 1e-30L;
            EXPECT_LE(std::fabs(s.Coeficiente(k) - b[k - 1]) / escala, 1e-8L) << caso << " b" << k;
        }
    }
    std::printf("  %d collinear designs refused (%d as singular), %d well-posed ones fitted\n"
                "  largest pivot counted as zero %.3Lg, smallest accepted %.3Lg, rule %.3Lg\n",
                recusados, singulares, ajustados, maiorRecusado, menorAceito, LimitePivo);
    EXPECT_GT(recusados, kDesenhos / 3);
    EXPECT_GT(ajustados, kDesenhos / 3);
    EXPECT_LT(maiorRecusado, LimitePivo / 100);
    EXPECT_GT(menorAceito, LimitePivo * 100);
}
