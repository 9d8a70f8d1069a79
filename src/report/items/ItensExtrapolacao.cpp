// The item of the extrapolation: how far the property under evaluation lies outside the
// sample, and whether the settings admit it. Three checks, each a table with its rule above and
// its finding below:
//  - the characteristics: each independent variable's value at the property against its
//    sample range. A quantitative one outside varies by v/minimum − 1 or v/maximum − 1 and is
//    approved when that stays within the allowed percentage; a qualitative or dichotomous one
//    outside varies without measure and is approved only where the settings let such variables
//    extrapolate;
//  - the estimate against the sample range of the dependent variable;
//  - the estimate with each variable moved to its sample minimum and maximum (the others at the
//    property's values), against a band around the estimate at the property's point.
//
// The extrapolation mode of the settings decides: "Não Admitida" approves no extrapolation,
// "Admitida" approves every one, "Admitida com Limites" applies the percentages, the count of
// characteristics that may extrapolate and the band (the percentages and the band are the
// settings' only under that mode, where the dialog enables them). Every combination of the
// settings yields one sentence per rule and per finding, built from fixed fragments.
//
// With some value of the property missing only the characteristics are checked: the estimate
// would take the missing values as 0.
#include "common/Numeros.h"
#include "items/Catalogo.h"
#include "evaluation/DadosPlanilha.h"
#include "items/ComumItens.h"
#include "items/DadosObjeto.h"

#include <cmath>

namespace zelto {

namespace {

std::string Fixo(long double x, int d) {
    return FormatoFixo(x, d);
}
bool Infinita(long double x) {
    return std::fabs(x) >= Infinito;
}

// One independent variable of the model against the sample.
struct ResultadoAvaliacaoLimiteAmostral {
    std::size_t Termo = 0;
    int Coluna = 0;
    std::string Nome;
    long double Minimo = 0, Maximo = 0, Valor = 0;
    bool Informado = false, Qualitativa = false;
    bool Abaixo = false, Acima = false;
    long double Variacao = 0; // fraction; the marker when it has no measure
    bool Aprovada = true;
    // The estimate at the variable's sample minimum and maximum and its largest variation.
    std::optional<long double> YMinimo, YMaximo;
    long double MaiorVariacao = 0;
    bool ForaDaFaixa = false;
    bool Extrapolou() const { return Abaixo || Acima; }
};
using ArrayResultadoAvaliacaoLimiteAmostral = std::vector<ResultadoAvaliacaoLimiteAmostral>;

class TIA_Extrapolacao : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        const TSignificancias &sig = Sig();
        const int modo = sig.Extrapolacao;
        const bool limites = modo == meAdmitidaComLimites;
        const long double acima = limites ? sig.ExcessoSuperior : 0,
                          abaixo = limites ? sig.ExcessoInferior : 0;
        r_.clear();
        extrapolaram_ = reprovadas_ = 0;
        completo_ = true;
        for (std::size_t k = 2; k <= s.m(); ++k) {
            ResultadoAvaliacaoLimiteAmostral r;
            r.Termo = k;
            r.Coluna = static_cast<int>(s.ColunaTermo(k));
            r.Nome = NomeVar(s, k);
            const TLimitesAmostra lim = LimitesTermo(s, k);
            r.Minimo = lim.Minimo;
            r.Maximo = lim.Maximo;
            r.Informado = ObjetoTemValor(Grid(), r.Coluna);
            const int tipo = VariavelPlanilha(Grid(), r.Coluna).Tipo;
            r.Qualitativa = tipo == tvrQualitativa || tipo == tvrDicotomica;
            completo_ = completo_ && r.Informado;
            if (r.Informado) {
                r.Valor = s.ValorBrutoObjeto(k);
                r.Abaixo = r.Valor < r.Minimo;
                r.Acima = r.Valor > r.Maximo;
            }
            if (r.Qualitativa && r.Extrapolou()) {
                r.Variacao = r.Abaixo ? -Infinito : Infinito;
                r.Aprovada = !(modo == meNaoAdmitida ||
                               (sig.SemExtrapolarQualitativas && modo != meAdmitida));
            } else if (r.Extrapolou()) {
                const long double base = r.Abaixo ? r.Minimo : r.Maximo;
                r.Variacao = base == 0 ? (r.Abaixo ? -Infinito : Infinito) : r.Valor / base - 1;
                // A variation exactly at the allowed percentage is approved (up to the rounding
                // of the quotient).
                r.Aprovada = modo == meAdmitida ||
                             (!Infinita(r.Variacao) &&
                              std::fabs(r.Variacao) <= (r.Abaixo ? abaixo : acima) + 1e-12L);
            }
            extrapolaram_ += r.Extrapolou();
            reprovadas_ += !r.Aprovada;
            r_.push_back(r);
        }
        y_.reset();
        if (!completo_) return;
        const TPonto ponto = s.PontoObjeto();
        y_ = s.EstimativaObjeto();
        // Without an estimate at the property's point (a value its transformation cannot take)
        // only the characteristics are judged; Imprime says why the rest is missing.
        if (!y_) return;
        faixa_ = limites ? sig.VariacaoNosLimites : Infinito;
        for (ResultadoAvaliacaoLimiteAmostral &r : r_) {
            TPonto p = ponto;
            p[r.Termo] = r.Minimo;
            r.YMinimo = s.Estimativa(p);
            p[r.Termo] = r.Maximo;
            r.YMaximo = s.Estimativa(p);
            auto variacao = [&](const std::optional<long double> &y) {
                if (!y || *y_ == 0) return Infinito;
                return *y / *y_ - 1;
            };
            const long double vMin = variacao(r.YMinimo), vMax = variacao(r.YMaximo);
            r.MaiorVariacao = std::fabs(vMin) > std::fabs(vMax) ? vMin : vMax;
            r.ForaDaFaixa = limites && std::fabs(r.MaiorVariacao) > faixa_ + 1e-12L;
        }
        // The dependent variable: how far the estimate lies beyond its sample range.
        minimoY_ = s.MinimoDependente();
        maximoY_ = s.MaximoDependente();
        u_ = maximoY_ == 0 ? Infinito : (*y_ - maximoY_) / maximoY_;
        l_ = minimoY_ == 0 ? -Infinito : (*y_ - minimoY_) / minimoY_;
    }

