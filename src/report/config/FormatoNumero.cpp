#include "config/FormatoNumero.h"

#include "common/Numeros.h"

#include <algorithm>
#include <cmath>

namespace zelto {

namespace {
constexpr int kDigitosSignificativos = 18;
}

std::string TFormatoNumero::Formata(long double x) const { return Formata(x, 18, nullptr); }

std::string TFormatoNumero::Formata(long double x, int limiteDecimais, int *usados) const {
    if (usados) *usados = -1;
    const int decimais = std::clamp(Decimais, 0, 18);
    const int digitos = std::max(Digitos, 1);
    auto acabamento = [&](std::string t) { return CompletarZeros ? t : RemoveZerosFinais(t); };
    if (std::isnan(x)) return "indefinido";
    if (x >= Infinito || x <= -Infinito || std::isinf(x)) return FormatoCientifico(x, decimais);
    if (x == 0) {
        // A zero shows as many decimals as the rest of its column.
        const int d = std::min(decimais, std::max(limiteDecimais, 0));
        if (usados) *usados = d;
        return acabamento(FormatoFixo(0, d));
    }

    const long double a = std::fabs(x);
    const int inteiros = a < 1 ? 1 : static_cast<int>(std::floor(std::log10(a))) + 1;
    // Past the digits an extended real holds, fixed notation would print noise (or hundreds of
    // digits): powers of ten even when scientific notation is refused.
    if (inteiros > kDigitosSignificativos || (inteiros > digitos && !NaoConverterCientifica))
        return acabamento(FormatoCientifico(x, decimais));
    int d = decimais;
    if (!NaoLimitarDecimais) d = std::min(d, std::max(digitos - inteiros, 0));
    d = std::min(d, std::max(limiteDecimais, 0));
    if (a < 0.5L * std::pow(10.0L, -d) && !NaoConverterCientifica)
        return acabamento(FormatoCientifico(x, decimais));
    if (usados) *usados = d;
    return acabamento(FormatoMilhar(x, d));
}

} // namespace zelto
