// The engine that runs the blocks of a model search on every core.
//
// For a block it prepares, once and on the calling thread, every transformed column the block's
// models can use (through the regression system's cache, so that each (variable, code) pair is
// transformed once per search) and notes which of them failed on an active sample. It then cuts
// the block into pieces of consecutive models (AjusteCandidatos.h) and hands them to its worker
// threads through a queue; the calling thread puts the pieces' models into the best-models list
// in the block's order, publishes the list's threshold for the workers, and reports progress
// between pieces. With one thread the calling thread fits the pieces itself.
//
// A cancel (the progress sink's flag) makes the workers drop their pieces within a fraction of a
// second; the models of the pieces already placed stay in the list and the current model becomes
// the first one not placed, so that the next search continues from it.
//
// The data (TDadosRegressao) must not change while a block runs.
#pragma once

#include "common/Progresso.h"
#include "regression/DadosRegressao.h"
#include "search/AjusteCandidatos.h"
#include "search/ListaModelos.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace zelto {

// The most threads a search runs: four per core. More would only contend for the cores.
unsigned MaximoThreads();

struct TParametrosMotor {
    CriterioPesquisa Criterio = cpCorrelacao;
    long double Alfa = 0.05L;          // two-sided level of the regressors (criterion 2)
    long double LimiteExato = 0.9999L; // TSistema::LimiteAjusteExato
    bool AceitaRZero = false;          // descriptive mode
    unsigned Threads = 1;              // 0: one per core; at most MaximoThreads()
    // Screen the models in double and fit exactly only those that may enter the list
    // (AjusteCandidatos.h); false fits every model exactly. The list is the same either way.
    bool Triagem = true;
    // Run the screen's scalar loops even where the processor has AVX2 (the list is the same).
    bool TriagemEscalar = false;
    TObservaTriagem ObservaTriagem; // test hook (AjusteCandidatos.h)
    // When the system refuses a thread, the search goes on with those it got (on the calling
    // thread alone if it got none): it never fails for want of threads.
    TIniciaThread IniciaThread;
};

class TMotorPesquisa {
  public:
    TMotorPesquisa(TDadosRegressao &dados, const TParametrosMotor &parametros);
    ~TMotorPesquisa();
    TMotorPesquisa(const TMotorPesquisa &) = delete;
    TMotorPesquisa &operator=(const TMotorPesquisa &) = delete;

    // The threads fitting models: those asked for, or fewer when the system refused some.
    unsigned Threads() const;
    // The models placed so far that reached the exact fit (all of them without screening).
    std::uint64_t Exatos() const;

    // Runs the block [primeiro, ultimo] of the masks from the model `codigos` (the next one to
    // examine) to its end, placing its models in `lista` (dependent column m.D) and adding them
    // to `examinados`. True when the block was finished; false on a cancel, with `codigos` the
    // first model not examined. `informa` is called on the calling thread after each piece and
    // at least every tenth of a second while it waits.
    bool ExecutaBloco(const TMascarasVigentes &m, int primeiro, int ultimo, TCodigos &codigos,
                      TListaMelhores &lista, std::uint64_t &examinados, TProgresso *progresso,
                      const std::function<void()> &informa);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace zelto