    void Imprime(int) override {
        const TSignificancias &sig = Sig();
        const int modo = sig.Extrapolacao;
        const std::string &desc = sig.Descricao;
        Corpo();
        E().AlignLeft();
        Linha((sig.ExtrapolacaoNormatizada ? "De acordo com " + desc + ", as" : std::string("As")) +
              " extrapolações " +
              (modo == meNaoAdmitida          ? "não podem ser admitidas."
               : modo == meAdmitidaComLimites ? "podem ser admitidas com algumas limitações."
                                              : "podem ser admitidas."));
        LinhaVazia();
        if (r_.empty()) {
            // No independent variable: no characteristic to compare and no sample limit to
            // move the estimate to; only the estimate against the dependent's range remains.
            Linha("Não existem variáveis independentes no modelo selecionado: não há "
                  "características do objeto sob avaliação a comparar com os limites amostrais.");
            LinhaVazia();
            if (y_)
                Dependente();
            else
                Linha("Não foi possível calcular o valor estimado no ponto de avaliação: as "
                      "extrapolações do valor estimado não podem ser julgadas.");
            return;
        }
        Caracteristicas();
        if (!completo_) {
            LinhaVazia();
            Linha("Não foram indicadas algumas características para " +
                  DescricaoObjeto(Grid()).ComArtigo() + " sob avaliação.");
            return;
        }
        if (!y_) {
            LinhaVazia();
            Linha("Não foi possível calcular o valor estimado no ponto de avaliação: as "
                  "extrapolações do valor estimado não podem ser julgadas.");
            return;
        }
        LinhaVazia();
        Dependente();
        LinhaVazia();
        NosLimites();
    }

    std::string TextoCelula(int l, int c) const override {
        switch (tabela_) {
        case 0:
            return CelulaCaracteristica(l, c);
        case 1:
            return CelulaDependente(l, c);
        default:
            return CelulaLimites(l, c);
        }
    }
    int AlinhamentoCelula(int l, int c) const override {
        if (l == 0) return apCentro;
        return c == 0 ? apEsquerda : apDireita;
    }

  private:
    // "Sim"/"Não" under "Admitida"; "Aprovada"/"Não aprovada" under the other modes.
    std::string Situacao(bool extrapolou, bool aprovada) const {
        if (Sig().Extrapolacao == meAdmitida) return extrapolou ? "Sim" : "Não";
        return aprovada ? "Aprovada" : "Não aprovada";
    }
    std::string Percentual(long double fracao) const {
        return Infinita(fracao) ? Num(Infinito) : Fixo(std::fabs(fracao) * 100, 2);
    }
    std::string ValorDependente(long double x) const {
        return TextoValorColuna(Grid(), static_cast<int>(Sistema().ColunaTermo(1)), x);
    }

