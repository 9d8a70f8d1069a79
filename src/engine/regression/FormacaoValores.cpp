#include "regression/FormacaoValores.h"

#include "regression/Enquadramento.h"

namespace zelto {

TFormacaoValores FormacaoValores(const TSistema &s, const TSignificancias &sig, bool inferencial,
                                   const std::vector<bool> &temValor) {
    TFormacaoValores f;
    if (inferencial) {
        for (std::size_t k = 2; k <= s.m(); ++k) {
            if (k >= temValor.size() || !temValor[k]) {
                f.Faltam.push_back(k);
                continue;
            }
            const TIntervalo l = LimitesAmostrais(s, k);
            const long double v = s.ValorBrutoObjeto(k);
            if (v < l.Inferior || v > l.Superior) f.Extrapolaram.push_back(k);
        }
        const bool limitado = sig.Extrapolacao == meNaoAdmitida ||
                              (sig.Extrapolacao == meAdmitidaComLimites && !sig.TodasExtrapolam);
        const long limite = sig.Extrapolacao == meNaoAdmitida ? 0 : sig.VariaveisExtrapolando;
        if (limitado && static_cast<long>(f.Extrapolaram.size()) > limite) f.LimiteExtrapolacao = limite;
    }
    f.Estima = !inferencial || f.Faltam.empty();
    if (!f.Estima) return f;
    f.Estimativa = s.EstimativaObjeto();
    f.Intervalo = s.IntervaloMedia(s.PontoObjeto(), sig.ConfiancaEstimativa);
    if (!f.Estimativa || !f.Intervalo) return f;
    if (!inferencial && !sig.AmplitudeIlimitada) {
        const long double Li = f.Intervalo->Inferior, Ls = f.Intervalo->Superior;
        f.AmplitudeExcedida = !((Ls - Li) / ((Li + Ls) * 0.5L) <= sig.AmplitudeEstimativa);
    }
    if (inferencial && sig.Extrapolacao != meAdmitida) {
        TIntervalo faixa{s.MinimoDependente(), s.MaximoDependente()};
        if (sig.Extrapolacao == meAdmitidaComLimites) {
            faixa.Inferior *= 1 - sig.EstimativaInferior;
            faixa.Superior *= 1 + sig.EstimativaSuperior;
        }
        f.Faixa = faixa;
        f.Posicao = *f.Estimativa > faixa.Superior ? 1 : *f.Estimativa < faixa.Inferior ? -1 : 0;
    }
    return f;
}

} // namespace zelto
