// The formation of the value of the property under valuation: which of its values are missing,
// which pass the sample's limits, the estimate and its interval, and where the estimate stands
// against the limits the significance settings set. The report writes its sentences from this;
// every decision is taken here.
#pragma once

#include "regression/Sistema.h"
#include "significance/Significancias.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace zelto {

struct TFormacaoValores {
    // Inferential mode: the independent terms (2..m) whose value the property lacks, and those
    // whose raw value lies outside the sample's limits.
    std::vector<std::size_t> Faltam, Extrapolaram;
    // The number of variables the settings let extrapolate, when they limit it and more did.
    std::optional<long> LimiteExtrapolacao;
    // Whether the estimate is made (every value of the property known, or the descriptive mode),
    // and then the estimate and its confidence interval.
    bool Estima = false;
    std::optional<long double> Estimativa;
    std::optional<TIntervalo> Intervalo;
    // Descriptive mode, amplitude limited: whether the interval's amplitude over its centre,
    // (Ls − Li) / ((Li + Ls) / 2), passes the settings' amplitude.
    std::optional<bool> AmplitudeExcedida;
    // Inferential mode, extrapolation not freely admitted: the band of the dependent variable
    // that the estimate must stay in (the sample's minimum and maximum, widened by the
    // settings' percentages when extrapolation is admitted with limits), and where the estimate
    // lies: −1 below it, 0 inside, +1 above.
    std::optional<TIntervalo> Faixa;
    int Posicao = 0;
};

// temValor[k]: whether the property has the value of term k's variable (k = 2..m; read only in
// the inferential mode; a missing entry counts as missing).
TFormacaoValores FormacaoValores(const TSistema &s, const TSignificancias &sig, bool inferencial,
                                 const std::vector<bool> &temValor);

} // namespace zelto
