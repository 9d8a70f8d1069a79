// TSistema: the regression system. It fits a multiple linear regression with intercept to the
// active samples of the worksheet, for a model given as a list of terms (a worksheet column
// and a transformation code each; term 1 is the dependent variable), and answers every
// numeric question that the model search, the choice of a model and the report ask about the
// fitted model.
//
// Building a fit, in calling order (each step needs the earlier ones):
//   CarregaDados          raw matrix and active samples from the worksheet (once per search);
//   Termos                set by the caller;
//   MontaSistema          normal equations over the active samples; false when a term's
//                         transformation failed on an active sample or a term names no column;
//   Resolve               coefficients and the fit; false when the model is refused: fewer
//                         than m + 1 active samples, a system singular up to rounding (a
//                         constant, duplicated or combined regressor, EquacoesNormais.h), a
//                         constant transformed dependent column (but for the descriptive mode's
//                         single model), or a fit that would show a negative sum of squares;
//   CalculaEstatisticas   R, F and the sums of squares (kept multiplied by n);
//   Inverte               C = A⁻¹ (hat values, covariances, intervals);
//   CalculaResiduos       residuals, their moments and classes;
//   CalculaAlavancas      hat values (needs Inverte); false when rounding would put one
//                         outside [0, 1] (the model is then refused too);
//   OrdenaResiduos        the ascending order of the residuals.
// After a refusal, Recusa and MotivoRecusa say why, in the words the user is shown.
// Queries are read-only and valid after the steps they rest on; indexes of terms and of
// active samples are 1-based, and an index out of range gives 0.
//
// Numbers are long double. Nothing here throws. A failed fit returns false; a statistic that
// cannot be computed returns the marker Infinito (negated where the quantity tends to minus
// infinity), never NaN:
//   - n <= m (no residual degrees of freedom): nMSE, the residual variance, the t of the
//     correlation and the residual variants are Infinito, the adjusted R² is −Infinito, F is
//     Infinito, the intervals are (−Infinito, Infinito); with n < m the system is singular and
//     Resolve fails;
//   - n − m − 1 = 0 (variance without sample i) and hᵢ = 1: Infinito;
//   - an exact fit (|R| > LimiteAjusteExato, 0.9999): every residual-based quantity is 0, the
//   adjusted R² 1 and
//     the t of the correlation Infinito.
// Estimates and intervals at a point apply transformations to values that were never checked
// (the subject property's values); they return nothing (std::nullopt) when a transformation
// faults there, and the caller shows the cell as not computable.
//
// The data (raw matrix, active list, transformed-column cache) live in a TDadosRegressao that
// the search may read directly, to build cross products of every candidate column once and
// solve each candidate with ResolveEquacoes/CalculaAjuste (EquacoesNormais.h).
//
// One instance is bound to one worksheet for its life; not thread-safe.
#pragma once

#include "common/Progresso.h"
#include "regression/DadosRegressao.h"
#include "regression/EquacoesNormais.h"
#include "regression/TestesResiduos.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zelto {

class TGridzelto;

inline constexpr std::size_t MaximoTermos = 200;

// One term of a model: a worksheet column (0 ends the list) and a transformation code.
struct TTermo {
    std::uint16_t Coluna = 0;
    std::uint8_t Codigo = 0;
};

// Lower and upper bound of an interval, in the original scale of the dependent variable.
struct TIntervalo {
    long double Inferior = 0;
    long double Superior = 0;
};

// Raw values at which to estimate: entry k (1..m) is the raw value of term k's variable
// (entry 0 and entry 1, the dependent variable, are not read).
using TPonto = std::vector<long double>;

class TSistema {
  public:
    explicit TSistema(TGridzelto &grid);
    TSistema(const TSistema &) = delete;
    TSistema &operator=(const TSistema &) = delete;

    // The model: term 1 the dependent variable, then the regressors; the list ends at the
    // first term whose column is 0. The model search writes it directly.
    std::array<TTermo, MaximoTermos> Termos{};
    // Clears the terms and sets them from a list.
    void DefineTermos(std::span<const TTermo> termos);

