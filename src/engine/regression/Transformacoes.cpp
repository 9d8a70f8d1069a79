#include "regression/Transformacoes.h"

#include "common/Numeros.h"

#include <array>
#include <cmath>

namespace zelto {

namespace {

// One evaluation of a formula. Every elementary step checks its own result, so that a fault
// in an intermediate value (1/x² with x² overflowing, say) is noticed even when the final
// value looks harmless; the caller then turns the fault into code 1 and the result 0.
// The logarithm and the power note codes 5, 4 and 6 themselves (the last one noted stands) and
// return the marker: those are not faults.
class Conta {
  public:
    bool Falhou() const { return falha_; }
    std::uint8_t Erro() const { return erro_; }

    long double Mult(long double a, long double b) { return Confere(a * b, a != 0 && b != 0); }

    long double Div(long double a, long double b) {
        if (b == 0 || std::isnan(b)) {
            falha_ = true;
            return 0;
        }
        return Confere(a / b, a != 0);
    }

    long double Raiz(long double a) {
        if (!(a >= 0)) { // negative or NaN
            falha_ = true;
            return 0;
        }
        return Confere(std::sqrt(a));
    }

    // e^a; an overflow and an underflow are faults (e^a is never 0).
    long double Exp(long double a) { return Confere(std::exp(a), true); }

    long double Ln(long double a) {
        if (std::isnan(a)) {
            falha_ = true;
            return 0;
        }
        if (a <= 0) {
            erro_ = 5;
            return -Infinito;
        }
        return Confere(std::log(a));
    }

    // a^b as e^(b·ln a), with the rules for a zero or negative base.
    long double Pot(long double a, long double b) {
        if (std::isnan(a) || std::isnan(b)) {
            falha_ = true;
            return 0;
        }
        if (a == 0) {
            if (b > 0) return 0;
            erro_ = 4;
            return Infinito;
        }
        if (a > 0) return Exp(Mult(b, Ln(a)));
        if (b != std::trunc(b)) {
            erro_ = 6;
            return Infinito;
        }
        const long double r = Exp(Mult(b, Ln(-a)));
        return std::fmod(b, 2.0L) != 0 ? -r : r;
    }

  private:
    // A result that is not finite is a fault; so is one that underflowed (to a subnormal value,
    // or to 0 when `naoNulo` says the exact result is not 0): its digits are gone, and a column
    // of such values would look constant to the regression.
    long double Confere(long double v, bool naoNulo = false) {
        if (!std::isfinite(v) || std::fpclassify(v) == FP_SUBNORMAL || (naoNulo && v == 0))
            falha_ = true;
        return v;
    }

