#include "regression/DadosRegressao.h"

#include "regression/Transformacoes.h"
#include "worksheet/Gridzelto.h"

#include <algorithm>

namespace zelto {

std::uint8_t TColunaTransformada::ErroEm(std::span<const std::uint32_t> ativas) const {
    if (Falhas.empty()) return 0;
    // Both lists are sorted: walk them together.
    auto f = Falhas.begin();
    for (std::uint32_t s : ativas) {
        while (f != Falhas.end() && *f < s)
            ++f;
        if (f == Falhas.end()) break;
        if (*f == s) return Erro;
    }
    return 0;
}

long double SomaProdutos(const TColunaTransformada &a, const TColunaTransformada *b,
                         std::span<const std::uint32_t> ativas) {
    long double soma = 0;
    if (b)
        for (std::uint32_t s : ativas) soma += a.Valores[s] * b->Valores[s];
    else
        for (std::uint32_t s : ativas) soma += a.Valores[s];
    return soma;
}

void TDadosRegressao::Inicia() {
    cache_.assign(colunas_ * kCodigos, Entrada{});
    vazia_ = TColunaTransformada{};
    vazia_.Valores.assign(amostras_, 0);
    transformacoes_ = 0;
}

void TDadosRegressao::Carrega(const TGridzelto &grid) {
    TBlocoDados bloco = grid.BlocoDeDados();
    bloco.Colunas = std::max<int>(bloco.Colunas, grid.ColunasUsadas());
    bloco.Colunas = std::min(bloco.Colunas, grid.ColCount() - 1);
    colunas_ = static_cast<std::size_t>(std::max(bloco.Colunas, 0));
    amostras_ = static_cast<std::size_t>(std::max(bloco.Linhas, 0));
    brutos_ = grid.MatrizDados(bloco);
    desconsideradas_.assign(amostras_, false);
    for (std::size_t s = 0; s < amostras_; ++s)
        desconsideradas_[s] = grid.Desconsiderada(static_cast<int>(s + 1));
    ativas_.clear();
    for (int r : bloco.Ativas)
        ativas_.push_back(static_cast<std::uint32_t>(r - 1));
    Inicia();
}

void TDadosRegressao::Carrega(std::vector<std::vector<long double>> brutos,
                              std::vector<bool> desconsideradas,
                              std::vector<std::uint32_t> ativas) {
    colunas_ = brutos.size();
    amostras_ = colunas_ ? brutos[0].size() : 0;
    brutos_.assign(colunas_ * amostras_, 0);
    for (std::size_t c = 0; c < colunas_; ++c)
        for (std::size_t s = 0; s < amostras_ && s < brutos[c].size(); ++s)
            brutos_[c * amostras_ + s] = brutos[c][s];
    desconsideradas_ = std::move(desconsideradas);
    desconsideradas_.resize(amostras_, false);
    ativas_.clear();
    std::sort(ativas.begin(), ativas.end());
    for (std::uint32_t s : ativas)
        if (s < amostras_ && (ativas_.empty() || ativas_.back() != s)) ativas_.push_back(s);
    Inicia();
}

long double TDadosRegressao::Bruto(std::size_t c, std::size_t s) const {
    if (c < 1 || c > colunas_ || s >= amostras_) return 0;
    return brutos_[(c - 1) * amostras_ + s];
}

bool TDadosRegressao::RemoveAtiva(std::uint32_t s) {
    auto it = std::lower_bound(ativas_.begin(), ativas_.end(), s);
    if (it == ativas_.end() || *it != s) return false;
    ativas_.erase(it);
    return true;
}

const TColunaTransformada &TDadosRegressao::Coluna(std::size_t c, std::uint8_t codigo) {
    if (c < 1 || c > colunas_ || codigo >= kCodigos) return vazia_;
    Entrada &e = cache_[Indice(c, codigo)];
    if (e.pronta) return e.coluna;
    TColunaTransformada &col = e.coluna;
    col.Valores.assign(amostras_, 0);
    col.Falhas.clear();
    col.Erro = 0;
    const long double *x = &brutos_[(c - 1) * amostras_];
    for (std::size_t s = 0; s < amostras_; ++s) {
        if (desconsideradas_[s]) continue;
        const TValorTransformado t = FuncaoTransformacao(codigo, x[s]);
        col.Valores[s] = t.Valor;
        if (t.Erro != 0) {
            if (col.Falhas.empty()) col.Erro = t.Erro;
            col.Falhas.push_back(static_cast<std::uint32_t>(s));
        }
    }
    e.pronta = true;
    ++transformacoes_;
    return col;
}

const TColunaTransformada *TDadosRegressao::ColunaPronta(std::size_t c, std::uint8_t codigo) const {
    if (c < 1 || c > colunas_ || codigo >= kCodigos) return &vazia_;
    const Entrada &e = cache_[Indice(c, codigo)];
    return e.pronta ? &e.coluna : nullptr;
}

} // namespace zelto