    // A fit with |R| above this bound is treated as exact: its residuals are taken for
    // rounding noise, so the residual variance, every residual variant, the skewness and the
    // kurtosis are 0, the adjusted R² is 1, the t of the correlation Infinito, all regressors
    // count as significant and the residuals fail the normality test. The program uses
    // 0.9999; 1 measures every fit as it stands.
    long double LimiteAjusteExato = 0.9999L;

    // ---- Building a fit ----------------------------------------------------------------
    void CarregaDados();
    bool MontaSistema();
    bool Resolve();
    void CalculaEstatisticas();
    void Inverte();
    void CalculaResiduos();
    bool CalculaAlavancas();
    void OrdenaResiduos();
    // The steps after CalculaEstatisticas, in order: what a report of the fit reads. False when
    // the hat values refuse the model.
    bool CompletaAjuste();

    // The transformation error (1, 4, 5 or 6) that made the last MontaSistema fail, with the
    // term it came from; 0 when it did not fail for that reason. MontaSistema leaves the
    // process-wide flag cleared.
    std::uint8_t ErroMontagem() const { return erroMontagem_; }
    std::size_t TermoComErro() const { return termoComErro_; }
    // Why the last fit was refused (TRecusa::Nenhuma when it was not), the term concerned (the
    // failed transformation's or the singular pivot's, 0 when none) and the reason as the user
    // reads it, in lower case without a final stop: "o sistema de equações é singular: a
    // variável \"x\" é constante", "a variável dependente transformada é constante",
    // "amostras insuficientes: n = 3 para 3 coeficientes"...
    TRecusa Recusa() const { return recusa_; }
    std::size_t TermoRecusado() const { return termoRecusado_; }
    std::string MotivoRecusa() const;

    // ---- Tests on the fitted model -----------------------------------------------------
    // Regressors significant at the two-sided level alfa (ContaRegressoresSignificativos).
    unsigned RegressoresSignificativos(long double alfa) const;
    // Kolmogorov–Smirnov normality of the standardized residuals (needs the residual order).
    bool TesteNormalidade(long double alfa) const;
    long double DistanciaNormalidade() const; // the distance D of that test
    // Durbin–Watson: 1 positive, −1 negative, 0 none, 2 inconclusive; EstatisticaDW is d.
    int TesteAutocorrelacao(long double alfa) const;
    long double DurbinWatson() const;
    // Active samples outside the outlier limit of the criterion (CriterioOutlier).
    std::size_t NumeroOutliers(int criterio, long double parametro) const;
    // Automatic outlier removal: clears the sanitised marks, reloads, and refits while taking
    // out, one at a time, the active sample farthest beyond the outlier limit, marking it
    // sanitised on the worksheet; stops when none is beyond the limit, when n reaches 2 or
    // m + 1, or when the sink is cancelled (the fit then matches the active samples). Leaves
    // the fit built up to CalculaResiduos. False when a fit fails on the way.
    bool Saneia(int criterio, long double parametro, TProgresso *progresso = nullptr);

    // ---- Model and data ------------------------------------------------------------------
    std::size_t m() const { return m_; }                     // terms = coefficients
    std::size_t n() const { return dados_.Ativas().size(); } // active samples
    std::size_t TotalAmostras() const { return dados_.Amostras(); }
    const TDadosRegressao &Dados() const { return dados_; }
    TDadosRegressao &Dados() { return dados_; }
    const TEquacoesNormais &Equacoes() const { return eq_; }
    const TGridzelto &Grid() const { return grid_; }

    std::size_t ColunaTermo(std::size_t k) const;
    std::uint8_t CodigoTermo(std::size_t k) const;
    std::string NomeTermo(std::size_t k) const; // the column's header cell
    // Worksheet row of active sample i, and the number in its row header (0 when none).
    int LinhaAmostra(std::size_t i) const;
    long NumeroAmostra(std::size_t i) const;

