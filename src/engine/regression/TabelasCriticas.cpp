#include "regression/TabelasCriticas.h"

#include "regression/LimitesDW.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

namespace zelto {

namespace {

// Chauvenet's ratio by number of samples, in hundredths.
constexpr std::array<unsigned, 19> NChauvenet = {5,  6,  7,  8,  9,  10, 12, 14,  16, 18,
                                                 20, 22, 24, 26, 30, 40, 50, 100, 200};
constexpr std::array<unsigned, 19> RazaoChauvenet = {
    165, 172, 179, 186, 192, 195, 202, 209, 216, 220, 224, 227, 231, 234, 239, 250, 258, 280, 302};

template <std::size_t Colunas> struct Linha {
    unsigned n;
    std::array<unsigned, Colunas> v;
};

// Arley's critical values by n, in thousandths; columns 10 %, 5 %, 1 %, 0.1 %.
constexpr std::array<Linha<4>, 40> TabelaArley = {{
    {1, {1397, 1409, 1414, 1414}},   {2, {1559, 1645, 1715, 1730}},
    {3, {1611, 1757, 1918, 1982}},   {4, {1631, 1814, 2051, 2178}},
    {5, {1640, 1848, 2142, 2329}},   {6, {1644, 1870, 2208, 2447}},
    {7, {1647, 1885, 2256, 2540}},   {8, {1648, 1895, 2294, 2616}},
    {9, {1649, 1903, 2324, 2678}},   {10, {1649, 1910, 2348, 2730}},
    {11, {1649, 1916, 2368, 2774}},  {12, {1649, 1920, 2385, 2812}},
    {13, {1649, 1923, 2399, 2845}},  {14, {1649, 1926, 2412, 2874}},
    {15, {1649, 1928, 2423, 2899}},  {16, {1649, 1931, 2432, 2921}},
    {17, {1649, 1933, 2440, 2941}},  {18, {1649, 1935, 2447, 2959}},
    {19, {1649, 1936, 2454, 2975}},  {20, {1649, 1937, 2460, 2990}},
    {21, {1649, 1938, 2465, 3003}},  {22, {1648, 1940, 2470, 3015}},
    {23, {1648, 1941, 2475, 3026}},  {24, {1648, 1941, 2479, 3037}},
    {25, {1648, 1942, 2483, 3047}},  {26, {1648, 1943, 2487, 3056}},
    {27, {1648, 1943, 2490, 3064}},  {28, {1648, 1944, 2492, 3071}},
    {29, {1648, 1945, 2495, 3078}},  {30, {1648, 1945, 2498, 3085}},
    {35, {1648, 1948, 2509, 3113}},  {40, {1648, 1949, 2518, 3124}},
    {45, {1647, 1950, 2524, 3152}},  {50, {1647, 1951, 2529, 3166}},
    {60, {1646, 1953, 2537, 3186}},  {70, {1646, 1954, 2542, 3201}},
    {80, {1646, 1955, 2547, 3211}},  {90, {1646, 1956, 2550, 3220}},
    {100, {1646, 1956, 2553, 3227}}, {120, {1646, 1957, 2556, 3237}},
}};

// Kolmogorov–Smirnov critical distance for n <= 50, in thousandths;
// columns 20 %, 15 %, 10 %, 5 %, 1 %.
constexpr std::array<Linha<5>, 26> TabelaKS = {{
    {1, {900, 925, 950, 975, 995}},  {2, {684, 726, 776, 842, 929}},
    {3, {565, 597, 642, 708, 829}},  {4, {494, 525, 564, 624, 734}},
    {5, {446, 474, 510, 563, 669}},  {6, {410, 436, 470, 521, 618}},
    {7, {381, 405, 438, 486, 577}},  {8, {358, 381, 411, 457, 543}},
    {9, {339, 360, 388, 432, 514}},  {10, {322, 342, 368, 409, 486}},
    {11, {307, 326, 352, 391, 468}}, {12, {295, 313, 338, 375, 450}},
    {13, {284, 302, 325, 361, 433}}, {14, {274, 292, 314, 349, 418}},
    {15, {266, 283, 304, 338, 404}}, {16, {258, 274, 295, 328, 391}},
    {17, {250, 266, 286, 318, 380}}, {18, {244, 259, 278, 309, 370}},
    {19, {237, 252, 272, 301, 361}}, {20, {231, 246, 264, 294, 352}},
    {25, {210, 220, 240, 264, 317}}, {30, {190, 200, 220, 242, 290}},
    {35, {180, 190, 210, 224, 269}}, {40, {169, 180, 193, 210, 252}},
    {45, {160, 170, 182, 198, 238}}, {50, {151, 161, 173, 188, 227}},
}};

// Durbin–Watson bounds {dL, dU} in hundredths, by class of n, level (1 %, 2.5 %, 5 %)
// and k' = 1..5.
constexpr unsigned TabelaDW[9][3][5][2] = {
    {
        // n up to 15
        {{81, 107}, {70, 125}, {59, 146}, {49, 170}, {39, 196}},
        {{95, 123}, {83, 140}, {71, 161}, {59, 184}, {48, 209}},
        {{108, 136}, {95, 154}, {82, 175}, {69, 197}, {56, 221}},
    },
    {
        // n 16 to 20
        {{95, 115}, {86, 127}, {77, 141}, {68, 157}, {60, 174}},
        {{108, 128}, {99, 141}, {89, 155}, {79, 170}, {70, 187}},
        {{120, 141}, {110, 154}, {100, 168}, {90, 183}, {79, 199}},
    },
    {
        // n 21 to 25
        {{105, 121}, {98, 130}, {90, 141}, {83, 152}, {75, 165}},
        {{118, 134}, {110, 143}, {102, 154}, {94, 165}, {86, 177}},
        {{129, 145}, {121, 155}, {112, 166}, {104, 177}, {95, 189}},
    },
    {
        // n 26 to 30
        {{113, 126}, {107, 134}, {101, 142}, {94, 151}, {88, 161}},
        {{125, 138}, {118, 146}, {112, 154}, {105, 163}, {98, 173}},
        {{135, 149}, {128, 157}, {121, 165}, {114, 174}, {107, 183}},
    },
    {
        // n 31 to 40
        {{125, 134}, {120, 140}, {115, 146}, {110, 152}, {105, 158}},
        {{135, 145}, {130, 151}, {125, 157}, {120, 163}, {115, 169}},
        {{144, 154}, {139, 160}, {134, 166}, {129, 172}, {123, 179}},
    },
    {
        // n 41 to 50
        {{132, 140}, {128, 145}, {124, 149}, {120, 154}, {116, 159}},
        {{142, 150}, {138, 154}, {134, 159}, {130, 164}, {126, 169}},
        {{150, 159}, {146, 163}, {142, 167}, {138, 172}, {134, 177}},
    },
    {
        // n 51 to 60
        {{138, 145}, {135, 148}, {132, 152}, {128, 156}, {125, 160}},
        {{147, 154}, {144, 157}, {140, 161}, {137, 165}, {133, 169}},
        {{155, 162}, {151, 165}, {148, 169}, {144, 173}, {141, 177}},
    },
    {
        // n 61 to 80
        {{147, 152}, {144, 154}, {142, 157}, {139, 160}, {136, 162}},
        {{154, 159}, {152, 162}, {149, 165}, {147, 167}, {144, 170}},
        {{161, 166}, {159, 169}, {156, 172}, {153, 174}, {151, 177}},
    },
    {
        // n over 80
        {{152, 156}, {150, 158}, {148, 160}, {146, 163}, {144, 165}},
        {{159, 163}, {157, 165}, {155, 167}, {153, 170}, {151, 172}},
        {{165, 169}, {163, 172}, {161, 174}, {159, 176}, {157, 178}},
    },
};

// Linear interpolation over rows (n[i], v[i]) of a table in units of 1/escala: the first row
// whose n is >= the argument (the last row when there is none) and the row before it; the
// first row's value below the table.
template <class N, class V>
long double Interpola(const N &ns, const V &vs, unsigned n, long double escala) {
    std::size_t i = 0;
    while (i + 1 < ns.size() && ns[i] < n)
        ++i;
    if (ns[i] == n || i == 0) return vs[i] / escala;
    const long double n0 = ns[i - 1], n1 = ns[i];
    const long double v0 = vs[i - 1], v1 = vs[i];
    return (v0 + (v1 - v0) * (n - n0) / (n1 - n0)) / escala;
}

template <std::size_t Linhas, std::size_t Colunas>
long double InterpolaColuna(const std::array<Linha<Colunas>, Linhas> &tabela, std::size_t coluna,
                            unsigned n, long double escala) {
    std::array<unsigned, Linhas> ns{}, vs{};
    for (std::size_t i = 0; i < Linhas; ++i) {
        ns[i] = tabela[i].n;
        vs[i] = tabela[i].v[coluna];
    }
    return Interpola(ns, vs, n, escala);
}

bool Perto(long double a, long double b) {
    return std::fabs(a - b) <= 1e-9L;
}

unsigned ClasseDW(unsigned n) {
    if (n == 0) return 8;
    constexpr std::array<unsigned, 8> limites = {15, 20, 25, 30, 40, 50, 60, 80};
    unsigned c = 0;
    while (c < limites.size() && n > limites[c])
        ++c;
    return c;
}

constexpr long double NiveisDW[3] = {0.01L, 0.025L, 0.05L};

unsigned NivelDW(long double alfa) {
    return Perto(alfa, 0.01L) ? 0 : Perto(alfa, 0.025L) ? 1 : 2;
}

// {dL, dU} in hundredths.
const unsigned *ParDW(unsigned n, unsigned kLinha, long double alfa) {
    const unsigned k = kLinha < 1 ? 0 : kLinha > 5 ? 4 : kLinha - 1;
    return TabelaDW[ClasseDW(n)][NivelDW(alfa)][k];
}

// The bounds computed for n and k' outside the table (fewer than 15 or more than 100 samples,
// more than 5 regressors); nothing inside it, or where they cannot be computed.
std::optional<TLimitesDW> ForaDaTabelaDW(unsigned n, unsigned kLinha, long double alfa) {
    if (n == 0 || kLinha == 0 || (n >= 15 && n <= 100 && kLinha <= 5)) return std::nullopt;
    return LimitesDWCalculados(n, kLinha, NiveisDW[NivelDW(alfa)]);
}

} // namespace

long double ValorChauvenet(unsigned n) {
    return Interpola(NChauvenet, RazaoChauvenet, n, 100);
}

long double ValorArley(unsigned n, long double nivel) {
    const std::size_t coluna = Perto(nivel, 5)      ? 1
                               : Perto(nivel, 1)    ? 2
                               : Perto(nivel, 0.1L) ? 3
                                                    : 0;
    return InterpolaColuna(TabelaArley, coluna, n, 1000);
}

long double CriticoKS(int nivel, unsigned n) {
    if (n > 50) {
        long double c;
        switch (nivel) {
        case 20:
            c = 1.07L;
            break;
        case 15:
            c = 1.14L;
            break;
        case 10:
            c = 1.22L;
            break;
        case 5:
            c = 1.36L;
            break;
        case 1:
            c = 1.63L;
            break;
        default:
            return 0;
        }
        return c / std::sqrt(static_cast<long double>(n));
    }
    const int coluna = 5 - nivel / 5; // 1 = 20 %, ..., 5 = 1 %
    if (nivel < 0 || coluna < 1) return 0;
    return InterpolaColuna(TabelaKS, static_cast<std::size_t>(coluna - 1), n, 1000);
}

long double LimiteBaixoDW(unsigned n, unsigned kLinha, long double alfa) {
    if (const auto calculados = ForaDaTabelaDW(n, kLinha, alfa)) return calculados->Inferior;
    return ParDW(n, kLinha, alfa)[0] / 100.0L;
}

long double LimiteAltoDW(unsigned n, unsigned kLinha, long double alfa) {
    if (const auto calculados = ForaDaTabelaDW(n, kLinha, alfa)) return calculados->Superior;
    return ParDW(n, kLinha, alfa)[1] / 100.0L;
}

} // namespace zelto
