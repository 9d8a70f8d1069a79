#include "regression/Transformacoes.h"

#include "common/Numeros.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zelto;

namespace {

long double Relativo(long double a, long double b) {
    return b == 0 ? std::fabs(a) : std::fabs(a - b) / std::fabs(b);
}

} // namespace

// f(x), g(x) and f'(x) of every code at x = 2.5, and of the logarithmic codes at x = 0.7. Expected
// values computed with mpmath at 40 digits (Python, mp.dps = 40): f and g from their closed forms,
// f' by mp.diff of f, so the derivative column is checked against the function and not against its
// formula.
TEST(Transformacoes, ValuesAgainstHighPrecision) {
    struct Caso {
        std::uint8_t codigo;
        long double x, f, g, derivada;
    } casos[] = {
        {2, 0.7L, -0.3566749439387323789126L, 2.013752707470476521625L, 1.428571428571428571429L},
        {3, 0.7L, 2.013752707470476521625L, -0.3566749439387323789126L, 2.013752707470476521625L},
        {9, 0.7L, -2.803673252057129054907L, 4.172733883598096238925L, -11.22940529185799701473L},
        {10, 0.7L, 0.4965853037914095147048L, 0.3566749439387323789126L,
         -0.4965853037914095147048L},
        {1, 2.5L, 2.5L, 2.5L, 1.0L},
        {2, 2.5L, 0.9162907318741550651835L, 12.18249396070347343807L, 0.4L},
        {3, 2.5L, 12.18249396070347343807L, 0.9162907318741550651835L, 12.18249396070347343807L},
        {4, 2.5L, 6.25L, 1.581138830084189665999L, 5.0L},
        {5, 2.5L, 1.581138830084189665999L, 6.25L, 0.3162277660168379331999L},
        {6, 2.5L, 15.625L, 1.357208808297453285759L, 18.75L},
        {7, 2.5L, 1.357208808297453285759L, 15.625L, 0.1809611744396604381012L},
        {8, 2.5L, 0.4L, 0.4L, -0.16L},
        {9, 2.5L, 1.091356667937291445548L, 1.491824697641270317825L, -0.4764237506604749703677L},
        {10, 2.5L, 0.08208499862389879516953L, -0.9162907318741550651835L,
         -0.08208499862389879516953L},
        {11, 2.5L, 0.16L, 0.6324555320336758663998L, -0.128L},
        {12, 2.5L, 0.6324555320336758663998L, 0.16L, -0.12649110640673517328L},
        {13, 2.5L, 0.064L, 0.736806299728077321156L, -0.0768L},
        {14, 2.5L, 0.736806299728077321156L, 0.064L, -0.0982408399637436428208L},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(testing::Message() << "code " << int(c.codigo) << " x " << double(c.x));
        const TValorTransformado f = FuncaoTransformacao(c.codigo, c.x),
                                 g = FuncaoInversa(c.codigo, c.x),
                                 d = DerivadaTransformacao(c.codigo, c.x);
        // Extended precision: far closer than a double could get.
        EXPECT_LT(Relativo(f.Valor, c.f), 1e-17L);
        EXPECT_LT(Relativo(g.Valor, c.g), 1e-17L);
        EXPECT_LT(Relativo(d.Valor, c.derivada), 1e-17L);
        EXPECT_EQ(f.Erro + g.Erro + d.Erro, 0);
    }
}

// Faults and the error code each one returns; the result is 0 on an arithmetic fault, the
// marker on the power and logarithm rules.
TEST(Transformacoes, FaultsReturnTheirCode) {
    enum Op { f, g, d };
    struct Caso {
        Op op;
        std::uint8_t codigo;
        long double x, resultado;
        int erro;
    } casos[] = {
        {f, 7, -8, Infinito, 6},       // cube root of a negative number
        {f, 14, -8, Infinito, 6},      // x^(-1/3) of a negative number
        {f, 6, -2, -8, 0},             // a negative cube is fine
        {f, 7, 0, 0, 0},               // 0^(1/3)
        {f, 14, 0, Infinito, 4},       // 0^(-1/3)
        {f, 2, 0, -Infinito, 5},       // ln 0
        {f, 2, -1, -Infinito, 5},      // ln of a negative number
        {f, 8, 0, 0, 1},               // 1/0
        {f, 5, -4, 0, 1},              // square root of a negative number
        {f, 12, 0, 0, 1},              // 1/√0
        {f, 12, -1, 0, 1},             // 1/√-1
        {f, 9, 1, 0, 1},               // 1/ln 1
        {f, 13, 0, 0, 1},              // 1/0³
        {f, 3, 20000, 0, 1},           // e^x overflows
        {f, 10, -20000, 0, 1},         // e^(-x) overflows
        {f, 3, -20000, 0, 1},          // e^x underflows to 0
        {f, 10, 42000, 0, 1},          // e^(-x) underflows: a price under code 10
        {f, 10, 11380, 0, 1},          // ... to a subnormal number
        {f, 10, 5000, std::exp(-5000.0L), 0}, // tiny but normal
        {f, 8, 1e4932L, 0, 1},         // 1/x underflows to a subnormal number
        {f, 6, 1e-2000L, 0, 1},        // x³ underflows
        {g, 2, -12000, 0, 1},          // e^y underflows
        {f, 11, 1e3000L, 0, 1},        // x² overflows although 1/x² would be tiny
        {f, 4, 1e3000L, 0, 1},         // x² overflows
        {g, 6, -8, Infinito, 6},       // y^(1/3)
        {g, 13, 0, Infinito, 4},       // 0^(-1/3)
        {g, 3, 0, -Infinito, 5},       // ln 0
        {g, 10, -2, -Infinito, 5},     // ln(1/y), 1/y negative
        {g, 10, 0, 0, 1},              // 1/0
        {g, 4, -1, 0, 1},              // √-1
        {g, 11, -1, 0, 1},             // √(1/-1)
        {g, 9, 0, 0, 1},               // e^(1/0)
        {g, 2, 1e5L, 0, 1},            // e^y overflows
        {g, 14, 0, 0, 1},              // 1/0³
        {d, 7, 0, Infinito / 3, 4},    // 0^(-2/3)/3
        {d, 12, -1, -Infinito / 2, 6}, // -(-1)^(-1.5)/2
        {d, 2, 0, 0, 1},               // 1/0
        {d, 9, 1, 0, 1},               // -1/(1·ln²1)
        {d, 5, 0, 0, 1},               // 1/(2√0)
        {d, 13, 1e2000L, 0, 1},        // x⁴ overflows
    };
    for (const auto &c : casos) {
        const TValorTransformado r = c.op == f   ? FuncaoTransformacao(c.codigo, c.x)
                                     : c.op == g ? FuncaoInversa(c.codigo, c.x)
                                                 : DerivadaTransformacao(c.codigo, c.x);
        SCOPED_TRACE(testing::Message()
                     << "op " << int(c.op) << " code " << int(c.codigo) << " x " << double(c.x));
        EXPECT_EQ(r.Valor, c.resultado);
        EXPECT_EQ(r.Erro, c.erro);
    }
}