    bool falha_ = false;
    std::uint8_t erro_ = 0;
};

constexpr long double UmTerco = 1.0L / 3.0L;

// Runs one formula; a fault gives code 1 and 0.
template <class Formula> TValorTransformado Avalia(Formula formula) {
    Conta c;
    const long double r = formula(c);
    if (c.Falhou()) return {0, 1};
    return {r, c.Erro()};
}

long double Cubo(Conta &c, long double x) {
    return c.Mult(c.Mult(x, x), x);
}

long double Aplica(Conta &c, std::uint8_t codigo, long double x) {
    switch (codigo) {
    case 1:
        return x;
    case 2:
        return c.Ln(x);
    case 3:
        return c.Exp(x);
    case 4:
        return c.Mult(x, x);
    case 5:
        return c.Raiz(x);
    case 6:
        return Cubo(c, x);
    case 7:
        return c.Pot(x, UmTerco);
    case 8:
        return c.Div(1, x);
    case 9:
        return c.Div(1, c.Ln(x));
    case 10:
        return c.Exp(-x);
    case 11:
        return c.Div(1, c.Mult(x, x));
    case 12:
        return c.Div(1, c.Raiz(x));
    case 13:
        return c.Div(1, Cubo(c, x));
    case 14:
        return c.Pot(x, -UmTerco);
    default:
        return 0;
    }
}

long double Inverte(Conta &c, std::uint8_t codigo, long double y) {
    switch (codigo) {
    case 1:
        return y;
    case 2:
        return c.Exp(y);
    case 3:
        return c.Ln(y);
    case 4:
        return c.Raiz(y);
    case 5:
        return c.Mult(y, y);
    case 6:
        return c.Pot(y, UmTerco);
    case 7:
        return Cubo(c, y);
    case 8:
        return c.Div(1, y);
    case 9:
        return c.Exp(c.Div(1, y));
    case 10:
        return c.Ln(c.Div(1, y));
    case 11:
        return c.Raiz(c.Div(1, y));
    case 12: {
        const long double r = c.Div(1, y);
        return c.Mult(r, r);
    }
    case 13:
        return c.Pot(y, -UmTerco);
    case 14:
        return c.Div(1, Cubo(c, y));
    default:
        return 0;
    }
}

long double Deriva(Conta &c, std::uint8_t codigo, long double x) {
    switch (codigo) {
    case 1:
        return 1;
    case 2:
        return c.Div(1, x);
    case 3:
        return c.Exp(x);
    case 4:
        return c.Mult(2, x);
    case 5:
        return c.Div(1, c.Mult(2, c.Raiz(x)));
    case 6:
        return c.Mult(3, c.Mult(x, x));
    case 7:
        return c.Div(c.Pot(x, -2 * UmTerco), 3);
    case 8:
        return -c.Div(1, c.Mult(x, x));
    case 9: {
        const long double l = c.Ln(x);
        return -c.Div(1, c.Mult(x, c.Mult(l, l)));
    }
    case 10:
        return -c.Exp(-x);
    case 11:
        return -c.Div(2, Cubo(c, x));
    case 12:
        return -c.Div(c.Pot(x, -1.5L), 2);
    case 13: {
        const long double x2 = c.Mult(x, x);
        return -c.Div(3, c.Mult(x2, x2));
    }
    case 14:
        return -c.Div(c.Pot(x, -4 * UmTerco), 3);
    default:
        return 0;
    }
}

struct Molde {
    std::string_view antes, depois;
};

// Written form: antes + v + depois.
constexpr std::array<Molde, 15> Formas = {{
    {"", ""},
    {"", ""},
    {"Ln(", ")"},
    {"Exp(", ")"},
    {"", "%^%2%"},
    {"", "%^%1/2%"},
    {"", "%^%3%"},
    {"", "%^%1/3%"},
    {"1/", ""},
    {"1/Ln(", ")"},
    {"Exp(-", ")"},
    {"1/", "%^%2%"},
    {"1/", "%^%1/2%"},
    {"1/", "%^%3%"},
    {"1/", "%^%1/3%"},
}};

// Inverse around the linear predictor: prefix + predictor + suffix.
constexpr std::array<Molde, 15> Inversas = {{
    {"", ""},
    {"", ""},
    {"Exp(", ")"},
    {"Ln(", ")"},
    {"(", ")%^%1/2%"},
    {"(", ")%^%2%"},
    {"(", ")%^%1/3%"},
    {"(", ")%^%3%"},
    {"1/(", ")"},
    {"Exp{1/(", ")}"},
    {"Ln{1/(", ")}"},
    {"1/(", ")%^%1/2%"},
    {"1/(", ")%^%2%"},
    {"1/(", ")%^%1/3%"},
    {"1/(", ")%^%3%"},
}};

constexpr std::array<std::string_view, 15> Descricoes = {
    "Não usada",     "Proporcional", "Logarítmica",     "Exponencial", "Quadrática",
    "Raiz Quadrada", "Cúbica",       "Raiz Cúbica",     "Inversa",     "1/Logarítmica",
    "1/Exponencial", "1/Quadrática", "1/Raiz Quadrada", "1/Cúbica",    "1/Raiz Cúbica",
};

} // namespace

TValorTransformado FuncaoTransformacao(std::uint8_t codigo, long double x) {
    return Avalia([&](Conta &c) { return Aplica(c, codigo, x); });
}

TValorTransformado FuncaoInversa(std::uint8_t codigo, long double y) {
    return Avalia([&](Conta &c) { return Inverte(c, codigo, y); });
}

TValorTransformado DerivadaTransformacao(std::uint8_t codigo, long double x) {
    return Avalia([&](Conta &c) { return Deriva(c, codigo, x); });
}

std::string NomeTransformacao(std::string_view v, std::uint8_t codigo) {
    // The written form is not cut at 255 characters: a cut would break the exponent markers
    // of a long variable name, and the equation texts grow as needed.
    if (codigo == 0 || codigo > MaiorCodigoTransformacao) return "0";
    const Molde &m = Formas[codigo];
    std::string r;
    r.reserve(m.antes.size() + v.size() + m.depois.size());
    r.append(m.antes).append(v).append(m.depois);
    return r;
}

std::string_view PrefixoInversa(std::uint8_t codigo) {
    return codigo <= MaiorCodigoTransformacao ? Inversas[codigo].antes : std::string_view();
}

std::string_view SufixoInversa(std::uint8_t codigo) {
    return codigo <= MaiorCodigoTransformacao ? Inversas[codigo].depois : std::string_view();
}

std::string_view DescricaoErroTransformacao(std::uint8_t erro) {
    switch (erro) {
    case 4:
        return "zero elevado a potência não positiva";
    case 5:
        return "logaritmo de zero ou de número negativo";
    case 6:
        return "potência fracionária de número negativo";
    default:
        return "erro aritmético";
    }
}

std::string_view DescricaoTransformacao(std::uint8_t codigo) {
    return codigo <= MaiorCodigoTransformacao ? Descricoes[codigo] : std::string_view();
}

} // namespace zelto
