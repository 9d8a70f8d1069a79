// Progress and cancel for long work.
//
// An engine operation that may take long receives a TProgresso*. It calls
// Inicia once, Avanca as it goes (positions in floating point between the
// bounds given to Inicia), and Termina at the end, on every path. A front end
// derives from TProgresso to show a progress window; its cancel button calls
// Cancela, which the engine notices through Cancelado() between steps. The
// default implementation shows nothing, so a null sink is never needed.
#pragma once

#include <atomic>
#include <string>

namespace zelto {

class TProgresso {
  public:
    virtual ~TProgresso() = default;
    virtual void Inicia(const std::string & /*titulo*/, double /*minimo*/, double /*maximo*/,
                        bool /*interrompivel*/) {}
    virtual void Avanca(double /*posicao*/) {}
    virtual void TextoAuxiliar(const std::string & /*texto*/) {}
    virtual void Termina() {}

    void Cancela() { cancelado_.store(true, std::memory_order_relaxed); }
    void Rearma() { cancelado_.store(false, std::memory_order_relaxed); }
    bool Cancelado() const { return cancelado_.load(std::memory_order_relaxed); }

  private:
    std::atomic<bool> cancelado_{false};
};

} // namespace zelto