TEST(Transformacoes, CodeZeroAndUnknownCodes) {
    for (std::uint8_t codigo : {0, 15, 200, 255}) {
        for (const TValorTransformado &r : {FuncaoTransformacao(codigo, 3),
                                            FuncaoInversa(codigo, 3),
                                            DerivadaTransformacao(codigo, 3)}) {
            EXPECT_EQ(r.Valor, 0) << int(codigo);
            EXPECT_EQ(r.Erro, 0) << int(codigo);
        }
    }
}

// The inverse undoes the transformation and the derivative is the slope of the function, for
// every code and positive values from small to large.
TEST(Transformacoes, InverseAndDerivativeConsistency) {
    for (std::uint8_t codigo = 1; codigo <= 14; ++codigo) {
        for (long double x : {0.037L, 0.37L, 1.5L, 12.0L, 980.25L}) {
            SCOPED_TRACE(testing::Message() << "code " << int(codigo) << " x " << double(x));
            const TValorTransformado y = FuncaoTransformacao(codigo, x);
            const TValorTransformado inversa = FuncaoInversa(codigo, y.Valor);
            EXPECT_LT(Relativo(inversa.Valor, x), 1e-16L);
            // Central difference; its truncation error is of order h².
            const long double h = std::min(x, 1.0L) * 1e-5L;
            const long double inclinacao = (FuncaoTransformacao(codigo, x + h).Valor -
                                            FuncaoTransformacao(codigo, x - h).Valor) /
                                           (2 * h);
            const TValorTransformado derivada = DerivadaTransformacao(codigo, x);
            EXPECT_LT(Relativo(derivada.Valor, inclinacao), 1e-8L);
            EXPECT_EQ(y.Erro + inversa.Erro + derivada.Erro, 0);
        }
    }
    for (long double y : {-3.0L, 0.25L, 4.0L})
        EXPECT_EQ(FuncaoInversa(8, y).Valor, FuncaoTransformacao(8, y).Valor);
}

TEST(Transformacoes, WrittenForms) {
    const char *formas[] = {
        "0",
        "[Área]",
        "Ln([Área])",
        "Exp([Área])",
        "[Área]%^%2%",
        "[Área]%^%1/2%",
        "[Área]%^%3%",
        "[Área]%^%1/3%",
        "1/[Área]",
        "1/Ln([Área])",
        "Exp(-[Área])",
        "1/[Área]%^%2%",
        "1/[Área]%^%1/2%",
        "1/[Área]%^%3%",
        "1/[Área]%^%1/3%",
    };
    const char *prefixos[] = {"",    "",        "Exp(",   "Ln(", "(",   "(",   "(",  "(",
                              "1/(", "Exp{1/(", "Ln{1/(", "1/(", "1/(", "1/(", "1/("};
    const char *sufixos[] = {"",       "",         ")",      ")",        ")%^%1/2%",
                             ")%^%2%", ")%^%1/3%", ")%^%3%", ")",        ")}",
                             ")}",     ")%^%1/2%", ")%^%2%", ")%^%1/3%", ")%^%3%"};
    for (std::uint8_t codigo = 0; codigo <= 14; ++codigo) {
        EXPECT_EQ(NomeTransformacao("[Área]", codigo), formas[codigo]) << int(codigo);
        EXPECT_EQ(PrefixoInversa(codigo), prefixos[codigo]) << int(codigo);
        EXPECT_EQ(SufixoInversa(codigo), sufixos[codigo]) << int(codigo);
    }
    EXPECT_EQ(NomeTransformacao("[Área]", 15), "0");
    EXPECT_EQ(PrefixoInversa(15), "");
    EXPECT_EQ(DescricaoTransformacao(0), "Não usada");
    EXPECT_EQ(DescricaoTransformacao(12), "1/Raiz Quadrada");
    EXPECT_EQ(DescricaoTransformacao(15), "");
    // A long name keeps its exponent markers whole.
    const std::string longo = "[" + std::string(260, 'x') + "]";
    EXPECT_EQ(NomeTransformacao(longo, 12), "1/" + longo + "%^%1/2%");
}