    // ---- Characteristics ----
    void Caracteristicas() {
        const TSignificancias &sig = Sig();
        const std::string &desc = sig.Descricao;
        const int modo = sig.Extrapolacao;
        Linha("» Extrapolação dos limites amostrais das características do objeto sob avaliação:");
        if (modo == meAdmitidaComLimites) {
            const bool contaMarcada = sig.VariaveisExtrapolandoNormatizado;
            const long N = sig.VariaveisExtrapolando;
            std::string regra;
            if (sig.TodasExtrapolam)
                regra =
                    (contaMarcada ? "De acordo com " + desc + ", todas" : std::string("Todas")) +
                    " as característica do objeto sob avaliação podem extrapolar os limites "
                    "amostrais";
            else if (N > 0)
                regra = (contaMarcada ? "De acordo com " + desc + ", até " : std::string("Até ")) +
                        std::to_string(N) + " característica" + (N > 1 ? "s" : "") +
                        " do objeto sob avaliação pode" + (N > 1 ? "m" : "") +
                        " extrapolar os limites amostrais";
            else
                regra = (contaMarcada ? "De acordo com " + desc + ", n" : std::string("N")) +
                        "enhuma característica do objeto sob avaliação pode extrapolar os limites "
                        "amostrais";
            const bool comContagem = sig.TodasExtrapolam || N > 0;
            if (comContagem || reprovadas_ > 0) {
                if (contaMarcada == sig.ExcessoNormatizado)
                    regra += comContagem ? " com as seguintes restrições:"
                                         : " além dos limites seguintes:";
                else if (sig.ExcessoNormatizado)
                    regra += ". De acordo com " + desc +
                             ", há as seguintes restrições para a extrapolação:";
                else
                    regra += ". Serão consideradas as seguintes restrições para a extrapolação:";
                Linha(regra);
                Linha("  • Até " + Fixo(sig.ExcessoSuperior * 100, 1) +
                      "% acima do limite amostral superior.");
                Linha("  • Até " + Fixo(sig.ExcessoInferior * 100, 1) +
                      "% abaixo do limite amostral inferior.");
            } else {
                Linha(regra + ".");
            }
            Linha(sig.SemExtrapolarQualitativas
                      ? "Não são permitidas extrapolações em variáveis qualitativas e dicotômicas."
                      : "São permitidas extrapolações em variáveis qualitativas e dicotômicas.");
        }
        LinhaVazia();
        tabela_ = 0;
        EscreveTabela(static_cast<int>(r_.size()) + 1, 6);
        const bool atendidos = ParametrosAtendidos();
        // With values missing only a failure among the given ones is a finding: compliance
        // cannot be stated of characteristics nobody typed.
        if (!completo_ && atendidos)
            Linha("Os parâmetros de extrapolação das características do objeto sob avaliação não "
                  "podem ser julgados enquanto faltarem valores.");
        else
            Linha(std::string("Os parâmetros de extrapolação das características do objeto sob "
                              "avaliação ") +
                  (atendidos ? "foram atendidos." : "não foram plenamente atendidos."));
        LinhaComentario(Resumo(atendidos));
    }
    bool ParametrosAtendidos() const {
        const TSignificancias &sig = Sig();
        switch (sig.Extrapolacao) {
        case meNaoAdmitida:
            return extrapolaram_ == 0;
        case meAdmitidaComLimites:
            return reprovadas_ == 0 && (sig.TodasExtrapolam || static_cast<long>(extrapolaram_) <=
                                                                   sig.VariaveisExtrapolando);
        default:
            return reprovadas_ == 0;
        }
    }
    std::string Resumo(bool atendidos) const {
        if (extrapolaram_ == 0)
            return completo_ ? "Todas as características do objeto sob avaliação se encontram "
                               "dentro do limite amostral."
                             : "Nenhuma das características informadas extrapolou os limites "
                               "amostrais.";
        const bool varias = extrapolaram_ > 1;
        std::string t = (varias ? std::to_string(extrapolaram_) : std::string("1")) +
                        " característica" + (varias ? "s" : "") +
                        " do objeto sob avaliação extrapol" + (varias ? "aram" : "ou") +
                        " os limites amostrais";
        if (reprovadas_ == extrapolaram_)
            t += varias ? ", todas elas excedendo os limites de extrapolação permitidos"
                        : ", excedendo os limites de extrapolação permitidos";
        else if (reprovadas_ == 1)
            t += ", das quais uma excedeu os limites de extrapolação permitidos";
        else if (reprovadas_ > 1)
            t += ", das quais " + std::to_string(reprovadas_) +
                 " excederam os limites de extrapolação permitidos";
        t += ", de forma que as extrapolações das características do objeto sob avaliação";
        if (reprovadas_ > 0) return t + " não atendem aos parâmetros selecionados.";
        return t + (atendidos ? " atendem aos parâmetros selecionados."
                              : " excedem os parâmetros selecionados.");
    }
    std::string CelulaCaracteristica(int l, int c) const {
        if (l == 0) {
            static const char *titulos[] = {
                "Característica\rdo objeto\rsob avaliação", "Limite\ramostral\rinferior",
                "Limite\ramostral\rsuperior", "Valor no ponto\rde avaliação",
                "Variação da característica\rdo objeto em relação\raos limites amostrais"};
            if (c < 5) return titulos[c];
            return Sig().Extrapolacao == meAdmitida ? "Extrapolou\rlimites\ramostrais" : "Situação";
        }
        const ResultadoAvaliacaoLimiteAmostral &r = r_[static_cast<std::size_t>(l) - 1];
        switch (c) {
        case 0:
            return r.Nome;
        case 1:
            return TextoValorColuna(Grid(), r.Coluna, r.Minimo);
        case 2:
            return TextoValorColuna(Grid(), r.Coluna, r.Maximo);
        case 3:
            return r.Informado ? TextoValorColuna(Grid(), r.Coluna, r.Valor) : std::string();
        case 4:
            if (!r.Informado) return {};
            if (!r.Extrapolou()) return "Dentro dos limites amostrais";
            if (r.Qualitativa)
                return r.Abaixo ? "Abaixo dos limites amostrais" : "Acima dos limites amostrais";
            return Percentual(r.Variacao) +
                   (r.Abaixo ? "% abaixo do lim. inferior" : "% acima do lim. superior");
        default:
            return r.Informado ? Situacao(r.Extrapolou(), r.Aprovada) : std::string();
        }
    }

