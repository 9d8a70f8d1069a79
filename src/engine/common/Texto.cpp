#include "common/Texto.h"

#include <array>

namespace zelto {

namespace {

// Windows-1252 0x80..0x9F; undefined positions keep the C1 control.
constexpr std::array<char32_t, 32> kAltos = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t DeByte(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) return kAltos[b - 0x80];
    return b;
}

int ParaByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (std::size_t i = 0; i < kAltos.size(); ++i)
        if (kAltos[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

// Decodes one UTF-8 sequence at s[i]; advances i. Invalid bytes decode as
// Windows-1252 so that texts of unknown origin never get lost.
char32_t ProximoCp(std::string_view s, std::size_t &i) {
    auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int n = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) {
        n = 1;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 2;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 3;
        cp = b0 & 0x07;
    } else {
        ++i;
        return DeByte(b0);
    }
    if (i + n >= s.size()) {
        ++i;
        return DeByte(b0);
    }
    for (int k = 1; k <= n; ++k) {
        auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return DeByte(b0);
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms and surrogates are not valid UTF-8.
    if ((n == 1 && cp < 0x80) || (n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) ||
        (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        ++i;
        return DeByte(b0);
    }
    i += n + 1;
    return cp;
}

} // namespace

void AcrescentaUtf8(std::string &out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::u32string DecodificaUtf8(std::string_view utf8) {
    std::u32string r;
    r.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) r += ProximoCp(utf8, i);
    return r;
}

std::string CodificaUtf8(std::u32string_view cps) {
    std::string r;
    r.reserve(cps.size());
    for (char32_t c : cps) AcrescentaUtf8(r, c);
    return r;
}

std::string DeCp1252(std::string_view bytes) {
    std::string r;
    r.reserve(bytes.size());
    for (unsigned char b : bytes) AcrescentaUtf8(r, DeByte(b));
    return r;
}

std::string ParaCp1252(std::string_view utf8) {
    std::string r;
    r.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        int b = ParaByte(ProximoCp(utf8, i));
        r += static_cast<char>(b < 0 ? '?' : b);
    }
    return r;
}

std::size_t TamanhoCp1252(std::string_view utf8) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size(); ++n) ProximoCp(utf8, i);
    return n;
}

std::string CortaCp1252(std::string_view utf8, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t k = 0; k < n && i < utf8.size(); ++k) ProximoCp(utf8, i);
    return std::string(utf8.substr(0, i));
}

char32_t MaiusculaCp(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    switch (c) {
    case 0xFF: return 0x178;
    case 0x161: return 0x160;
    case 0x153: return 0x152;
    case 0x17E: return 0x17D;
    default: return c;
    }
}

char32_t MinusculaCp(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    switch (c) {
    case 0x178: return 0xFF;
    case 0x160: return 0x161;
    case 0x152: return 0x153;
    case 0x17D: return 0x17E;
    default: return c;
    }
}

std::string Maiusculas(std::string_view utf8) {
    std::string r;
    r.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) AcrescentaUtf8(r, MaiusculaCp(ProximoCp(utf8, i)));
    return r;
}

std::string Minusculas(std::string_view utf8) {
    std::string r;
    r.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) AcrescentaUtf8(r, MinusculaCp(ProximoCp(utf8, i)));
    return r;
}

bool IguaisSemCaixa(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size())
        if (MaiusculaCp(ProximoCp(a, i)) != MaiusculaCp(ProximoCp(b, j))) return false;
    return i == a.size() && j == b.size();
}

std::string Apara(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::string_view AparaBrancos(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

namespace {

// Base letter of an accented Latin letter (upper case), or 0 when c is not one.
char32_t LetraBase(char32_t c) {
    c = MaiusculaCp(c);
    if (c >= 'A' && c <= 'Z') return c;
    static const char32_t *const kGrupos[] = {
        U"AÀÁÂÃÄÅÆ", U"CÇ", U"EÈÉÊË", U"IÌÍÎÏ", U"DÐ", U"NÑ", U"OÒÓÔÕÖØŒ", U"UÙÚÛÜ", U"YÝŸ",
        U"SŠ", U"ZŽ"};
    for (const char32_t *g : kGrupos)
        for (const char32_t *p = g + 1; *p; ++p)
            if (*p == c) return g[0];
    return 0;
}

struct Peso {
    std::uint32_t primario;
    std::uint32_t secundario;
};

Peso PesoDe(char32_t c) {
    if (c <= ' ' || c == 0xA0) return {1, 0};
    if (c >= '0' && c <= '9') return {0x200000 + (c - '0'), 0};
    if (char32_t b = LetraBase(c)) return {0x300000 + (b - 'A'), static_cast<std::uint32_t>(MaiusculaCp(c))};
    // Other letters of the wider repertoire sort after Z, by code point.
    if (c == 0xDF) return {0x300000 + ('S' - 'A'), 0xDF};
    if (c >= 0x100) return {0x400000 + c, 0};
    // Punctuation and symbols: before digits, in code point order.
    return {0x100 + c, 0};
}

} // namespace

int ComparaTextoLocal(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    int secundario = 0;
    while (i < a.size() && j < b.size()) {
        Peso pa = PesoDe(ProximoCp(a, i));
        Peso pb = PesoDe(ProximoCp(b, j));
        if (pa.primario != pb.primario) return pa.primario < pb.primario ? -1 : 1;
        if (secundario == 0 && pa.secundario != pb.secundario)
            secundario = pa.secundario < pb.secundario ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return secundario;
}

std::vector<std::string> Divide(std::string_view s, char sep) {
    std::vector<std::string> r;
    std::size_t b = 0;
    for (;;) {
        std::size_t e = s.find(sep, b);
        if (e == std::string_view::npos) {
            r.emplace_back(s.substr(b));
            return r;
        }
        r.emplace_back(s.substr(b, e - b));
        b = e + 1;
    }
}

} // namespace zelto
