// The best-models list of the model search and the order in which the search visits models.
//
// `TListaMelhores` keeps the 50 best models in ranked slots. A model enters by the rules of the
// ranking criterion: with p the list counter (the first empty slot, or slot 50 once the list is
// full), a model whose key is below the key of slot p stays out; otherwise it goes into the first
// slot whose key it reaches, so that a newer model goes before older ones with an equal key (under
// "Sig. dos Regressores" ties on the count are broken by R). A model is not written when that
// slot already holds it (exactly equal R and the same code for every term of the new model);
// otherwise the slots below move down and the content of slot 50 is lost.
//
// `TEnumeracao` is the odometer over the variables' transformation codes: the variables are
// searched in consecutive blocks (one block covering all of them without rapid search); inside a
// block the first variable turns fastest through its allowed codes; when a block is finished its
// variables take the codes of the best model so far and the next block starts from its variables'
// first allowed codes. The total number of models is the sum over blocks of the product of the
// number of allowed codes of each variable.
//
// Both are plain data owned by the search; neither is thread-safe.
#pragma once

#include "regression/Sistema.h"
#include "search/ConfiguracaoPesquisa.h"

#include <array>
#include <bitset>
#include <cstdint>

namespace zelto {

// A model as the search sees it: one transformation code per worksheet column 1..200 ([0]
// unused); 0 leaves the variable out.
using TCodigos = std::array<std::uint8_t, kMaximoVariaveisPesquisa + 1>;

inline constexpr int kSlotsMelhores = 50;

// One slot of the list.
struct TModeloPesquisado {
    bool Ocupado = false;
    TCodigos Codigos{};
    long double R = 0, F = 0, R2Ajustado = 0;
    std::uint16_t Regressores = 0;    // m − 1
    std::uint16_t Significativos = 0; // significant regressors
    // Whether Significativos holds a count: set at insertion under "Sig. dos Regressores",
    // otherwise by the detailed best-models table.
    bool SignificativosCalculados = false;
    // Bit k − 1 set when coefficient k (1 the intercept) is >= 0. One bit per possible term, so
    // that every coefficient of a 200-term model keeps its sign.
    std::bitset<MaximoTermos> Sinais;
};

// The criterion's key of a model as a double that never exceeds the exact order: a model whose
// key is below the key of another has a ChaveFiltro no greater than the other's. Under
// "Sig. dos Regressores" the key is the count, then R (count + R/2).
double ChaveFiltro(CriterioPesquisa c, const TModeloPesquisado &m);
double ChaveFiltro(CriterioPesquisa c, long double R, long double F, long double R2Ajustado,
                   unsigned significativos);

class TListaMelhores {
  public:
    // Every slot empty, counter 0 (no search).
    void Limpa();
    // Every slot empty, counter 1: a search starts.
    void Prepara();

    // Places a model of dependent column D by the rules above; true when it was written.
    bool Insere(const TModeloPesquisado &modelo, CriterioPesquisa c, int D);

    // Slots 1..50.
    const TModeloPesquisado &Slot(int i) const { return slots_[static_cast<std::size_t>(i - 1)]; }
    TModeloPesquisado &Slot(int i) { return slots_[static_cast<std::size_t>(i - 1)]; }
    int Contador() const { return contador_; }
    void DefineContador(int p) { contador_ = p; }
    // Number of occupied slots.
    int Modelos() const;

    // No model with a ChaveFiltro below this can change the list while a search goes on: the key
    // of slot 50 (0 while the list is not full, which is also the key every entry must reach).
    // It never decreases during a search.
    double Limiar(CriterioPesquisa c) const { return ChaveFiltro(c, slots_.back()); }

  private:
    std::array<TModeloPesquisado, kSlotsMelhores> slots_{};
    int contador_ = 0;
};

class TEnumeracao {
  public:
    // Start afresh: V and D from the masks, the first block (starting at variable 1, at D in the
    // descriptive mode) and the starting vector.
    void Inicia(const TMascarasVigentes &m);
    const TMascarasVigentes &Mascaras() const { return m_; }

    // The current block [Primeiro, Ultimo] and the current model (the next one to examine).
    int Primeiro() const { return primeiro_; }
    int Ultimo() const { return ultimo_; }
    TCodigos Codigos{};

    // The last variable of the block starting at s.
    int FimBloco(int s) const;
    // T: the number of models of every block (saturates instead of overflowing).
    std::uint64_t Total() const;
    // Number of models of the block [s, e].
    std::uint64_t ModelosBloco(int s, int e) const;

    // Moves to the next model; false when the enumeration is finished. The list supplies the
    // best model so far at the end of a block.
    bool Proximo(const TListaMelhores &lista);
    // The current block is finished: its variables take the codes of list slot 1 (they keep their
    // first allowed codes while the list is empty) and the next block starts. False when there is
    // no next block.
    bool ProximoBloco(const TListaMelhores &lista);

  private:
    TMascarasVigentes m_;
    int primeiro_ = 1, ultimo_ = 0;
};

} // namespace zelto
