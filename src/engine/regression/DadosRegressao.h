// The numbers a regression reads from the worksheet: the raw matrix, the active samples and a
// cache of transformed columns.
//
// `TDadosRegressao::Carrega` copies the value of every cell of the worksheet's data block
// (all samples, the disregarded ones included) and the list of active samples, and empties the
// cache. A transformed column, the values f(x) of one worksheet column under one
// transformation code, is computed on first use for every sample without the disregarded mark
// and kept until the next load, so that a search over thousands of models transforms each
// (column, code) pair once.
//
// A column remembers the samples on which its transformation failed (and the error code,
// 1, 4, 5 or 6, of the first of them). A model that uses the column is rejected whenever one of
// those samples is active, every time it is asked, not only the first time the column is
// computed. Samples removed by the automatic outlier removal stay in the columns: removing one
// only shortens the active list, and the cached columns remain valid.
//
// Sample indexes here are 0-based positions in the data block (worksheet row − 1); columns are
// the worksheet's 1-based column indexes.
//
// Threads: Prepara (and Coluna, which calls it) fills the cache and must not run concurrently
// with anything else; once the columns a search needs are prepared, ColunaPronta and every
// other const member may be called from several threads at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zelto {

class TGridzelto;

// One (column, code) pair over every sample of the block. Disregarded samples, and every
// sample of a column outside the loaded block, hold 0.
struct TColunaTransformada {
    std::vector<long double> Valores;
    // Samples whose transformation failed, in increasing order, and the first error code.
    std::vector<std::uint32_t> Falhas;
    std::uint8_t Erro = 0;

    // The code of the first failure among the active samples (a sorted list), 0 when none.
    std::uint8_t ErroEm(std::span<const std::uint32_t> ativas) const;
};

// Σ a[s]·b[s] over the active samples, in their order (Σ a[s] when b is null). The regression
// system accumulates its normal equations the same way, so equations gathered from these sums
// (A[j][k] = SomaProdutos(xⱼ, xₖ), A[1][k] = SomaProdutos(xₖ), c[k] = SomaProdutos(xₖ, y),
// Syy = SomaProdutos(y, y)) are identical to the ones it builds, to the last bit.
long double SomaProdutos(const TColunaTransformada &a, const TColunaTransformada *b,
                         std::span<const std::uint32_t> ativas);

class TDadosRegressao {
  public:
    // Number of codes cached per column (0..14).
    static constexpr std::uint8_t kCodigos = 15;

    // Reloads everything from the worksheet's data block (BlocoDeDados, ValorCelula).
    // Columns run 1..max(data columns, used columns).
    void Carrega(const TGridzelto &grid);
    // Loads a matrix given column by column (raw[c − 1][s], all columns the same length), with
    // its disregarded flags (empty: none) and active samples; for tests and tools that hold
    // their data elsewhere.
    void Carrega(std::vector<std::vector<long double>> brutos, std::vector<bool> desconsideradas,
                 std::vector<std::uint32_t> ativas);

    std::size_t Colunas() const { return colunas_; }
    std::size_t Amostras() const { return amostras_; }
    // Raw value of column c (1-based) at sample s; 0 outside the block.
    long double Bruto(std::size_t c, std::size_t s) const;
    bool Desconsiderada(std::size_t s) const {
        return s < desconsideradas_.size() && desconsideradas_[s];
    }

    // The active samples, in worksheet order.
    const std::vector<std::uint32_t> &Ativas() const { return ativas_; }
    // Removes an active sample (the automatic outlier removal); false when it is not active.
    bool RemoveAtiva(std::uint32_t s);

    // The transformed column, computed when not yet cached. Codes above 14 give a column of
    // zeros with no failure (as the transformation itself gives 0).
    const TColunaTransformada &Coluna(std::size_t c, std::uint8_t codigo);
    void Prepara(std::size_t c, std::uint8_t codigo) { Coluna(c, codigo); }
    // The cached column, or null when it was not prepared.
    const TColunaTransformada *ColunaPronta(std::size_t c, std::uint8_t codigo) const;

    // How many columns were transformed since the last load (each pair counts once).
    std::size_t Transformacoes() const { return transformacoes_; }

  private:
    struct Entrada {
        bool pronta = false;
        TColunaTransformada coluna;
    };
    std::size_t Indice(std::size_t c, std::uint8_t codigo) const {
        return (c - 1) * kCodigos + codigo;
    }
    void Inicia();

    std::size_t colunas_ = 0, amostras_ = 0;
    std::vector<long double> brutos_; // column-major: brutos_[(c − 1)·amostras_ + s]
    std::vector<bool> desconsideradas_;
    std::vector<std::uint32_t> ativas_;
    std::vector<Entrada> cache_;
    TColunaTransformada vazia_;
    std::size_t transformacoes_ = 0;
};

} // namespace zelto
