#include "common/Numeros.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace zelto {

namespace {

constexpr int kMaxDigitos = 18;

// Decimal digits of |x| rounded half away from zero to `sig` significant
// digits, with its decimal exponent: |x| = 0.d1d2d3... * 10^expoente. A `sig`
// of 0 or less keeps nothing (the value rounds to 0 or to one unit of the
// first discarded place).
struct Digitos {
    std::string d;
    int expoente = 0;
};

Digitos DigitosExatos(long double ax) {
    // 40 digits after the first are far more than an 80-bit value carries, so
    // the rounding below sees ties exactly as they are.
    char buf[96];
    auto res = std::to_chars(buf, buf + sizeof buf, ax, std::chars_format::scientific, 40);
    std::string_view s(buf, res.ptr - buf);
    Digitos r;
    std::size_t e = s.find('e');
    for (char c : s.substr(0, e))
        if (c >= '0' && c <= '9') r.d += c;
    int ex = 0;
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), ex);
    r.expoente = ex + 1;
    return r;
}

Digitos Arredonda(Digitos g, int sig) {
    g.d.insert(g.d.begin(), '0'); // room for a carry
    ++g.expoente;
    ++sig;
    if (sig < 1) return {"0", g.expoente};
    if (sig < static_cast<int>(g.d.size())) {
        bool sobe = g.d[sig] >= '5';
        g.d.resize(sig);
        for (int i = sig - 1; sobe && i >= 0; --i) {
            if (g.d[i] == '9') {
                g.d[i] = '0';
            } else {
                ++g.d[i];
                sobe = false;
            }
        }
    }
    if (g.d[0] == '0' && g.d.size() > 1) {
        g.d.erase(g.d.begin());
        --g.expoente;
    }
    return g;
}

Digitos DigitosSignificativos(long double ax, int sig) { return Arredonda(DigitosExatos(ax), sig); }

bool TodosZeros(std::string_view s) {
    for (char c : s)
        if (c >= '1' && c <= '9') return false;
    return true;
}

// Fixed text of |x| with d decimals and "." as the decimal point, at most 18
// significant digits (further places are written as zeros).
std::string FixoAbsoluto(long double ax, int d) {
    Digitos g = DigitosExatos(ax);
    if (ax == 0) g = {"0", 1};
    g = Arredonda(g, std::min(g.expoente + d, kMaxDigitos));
    auto digito = [&](int k) { return (k >= 0 && k < static_cast<int>(g.d.size())) ? g.d[k] : '0'; };
    std::string inteiro;
    for (int i = 0; i < g.expoente; ++i) inteiro += digito(i);
    if (inteiro.empty()) inteiro = "0";
    std::string frac;
    for (int i = 0; i < d; ++i) frac += digito(g.expoente + i);
    return d > 0 ? inteiro + "." + frac : inteiro;
}

std::string ComSinal(long double x, std::string corpo) {
    for (char &c : corpo)
        if (c == '.') c = ',';
    if (std::signbit(x) && !TodosZeros(corpo)) corpo.insert(corpo.begin(), '-');
    return corpo;
}

std::string Especial(long double x) {
    if (std::isnan(x)) return "NAN";
    return x > 0 ? "INF" : "-INF";
}

} // namespace

std::string FormatoFixo(long double x, int d) {
    if (!std::isfinite(x)) return Especial(x);
    if (d < 0) d = 0;
    if (d > kMaxDigitos) d = kMaxDigitos;
    return ComSinal(x, FixoAbsoluto(std::fabs(x), d));
}

std::string FormatoMilhar(long double x, int d) {
    std::string s = FormatoFixo(x, d);
    if (!std::isfinite(x)) return s;
    std::size_t inicio = (!s.empty() && s[0] == '-') ? 1 : 0;
    std::size_t fim = s.find(',');
    if (fim == std::string::npos) fim = s.size();
    std::string r = s.substr(0, inicio);
    std::size_t n = fim - inicio;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) r += '.';
        r += s[inicio + i];
    }
    return r + s.substr(fim);
}

std::string FormatoCientifico(long double x, int d) {
    if (x == 0) return "0";
    if (!std::isfinite(x)) return Especial(x);
    long double ax = std::fabs(x);
    int e = static_cast<int>(std::trunc(std::log10(ax)));
    long double m = x / std::pow(10.0L, static_cast<long double>(e));
    if (std::fabs(m) < 1) {
        m *= 10;
        --e;
    } else if (std::fabs(m) >= 10) {
        m /= 10;
        ++e;
    }
    return FormatoFixo(m, d) + "###" + std::to_string(e) + "%";
}