    long double ValorBruto(std::size_t k, std::size_t i) const;
    long double ValorTransformado(std::size_t k, std::size_t i) const;
    long double DependenteBruto(std::size_t i) const;
    // The subject property's value of term k's variable: its entry "name=value" converted as a
    // cell of that column; 0 when missing or empty.
    long double ValorBrutoObjeto(std::size_t k) const;
    // True when the subject property has any value entered.
    bool ObjetoInformado() const;
    // True when every regressor of the model has a non-empty subject value.
    bool ObjetoCompleto() const;
    TPonto PontoAmostra(std::size_t i) const;
    TPonto PontoObjeto() const;

    // ---- Fit ---------------------------------------------------------------------------
    long double Coeficiente(std::size_t k) const;
    const TAjuste &Ajuste() const { return ajuste_; }
    long double R() const { return ajuste_.R; }
    long double R2() const { return ajuste_.R * ajuste_.R; }
    long double F() const { return ajuste_.F; }
    long double nSQR() const { return ajuste_.nSQR; }
    long double nSQE() const { return ajuste_.nSQE; }
    long double nSQT() const { return ajuste_.nSQT; }
    long double nMSE() const { return ajuste_.nMSE; }
    long double R2Ajustado() const;
    long double TCorrelacao() const;
    bool AjusteExato() const; // |R| > LimiteAjusteExato

    long double Media(std::size_t k) const;
    // Σ of term k over the samples in use (Σ y' for k = 1), as the normal equations hold it.
    long double Soma(std::size_t k) const;
    long double ProdutoCruzado(std::size_t j, std::size_t k) const;
    // Term k does not vary over the samples in use: its centred sum of squares is rounding noise
    // of its raw one (the rule that tells a constant column when the equations are singular).
    bool TermoConstante(std::size_t k) const;
    long double ProdutoCentrado(std::size_t j, std::size_t k) const;
    long double DesvioPadrao(std::size_t k) const;
    long double VarianciaResidual() const;
    long double Covariancia(std::size_t j, std::size_t k) const;
    long double ErroPadrao(std::size_t k) const;
    long double TCoeficiente(std::size_t k) const;           // bₖ / standard error
    long double Inversa(std::size_t j, std::size_t k) const; // C[j][k]

    // ---- Residuals (active-sample order; "Ordenado" by position in the residual order) ---
    long double ResiduoBruto(std::size_t i) const; // eᵢ, not centred
    long double Residuo(std::size_t i) const;      // eᵢ − ē
    long double ResiduoOrdenado(std::size_t pos) const;
    std::size_t OrdemResiduo(std::size_t pos) const; // active sample at that position
    long double ResiduoPadronizado(std::size_t i) const;
    long double ResiduoPadronizadoOrdenado(std::size_t pos) const;
    long double ResiduoStudentizado(std::size_t i) const;
    long double ResiduoDeletado(std::size_t i) const;
    long double VarianciaSemAmostra(std::size_t i) const;
    long double ResiduoSobreDesvioSemAmostra(std::size_t i) const;
    long double ResiduoStudentizadoExterno(std::size_t i) const;
    long double Alavanca(std::size_t i) const;
    // Cook's distance tᵢ²·hᵢ/(m·(1 − hᵢ)), tᵢ the studentized residual.
    long double DistanciaCook(std::size_t i) const;
    std::vector<long double> Residuos() const; // centred, active order

    long double MediaResiduos() const { return media_; }
    long double MinimoResiduo() const { return minimoE_; }
    long double MaximoResiduo() const { return maximoE_; }
    long double MinimoDependente() const { return minimoY_; }
    long double MaximoDependente() const { return maximoY_; }
    long double Momento2() const { return m2_; }
    long double Momento3() const { return m3_; }
    long double Momento4() const { return m4_; }
    long double DesvioMedioAbsoluto() const;
    long double Assimetria() const;
    long double Curtose() const;

