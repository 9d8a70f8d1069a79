#include "regression/TextoAjuste.h"
#include "common/Marcacao.h"

#include "regression/Sistema.h"
#include "regression/Transformacoes.h"

#include <sstream>

namespace zelto {

std::string TextoAjuste(const TSistema &s, long double confianca,
                        const std::function<std::string(long double)> &numero) {
    const std::size_t n = s.n(), m = s.m();
    const long double nn = static_cast<long double>(n);
    const auto nome = [&](std::size_t k) {
        return k == 1 ? std::string("(intercept)") : s.NomeTermo(k);
    };
    std::ostringstream out;
    out << "Amostras (n): " << n << "\nTermos (m): " << m
        << "\nVariável dependente: " << s.NomeTermo(1) << " ("
        << DescricaoTransformacao(s.CodigoTermo(1)) << ")\n";
    out << "Coeficientes (nome, código, b, erro padrão, t):\n";
    for (std::size_t k = 1; k <= m; ++k)
        out << "  " << nome(k) << '\t' << (k == 1 ? 0 : +s.CodigoTermo(k)) << '\t'
            << numero(s.Coeficiente(k)) << '\t' << numero(s.ErroPadrao(k)) << '\t'
            << numero(s.TCoeficiente(k)) << '\n';
    out << "R: " << numero(s.R()) << "\nR2: " << numero(s.R2())
        << "\nR2 ajustado: " << numero(s.R2Ajustado()) << "\nF: " << numero(s.F())
        << "\nSQ da regressão: " << numero(s.nSQR() / nn)
        << "\nSQ dos resíduos: " << numero(s.nSQE() / nn) << "\nSQ total: " << numero(s.nSQT() / nn)
        << "\nVariância residual: " << numero(s.VarianciaResidual())
        << "\nDurbin-Watson: " << numero(s.DurbinWatson())
        << "\nKolmogorov-Smirnov D: " << numero(s.DistanciaNormalidade())
        << "\nRegressores significativos (5 %): " << s.RegressoresSignificativos(0.05L) << " de "
        << m - 1 << "\nEquação: " << s.Equacao()
        << "\nEquação na escala original: " << s.EquacaoOriginal() << '\n';
    if (s.ObjetoInformado()) {
        const TPonto ponto = s.PontoObjeto();
        const auto estimativaModelo = s.EstimativaModelo(ponto);
        const auto estimativa = s.Estimativa(ponto);
        auto par = [&](const std::optional<TIntervalo> &i) {
            return i ? numero(i->Inferior) + " a " + numero(i->Superior) : std::string("???");
        };
        out << "Valor estimado: " << (estimativa ? numero(*estimativa) : "???")
            << "\nNa escala do modelo: " << (estimativaModelo ? numero(*estimativaModelo) : "???")
            << "\nConfiança: " << numero(confianca)
            << "\nIntervalo da média: " << par(s.IntervaloMedia(ponto, confianca))
            << "\nIntervalo de predição: " << par(s.IntervaloPredicao(ponto, confianca)) << '\n';
    }
    return TextoSimples(out.str());
}

} // namespace zelto