std::string FormatoSignificativo(long double x, int n) {
    if (n < 1) n = 1;
    if (x == 0) return "0";
    if (!std::isfinite(x)) return Especial(x);
    long double a = std::fabs(x);
    if (a > 1) {
        int k = static_cast<int>(std::trunc(std::log10(a)));
        if (k < n + 2) return FormatoFixo(x, n - k - 1);
        return FormatoCientifico(x, n - 1);
    }
    int k = static_cast<int>(std::trunc((std::log(a) - 1) / 2.302585L));
    if (k - n > -(n + 2)) return FormatoFixo(x, n - k - 1);
    return FormatoCientifico(x, n - 1);
}

std::string RemoveZerosFinais(std::string_view texto) {
    std::size_t pct = texto.find('%');
    std::string parte(texto.substr(0, pct));
    std::string resto = pct == std::string_view::npos ? std::string() : std::string(texto.substr(pct));
    std::size_t virg = parte.find(',');
    if (virg != std::string::npos) {
        // The fractional part ends at the first character that is not a digit
        // (the "###" of the scientific form), or at the end.
        std::size_t fim = virg + 1;
        while (fim < parte.size() && parte[fim] >= '0' && parte[fim] <= '9') ++fim;
        std::size_t corte = fim;
        while (corte > virg + 1 && parte[corte - 1] == '0') --corte;
        if (corte == virg + 1) corte = virg;
        parte = parte.substr(0, corte) + parte.substr(fim);
    }
    return parte + resto;
}

std::string FormatoGeral(long double x) {
    if (x == 0) return "0";
    if (!std::isfinite(x)) return Especial(x);
    long double ax = std::fabs(x);
    Digitos g = DigitosSignificativos(ax, 15);
    while (g.d.size() > 1 && g.d.back() == '0') g.d.pop_back();
    std::string corpo;
    if (g.expoente > 15 || ax < 1e-5L) {
        corpo = g.d.substr(0, 1);
        if (g.d.size() > 1) corpo += "," + g.d.substr(1);
        corpo += "E" + std::to_string(g.expoente - 1);
    } else if (g.expoente <= 0) {
        corpo = "0," + std::string(-g.expoente, '0') + g.d;
    } else {
        std::string d = g.d;
        if (static_cast<int>(d.size()) < g.expoente) d.append(g.expoente - d.size(), '0');
        corpo = d.substr(0, g.expoente);
        if (static_cast<int>(d.size()) > g.expoente) corpo += "," + d.substr(g.expoente);
    }
    return (x < 0 ? "-" : "") + corpo;
}

bool ConverteNumero(std::string_view texto, long double &x) {
    std::size_t i = 0, n = texto.size();
    auto branco = [&](std::size_t k) { return k < n && (texto[k] == ' ' || texto[k] == '\t'); };
    auto digito = [&](std::size_t k) { return k < n && texto[k] >= '0' && texto[k] <= '9'; };
    while (branco(i)) ++i;
    std::string c;
    if (i < n && (texto[i] == '+' || texto[i] == '-')) c += texto[i++];
    bool algum = false;
    while (digito(i)) {
        c += texto[i++];
        algum = true;
    }
    if (i < n && texto[i] == ',') {
        c += '.';
        ++i;
        while (digito(i)) {
            c += texto[i++];
            algum = true;
        }
    }
    if (!algum) return false;
    if (i < n && (texto[i] == 'e' || texto[i] == 'E')) {
        c += 'e';
        ++i;
        if (i < n && (texto[i] == '+' || texto[i] == '-')) c += texto[i++];
        if (!digito(i)) return false;
        while (digito(i)) c += texto[i++];
    }
    while (branco(i)) ++i;
    if (i != n) return false;
    // from_chars neither takes a "+" nor depends on the C locale.
    std::string_view cv(c);
    if (!cv.empty() && cv[0] == '+') cv.remove_prefix(1);
    long double v = 0;
    auto res = std::from_chars(cv.data(), cv.data() + cv.size(), v);
    if (res.ec != std::errc() || !std::isfinite(v)) return false;
    x = v;
    return true;
}

bool ConverteInteiro(std::string_view texto, long long &n) {
    std::string t;
    for (char c : texto)
        if (c != ' ' && c != '\t') t += c;
    if (t.empty()) return false;
    std::size_t i = (t[0] == '+' || t[0] == '-') ? 1 : 0;
    if (i == t.size() || t.size() - i > 18) return false;
    for (std::size_t k = i; k < t.size(); ++k)
        if (t[k] < '0' || t[k] > '9') return false;
    n = std::strtoll(t.c_str(), nullptr, 10);
    return true;
}

} // namespace zelto
