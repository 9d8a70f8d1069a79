#include "common/Marcacao.h"

#include <algorithm>

namespace zelto {

namespace {

constexpr std::string_view kPotencia = "###", kSobrescrito = "%^%", kInfinito = "4932";
constexpr std::string_view kSinalInfinito = "\xE2\x88\x9E"; // U+221E

bool DoMantissa(char c) { return (c >= '0' && c <= '9') || c == ',' || c == '.'; }

} // namespace

std::string Literal(std::string_view texto) {
    if (texto.find_first_of("#%\xEE") == std::string_view::npos) return std::string(texto);
    std::string r;
    r.reserve(texto.size() + 8);
    for (std::size_t i = 0; i < texto.size(); ++i) {
        const char c = texto[i];
        if (c == '#') {
            r += EscapeLiteralUtf8;
            r += 'h';
        } else if (c == '%') {
            r += EscapeLiteralUtf8;
            r += 'p';
        } else if (texto.substr(i, 3) == EscapeLiteralUtf8) {
            r += EscapeLiteralUtf8;
            r += 'e';
            i += 2;
        } else {
            r += c;
        }
    }
    return r;
}

std::string Desfaz(std::string_view texto) {
    if (texto.find(EscapeLiteralUtf8) == std::string_view::npos) return std::string(texto);
    std::string r;
    r.reserve(texto.size());
    for (std::size_t i = 0; i < texto.size(); ++i) {
        if (texto.substr(i, 3) == EscapeLiteralUtf8 && i + 3 < texto.size()) {
            const char l = texto[i + 3];
            if (l == 'h' || l == 'p' || l == 'e') {
                if (l == 'e') r += EscapeLiteralUtf8;
                else r += l == 'h' ? '#' : '%';
                i += 3;
                continue;
            }
        }
        r += texto[i];
    }
    return r;
}

std::vector<TTrechoMarcacao> DivideMarcacao(std::string_view texto) {
    std::vector<TTrechoMarcacao> v;
    auto simples = [&v](std::string_view t) {
        if (!t.empty()) v.push_back({TTrechoMarcacao::Simples, Desfaz(t), {}});
    };
    std::size_t i = 0;
    while (i < texto.size()) {
        const std::size_t p = texto.find(kPotencia, i), s = texto.find(kSobrescrito, i);
        const std::size_t marca = std::min(p, s);
        const std::size_t fim =
            marca == std::string_view::npos ? marca : texto.find('%', marca + 3);
        if (fim == std::string_view::npos) break; // no mark, or one never closed: plain text
        const std::string_view dentro = texto.substr(marca + 3, fim - marca - 3);
        if (marca == s) {
            simples(texto.substr(i, marca - i));
            v.push_back({TTrechoMarcacao::Sobrescrito, Desfaz(dentro), {}});
        } else {
            std::size_t inicio = marca;
            while (inicio > i && DoMantissa(texto[inicio - 1])) --inicio;
            simples(texto.substr(i, inicio - i));
            std::string mantissa(texto.substr(inicio, marca - inicio));
            if (dentro == kInfinito)
                v.push_back({TTrechoMarcacao::Infinito, std::move(mantissa), {}});
            else
                v.push_back({TTrechoMarcacao::Potencia, std::move(mantissa), Desfaz(dentro)});
        }
        i = fim + 1;
    }
    if (i < texto.size()) simples(texto.substr(i));
    return v;
}

std::string TextoSimples(std::string_view texto) {
    std::string r;
    r.reserve(texto.size());
    for (const TTrechoMarcacao &t : DivideMarcacao(texto)) switch (t.Tipo) {
        case TTrechoMarcacao::Simples: r += t.Texto; break;
        case TTrechoMarcacao::Sobrescrito: r += "^(" + t.Texto + ")"; break;
        case TTrechoMarcacao::Potencia: r += t.Texto + "x10^" + t.Expoente; break;
        case TTrechoMarcacao::Infinito: r += kSinalInfinito; break;
        }
    return r;
}

std::string TextoVisivel(std::string_view texto) {
    std::string r;
    r.reserve(texto.size());
    for (const TTrechoMarcacao &t : DivideMarcacao(texto)) switch (t.Tipo) {
        case TTrechoMarcacao::Simples:
        case TTrechoMarcacao::Sobrescrito: r += t.Texto; break;
        case TTrechoMarcacao::Potencia: r += t.Texto + "x10" + t.Expoente; break;
        // Measured as written out, which the table layouts of every report were made with.
        case TTrechoMarcacao::Infinito: r += t.Texto + "x10" + std::string(kInfinito); break;
        }
    return r;
}

} // namespace zelto
