#include "items/ComumItens.h"
#include "writer/TextoLiteral.h"

#include "common/Numeros.h"
#include "regression/Enquadramento.h"
#include "regression/TabelasCriticas.h"
#include "regression/TestesResiduos.h"
#include "regression/Transformacoes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zelto {

std::string NomeVar(const TSistema &s, std::size_t k) { return Literal(s.NomeTermo(k)); }

std::string NomeTransformado(const TSistema &s, std::size_t k) {
    return NomeTransformacao("[" + NomeVar(s, k) + "]", s.CodigoTermo(k));
}

std::string EquacaoLiteral(const TSistema &s, bool original) {
    const std::uint8_t codigo = s.CodigoTermo(1);
    if (codigo == 0) return {};
    std::string termos;
    for (std::size_t k = 2; k <= s.m(); ++k) {
        if (s.CodigoTermo(k) == 0) continue;
        const long double b = s.Coeficiente(k);
        termos += ' ';
        termos += b >= 0 ? " + " : " - ";
        termos += FormatoSignificativo(std::fabs(b), 5);
        termos += ' ';
        const std::string forma = NomeTransformado(s, k);
        // "1/[x]" reads as a division of the coefficient: drop the "1".
        termos += forma.rfind("1/", 0) == 0 ? forma.substr(1) : "x " + forma;
    }
    const std::string b0 = FormatoSignificativo(s.Coeficiente(1), 5);
    if (!original) return NomeTransformado(s, 1) + " = " + b0 + termos;
    return "[" + NomeVar(s, 1) + "] = " + std::string(PrefixoInversa(codigo)) + " " + b0 + termos +
           std::string(SufixoInversa(codigo));
}

std::size_t Regressores(const TSistema &s) { return s.m() > 0 ? s.m() - 1 : 0; }

std::uint16_t GrausLiberdade(const TSistema &s) {
    const std::size_t n = s.n(), m = s.m();
    return static_cast<std::uint16_t>(n > m ? n - m : 0);
}

std::string NumeroAmostraTexto(const TSistema &s, std::size_t i) {
    const long numero = s.NumeroAmostra(i);
    return std::to_string(numero != 0 ? numero : static_cast<long>(s.LinhaAmostra(i)));
}

TLimitesAmostra LimitesTermo(const TSistema &s, std::size_t k) {
    const TIntervalo l = LimitesAmostrais(s, k);
    return {l.Inferior, l.Superior};
}

long double ZeroDeArredondamento(const TSistema &s, long double x) {
    long double escala = 0;
    for (std::size_t i = 1; i <= s.n(); ++i)
        escala = std::max(escala, std::fabs(s.ValorTransformado(1, i)));
    const long double ruido =
        static_cast<long double>(s.n()) * std::numeric_limits<long double>::epsilon() * escala;
    return std::fabs(x) <= ruido ? 0.0L : x;
}

std::string FraseNorma(const TSignificancias &sig) {
    return "Nível de significância se enquadra em " + sig.Descricao + ".";
}

std::vector<std::string> TextoCriterioOutlier(const TSignificancias &sig, std::size_t n,
                                              bool inferencial) {
    std::vector<std::string> l;
    l.push_back(inferencial ? "Critério de identificação de outlier:" : "Critério de saneamento:");
    const TCriterioAplicado aplicado =
        CriterioAplicado(sig.Saneamento, sig.ParametroSaneamento, inferencial);
    const long double f = aplicado.Parametro;
    switch (aplicado.Criterio) {
    case csMedia:
        l.push_back("\tIntervalo de +/- " + FormatoFixo(f, 2) + " % em torno da média.");
        break;
    case csChauvenet:
        l.push_back("\tValor crítico da tabela de Chauvenet: Vc = " +
                    FormatoFixo(ValorChauvenet(static_cast<unsigned>(n)), 3));
        l.push_back("\tIntervalo de +/- Vc x (desvio padrão) em torno da média.");
        break;
    case csArley:
        l.push_back("\tValor crítico da tabela de Arley: Va = " +
                    FormatoFixo(ValorArley(static_cast<unsigned>(n), f), 3));
        l.push_back("\t(para o nível de significância de " + RemoveZerosFinais(FormatoFixo(f, 2)) +
                    " %)");
        l.push_back("\tIntervalo de +/- Va x (desvio padrão) em torno da média.");
        break;
    default:
        l.push_back("\tIntervalo de +/- " + FormatoFixo(f, 2) +
                    (f == 1 ? " desvio padrão em torno da média." : " desvios padrões em torno da média."));
        break;
    }
    if (aplicado.Substituido)
        l.push_back("\tO critério de " + FormatoFixo(sig.ParametroSaneamento, 2) +
                    " % em torno da média mede desvios em torno do valor médio, e os resíduos têm "
                    "média zero: em seu lugar é usado o critério de desvios padrões.");
    return l;
}

} // namespace zelto
