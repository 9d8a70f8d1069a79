#include "search/ListaModelos.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace zelto {

namespace {

// A long double as the nearest double, with ±infinity beyond the double range (the rounding is
// monotone, which is all the filter needs).
double Duplo(long double x) {
    if (std::isnan(x)) return std::numeric_limits<double>::quiet_NaN();
    if (x > static_cast<long double>(DBL_MAX)) return std::numeric_limits<double>::infinity();
    if (x < -static_cast<long double>(DBL_MAX)) return -std::numeric_limits<double>::infinity();
    return static_cast<double>(x);
}

long double Chave(CriterioPesquisa c, const TModeloPesquisado &m) {
    switch (c) {
    case cpSignificanciaModelo:
        return m.F;
    case cpRegressores:
        return m.Significativos;
    case cpR2Ajustado:
        return m.R2Ajustado;
    case cpCorrelacao:
    case cpGrau: // searched by R
        break;
    }
    return m.R;
}

// Same model: exactly equal R and, for every term of `novo` (the dependent column and each
// column with a code), the same code.
bool MesmoModelo(const TModeloPesquisado &slot, const TModeloPesquisado &novo, int D) {
    if (slot.R != novo.R) return false;
    for (int c = 1; c <= kMaximoVariaveisPesquisa; ++c)
        if ((c == D || novo.Codigos[c] != 0) && slot.Codigos[c] != novo.Codigos[c]) return false;
    return true;
}

} // namespace

double ChaveFiltro(CriterioPesquisa c, long double R, long double F, long double R2Ajustado,
                   unsigned significativos) {
    switch (c) {
    case cpSignificanciaModelo:
        return Duplo(F);
    case cpRegressores:
        return static_cast<double>(significativos) + Duplo(R) * 0.5;
    case cpR2Ajustado:
        return Duplo(R2Ajustado);
    case cpCorrelacao:
    case cpGrau: // searched by R
        break;
    }
    return Duplo(R);
}

double ChaveFiltro(CriterioPesquisa c, const TModeloPesquisado &m) {
    return ChaveFiltro(c, m.R, m.F, m.R2Ajustado, m.Significativos);
}

// ---- The list ------------------------------------------------------------------------------

void TListaMelhores::Limpa() {
    slots_.fill(TModeloPesquisado{});
    contador_ = 0;
}

void TListaMelhores::Prepara() {
    Limpa();
    contador_ = 1;
}

int TListaMelhores::Modelos() const {
    int n = 0;
    for (const TModeloPesquisado &s : slots_)
        n += s.Ocupado ? 1 : 0;
    return n;
}

bool TListaMelhores::Insere(const TModeloPesquisado &modelo, CriterioPesquisa c, int D) {
    const long double chave = Chave(c, modelo);
    const int p = contador_;
    if (p >= 1 && p <= kSlotsMelhores && !(chave >= Chave(c, Slot(p)))) return false;
    int i = 1;
    while (i <= kSlotsMelhores && !(chave >= Chave(c, Slot(i))))
        ++i;
    if (c == cpRegressores)
        while (i <= kSlotsMelhores && Slot(i).Significativos == modelo.Significativos &&
               modelo.R < Slot(i).R)
            ++i;
    if (i > kSlotsMelhores) return false;
    if (MesmoModelo(Slot(i), modelo, D)) return false;
    for (int k = kSlotsMelhores; k > i; --k)
        Slot(k) = Slot(k - 1);
    Slot(i) = modelo;
    Slot(i).Ocupado = true;
    if (contador_ < kSlotsMelhores) ++contador_;
    return true;
}

// ---- The enumeration ---------------------------------------------------------------------------

void TEnumeracao::Inicia(const TMascarasVigentes &m) {
    m_ = m;
    primeiro_ = m_.Descritiva ? m_.D : 1;
    ultimo_ = FimBloco(primeiro_);
    Codigos.fill(0);
    if (m_.PesquisaRapida)
        for (int c = 1; c <= m_.V; ++c)
            Codigos[c] = m_.PrimeiroCodigoPermitido(c);
    for (int c = primeiro_; c <= ultimo_; ++c)
        if (!m_.SoNaoUsada(c)) Codigos[c] = m_.PrimeiroCodigoPermitido(c);
}

int TEnumeracao::FimBloco(int s) const {
    if (m_.Descritiva) return s;
    const int L = std::max<int>(m_.TamanhoBloco, 1);
    int custo = 0;
    for (int i = s; i <= m_.V; ++i)
        if (!m_.SoNaoUsada(i) && ++custo == L) return std::min(m_.V, i + 1);
    return m_.V;
}

std::uint64_t TEnumeracao::ModelosBloco(int s, int e) const {
    std::uint64_t produto = 1;
    for (int c = s; c <= e; ++c) {
        const auto k = static_cast<std::uint64_t>(m_.NumeroCodigosPermitidos(c));
        if (k == 0) return 0;
        if (produto > std::numeric_limits<std::uint64_t>::max() / k)
            return std::numeric_limits<std::uint64_t>::max();
        produto *= k;
    }
    return produto;
}

std::uint64_t TEnumeracao::Total() const {
    if (m_.D == 0 || m_.V == 0) return 0;
    std::uint64_t total = 0;
    int s = m_.Descritiva ? m_.D : 1;
    for (;;) {
        const int e = FimBloco(s);
        const std::uint64_t b = ModelosBloco(s, e);
        total = b > std::numeric_limits<std::uint64_t>::max() - total
                    ? std::numeric_limits<std::uint64_t>::max()
                    : total + b;
        if (m_.Descritiva || e >= m_.V) break;
        s = e + 1;
    }
    return total;
}

bool TEnumeracao::Proximo(const TListaMelhores &lista) {
    for (int i = primeiro_; i <= ultimo_; ++i) {
        std::uint8_t codigo = Codigos[i];
        if (m_.ProximoCodigoPermitido(i, codigo)) {
            Codigos[i] = codigo;
            return true;
        }
        Codigos[i] = m_.PrimeiroCodigoPermitido(i);
    }
    return ProximoBloco(lista);
}

bool TEnumeracao::ProximoBloco(const TListaMelhores &lista) {
    // Without a best model the variables keep their first allowed codes: taking the empty
    // slot's zeros would leave the dependent variable out of every later model.
    const TModeloPesquisado &melhor = lista.Slot(1);
    if (melhor.Ocupado)
        for (int c = primeiro_; c <= ultimo_; ++c)
            Codigos[c] = melhor.Codigos[c];
    if (m_.Descritiva || ultimo_ >= m_.V) return false;
    primeiro_ = ultimo_ + 1;
    ultimo_ = FimBloco(primeiro_);
    for (int c = primeiro_; c <= ultimo_; ++c)
        Codigos[c] = m_.PrimeiroCodigoPermitido(c);
    return true;
}

} // namespace zelto