    // ---- The estimate against the dependent variable's range ----
    bool AcimaDoLimite() const { return u_ > 0; }
    bool AbaixoDoLimite() const { return l_ < 0; }
    bool DependenteAprovado() const {
        const TSignificancias &sig = Sig();
        switch (sig.Extrapolacao) {
        case meAdmitida:
            return true;
        case meNaoAdmitida:
            return !AcimaDoLimite() && !AbaixoDoLimite();
        default:
            return !(AcimaDoLimite() && u_ > sig.EstimativaSuperior + 1e-12L) &&
                   !(AbaixoDoLimite() && -l_ > sig.EstimativaInferior + 1e-12L);
        }
    }
    void Dependente() {
        const TSignificancias &sig = Sig();
        Linha("» Extrapolação do valor estimado em relação aos limites amostrais da variável "
              "dependente:");
        switch (sig.Extrapolacao) {
        case meAdmitida:
            Linha("Admite-se extrapolação do valor estimado em relação aos limites amostrais.");
            break;
        case meNaoAdmitida:
            Linha("Não é admitida extrapolação do valor estimado além dos limites amostrais.");
            break;
        default:
            Linha("Considerados os seguintes limites de extrapolação para o valor estimado:");
            Linha("  • Limite superior: " + Fixo(sig.EstimativaSuperior * 100, 1) +
                  "% acima do limite amostral superior. Valor estimado deve ser inferior a " +
                  ValorDependente(maximoY_ * (1 + sig.EstimativaSuperior)));
            Linha("  • Limite  inferior: " + Fixo(sig.EstimativaInferior * 100, 1) +
                  "% abaixo do limite amostral inferior. Valor estimado deve ser superior a " +
                  ValorDependente(minimoY_ * (1 - sig.EstimativaInferior)));
            break;
        }
        LinhaVazia();
        tabela_ = 1;
        EscreveTabela(2, 6);
        if (AcimaDoLimite())
            Linha("O valor estimado está excedendo em " + Percentual(u_) +
                  "% o limite amostral superior.");
        else if (AbaixoDoLimite())
            Linha("O valor estimado está excedendo em " + Percentual(l_) +
                  "% o limite amostral inferior.");
        else
            Linha("O valor estimado está dentro dos limites amostrais.");
    }
    std::string CelulaDependente(int l, int c) const {
        static const char *titulos[] = {
            "Variável\rdependente",
            "Limite\r  amostral  \rinferior",
            "Limite\r  amostral  \rsuperior",
            "Valor estimado",
            "Variação do\rvalor estimado em relação\raos limites amostrais",
            "Situação"};
        if (l == 0) return titulos[c];
        switch (c) {
        case 0:
            return NomeVar(Sistema(), 1);
        case 1:
            return ValorDependente(minimoY_);
        case 2:
            return ValorDependente(maximoY_);
        case 3:
            return ValorDependente(*y_);
        case 4:
            if (AcimaDoLimite()) return Percentual(u_) + "% acima do lim. superior";
            if (AbaixoDoLimite()) return Percentual(l_) + "% abaixo do lim. inferior";
            return "Dentro dos limites amostrais";
        default:
            if (!AcimaDoLimite() && !AbaixoDoLimite()) return "Dentro dos limites";
            if (!DependenteAprovado()) return "Não aprovado";
            return Sig().Extrapolacao == meAdmitidaComLimites ? "Dentro dos limites definidos"
                                                              : "Aprovado";
        }
    }