    // ---- Classes of the residual histogram -------------------------------------------------
    std::size_t NumeroClasses() const { return classes_; }
    long double LarguraClasse() const { return largura_; }
    long double LimiteInferiorClasse(std::size_t a) const;
    long double LimiteSuperiorClasse(std::size_t a) const;
    std::size_t ContagemClasse(std::size_t a) const;
    std::size_t ContagemAcumulada(std::size_t a) const;
    long double MediaClasse(std::size_t a) const;
    long double MedianaAgrupada() const;
    long double ModaAgrupada() const;

    // ---- Estimates, effects, intervals ---------------------------------------------------
    // ŷ' = b₁ + Σ bₖ·f(codeₖ, xₖ) (0 when the dependent code is 0); nothing on a fault.
    std::optional<long double> EstimativaModelo(const TPonto &ponto) const;
    // g(ŷ'), the estimate in the original scale of the dependent variable.
    std::optional<long double> Estimativa(const TPonto &ponto) const;
    std::optional<long double> EstimativaAmostra(std::size_t i) const;
    std::optional<long double> EstimativaObjeto() const;
    // bₖ·f'(codeₖ, x)/f'(code₁, Y): the change of the estimate Y (original scale) per unit of
    // term k's variable at the value x.
    std::optional<long double> EfeitoMarginal(std::size_t k, long double x, long double Y) const;
    // Intervals at confidence p (0.80 for 80 %).
    std::optional<TIntervalo> IntervaloMedia(const TPonto &ponto, long double p) const;
    std::optional<TIntervalo> IntervaloPredicao(const TPonto &ponto, long double p) const;
    std::optional<TIntervalo> IntervaloTermo(std::size_t k, const TPonto &ponto,
                                             long double p) const;

    // The equation in the model scale and in the original scale of the dependent variable;
    // empty when the dependent code is 0.
    std::string Equacao() const;
    std::string EquacaoOriginal() const;

  private:
    long double Bruto(std::size_t k, std::uint32_t s) const;
    const TColunaTransformada *ColunaTermo_(std::size_t k) const;
    std::uint32_t Amostra(std::size_t i) const { return dados_.Ativas()[i - 1]; }
    bool AmostraValida(std::size_t i) const { return i >= 1 && i <= n(); }
    bool SemGraus() const { return n() <= m_; }
    std::optional<TIntervalo> Intervalo(const TPonto &ponto, long double p, int tipo,
                                        std::size_t k) const;
    std::string PecasTermos() const;

    TGridzelto &grid_;
    TDadosRegressao dados_;
    std::size_t m_ = 0;
    TEquacoesNormais eq_;
    std::vector<const TColunaTransformada *> colunas_; // per term (0-based), this model
    std::vector<long double> b_, C_;
    std::vector<long double> linha_; // one sample's terms, while the sums are built
    TAjuste ajuste_;
    std::uint8_t erroMontagem_ = 0;
    std::size_t termoComErro_ = 0;
    TRecusa recusa_ = TRecusa::Nenhuma;
    std::size_t termoRecusado_ = 0;
    bool inferencial_ = true;

    std::vector<long double> e_, h_;
    std::vector<std::size_t> ordem_; // 0-based active positions, residuals ascending
    long double media_ = 0, minimoE_ = 0, maximoE_ = 0, minimoY_ = 0, maximoY_ = 0;
    long double m2_ = 0, m3_ = 0, m4_ = 0;
    std::size_t classes_ = 1;
    long double largura_ = 0;
    std::vector<std::size_t> contagem_;   // per class, 0-based
    std::vector<long double> somaClasse_; // per class
};

// The grouped mode of a histogram: q the first class of greatest count,
// L(q) + (f(q) − f(q−1))·w/(2f(q) − f(q−1) − f(q+1)) with f = 0 outside the classes; the
// midpoint of class q when the divisor is not positive (no counts at all).
long double ModaDeClasses(long double inicio, long double largura,
                          std::span<const std::size_t> contagens);

} // namespace zelto