    // ---- The estimate at the sample limits of each variable ----
    void NosLimites() {
        const bool limites = Sig().Extrapolacao == meAdmitidaComLimites;
        Linha("» Extrapolação do valor estimado nos limites amostrais de cada uma das variáveis "
              "independentes:");
        Linha("• Valor estimado no ponto de avaliação: " + ValorDependente(*y_));
        if (limites) {
            Linha("• Limite superior para o valor estimado nos limites amostrais das variáveis "
                  "independentes: " +
                  ValorDependente(*y_ * (1 + faixa_)));
            Linha("• Limite inferior para o valor estimado nos limites amostrais das variáveis "
                  "independentes: " +
                  ValorDependente(*y_ * (1 - faixa_)));
        }
        LinhaVazia();
        tabela_ = 2;
        EscreveTabela(static_cast<int>(r_.size()) + 1, 5);
        std::vector<std::string> fora;
        for (const ResultadoAvaliacaoLimiteAmostral &r : r_)
            if (r.ForaDaFaixa) fora.push_back(r.Nome);
        if (Sig().Extrapolacao == meNaoAdmitida) {
            Linha("Como as extrapolações não são admitidas, não há variação admitida para as "
                  "estimativas nos limites amostrais: as variações acima são apenas informativas.");
            return;
        }
        if (fora.empty()) {
            Linha("Neste modelo, nenhuma estimativa nos limites amostrais com variáveis excede as "
                  "variações admitidas.");
            return;
        }
        Linha("Neste modelo, as estimativas nos limites amostrais das seguintes variáveis excedem "
              "as variações admitidas:");
        for (const std::string &n : fora)
            Linha("  · " + n);
    }
    std::string CelulaLimites(int l, int c) const {
        static const char *titulos[] = {
            "Variável\rindependente", "Valor estimado\rno limite\ramostral inferior",
            "Valor estimado\rno limite\ramostral superior",
            "Maior variação\rem relação ao\rponto de avaliação", "Extrapola\rlimites"};
        if (l == 0) return titulos[c];
        const ResultadoAvaliacaoLimiteAmostral &r = r_[static_cast<std::size_t>(l) - 1];
        switch (c) {
        case 0:
            return r.Nome;
        case 1:
            return r.YMinimo ? ValorDependente(*r.YMinimo) : throw TErroCalculo("estimativa");
        case 2:
            return r.YMaximo ? ValorDependente(*r.YMaximo) : throw TErroCalculo("estimativa");
        case 3:
            return (Infinita(r.MaiorVariacao) ? Num(r.MaiorVariacao)
                                              : Fixo(r.MaiorVariacao * 100, 2)) +
                   "%";
        default:
            // Without admitted extrapolation there is no admitted variation to approve against.
            if (Sig().Extrapolacao == meNaoAdmitida) return "Não se aplica";
            return Situacao(r.ForaDaFaixa, !r.ForaDaFaixa);
        }
    }

    ArrayResultadoAvaliacaoLimiteAmostral r_;
    std::size_t extrapolaram_ = 0, reprovadas_ = 0;
    bool completo_ = true;
    std::optional<long double> y_;
    long double faixa_ = 0, minimoY_ = 0, maximoY_ = 0, u_ = 0, l_ = 0;
    int tabela_ = 0;
};

} // namespace

// The builder the catalogue row holds.
ZELTO_CONSTRUTOR_ITEM(TIA_Extrapolacao)

} // namespace zelto
