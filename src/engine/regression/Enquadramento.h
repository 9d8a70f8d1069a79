// The grading of a regression model under the Brazilian standard for the valuation of urban
// properties (ABNT NBR 14653-2, models of linear regression): the grade of fundamentação from
// six criteria and their points, the grade of precisão from the 80 % confidence interval of the
// mean estimate, the micronumerosity check and the campo de arbítrio.
//
// Two layers:
//  - the rules, pure functions of plain numbers (n, k, significances, the extrapolation
//    measures, counts per category) over one declared table, TTabelaEnquadramento; the edition
//    in force is NBR14653_2_2011, and a later edition is another table;
//  - the numbers of a fitted model (MedidasExtrapolacao, SignificanciaMaximaRegressores,
//    SignificanciaModelo, ContagensCategorias, Enquadra), read from a TSistema fitted through
//    Inverte and CalculaResiduos (CompletaAjuste does both), whose worksheet holds the subject
//    property's values.
//
// Grades are III, II, I or Nenhum ("sem enquadramento"); a criterion that does not reach grade
// I scores 0 points. A number exactly at a limit of the table reaches it, up to the rounding of
// a quotient (FolgaEnquadramento). Significances, variations, amplitudes are fractions (0.10 for
// 10 %). Nothing here throws; nothing here is Qt.
#pragma once

#include "common/Numeros.h"
#include "regression/Sistema.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zelto {

enum class TGrau : std::uint8_t { Nenhum = 0, I = 1, II = 2, III = 3 };

// "III", "II", "I"; "sem enquadramento" for Nenhum.
std::string TextoGrau(TGrau g);

// A quotient exactly at a limit of the table counts as reaching it despite its last bits.
inline constexpr long double FolgaEnquadramento = 1e-12L;

// A limit per grade. The comparison (at most, at least) belongs to the criterion.
struct TLimitesGrau {
    long double III = 0, II = 0, I = 0;
};

// What the overall grade of fundamentação asks: at least PontosMinimos points, the obligatory
// criteria at least at MinimoObrigatorios and the others at least at MinimoDemais.
struct TRegraGrauGeral {
    TGrau Grau = TGrau::Nenhum;
    unsigned PontosMinimos = 0;
    TGrau MinimoObrigatorios = TGrau::Nenhum;
    TGrau MinimoDemais = TGrau::Nenhum;
};

// Every number of the standard that the grading reads.
struct TTabelaEnquadramento {
    const char *Edicao = "";
    // Points of grades I, II and III (a criterion without grade scores 0).
    std::array<unsigned, 3> Pontos{};
    // Criterion 2: n at least this multiple of k + 1.
    TLimitesGrau MultiploDados;
    // Criterion 4: the measure of an extrapolating characteristic at most this multiple of the
    // sample maximum and at least this multiple of the sample minimum;
    long double MultiploMaximo = 0, MultiploMinimo = 0;
    // how many characteristics may extrapolate for grade II (grade I: any number);
    unsigned ExtrapolandoII = 0;
    // the largest variation of the estimate from the estimate at the sample frontier, in
    // modulus, for grades II and I (III admits no extrapolation).
    long double VariacaoFronteiraII = 0, VariacaoFronteiraI = 0;
    // Criterion 5: the largest two-tailed significance of the regressors, at most.
    TLimitesGrau SignificanciaRegressores;
    // Criterion 6: the significance of the model's F test, at most.
    TLimitesGrau SignificanciaModelo;
    // Criteria that are obligatory in the overall grade (1-based numbers 1..6 → index 0..5).
    std::array<bool, 6> Obrigatorio{};
    // The overall grades, from the highest.
    std::array<TRegraGrauGeral, 3> Geral{};
    // Precisão: the amplitude of the mean interval at this confidence over the central
    // estimate, at most.
    long double ConfiancaPrecisao = 0;
    TLimitesGrau AmplitudePrecisao;
    // Micronumerosity: n at least MultiploMicronumerosidade·(k + 1); per category at least
    // AmostrasCategoriaPequena samples when n <= LimitePequena, PercentualCategoria % of n
    // when n <= LimiteMedia, AmostrasCategoriaGrande above.
    unsigned MultiploMicronumerosidade = 0;
    unsigned LimitePequena = 0, AmostrasCategoriaPequena = 0;
    unsigned LimiteMedia = 0, PercentualCategoria = 0;
    unsigned AmostrasCategoriaGrande = 0;
    // Campo de arbítrio: this fraction around the central estimate.
    long double CampoArbitrio = 0;
};

// ABNT NBR 14653-2:2011, tables of fundamentação and precisão for linear regression models.
inline constexpr TTabelaEnquadramento NBR14653_2_2011{
    .Edicao = "ABNT NBR 14653-2:2011",
    .Pontos = {1, 2, 3},
    .MultiploDados = {6, 4, 3},
    .MultiploMaximo = 2,
    .MultiploMinimo = 0.5L,
    .ExtrapolandoII = 1,
    .VariacaoFronteiraII = 0.15L,
    .VariacaoFronteiraI = 0.20L,
    .SignificanciaRegressores = {0.10L, 0.20L, 0.30L},
    .SignificanciaModelo = {0.01L, 0.02L, 0.05L},
    .Obrigatorio = {false, true, false, true, true, true},
    .Geral = {{{TGrau::III, 16, TGrau::III, TGrau::II},
               {TGrau::II, 10, TGrau::II, TGrau::I},
               {TGrau::I, 6, TGrau::I, TGrau::I}}},
    .ConfiancaPrecisao = 0.80L,
    .AmplitudePrecisao = {0.30L, 0.40L, 0.50L},
    .MultiploMicronumerosidade = 3,
    .LimitePequena = 30,
    .AmostrasCategoriaPequena = 3,
    .LimiteMedia = 100,
    .PercentualCategoria = 10,
    .AmostrasCategoriaGrande = 10,
    .CampoArbitrio = 0.15L,
};

// ---- Criteria of fundamentação, one by one ------------------------------------------------

unsigned PontosGrau(TGrau g, const TTabelaEnquadramento &t = NBR14653_2_2011);
// Criterion 2: n market data used for k independent variables.
TGrau GrauQuantidadeDados(std::size_t n, std::size_t k,
                          const TTabelaEnquadramento &t = NBR14653_2_2011);
// Criterion 5: the largest two-tailed significance among the regressors.
TGrau GrauSignificanciaRegressores(long double significancia,
                                   const TTabelaEnquadramento &t = NBR14653_2_2011);
// Criterion 6: the significance of the F test.
TGrau GrauSignificanciaModelo(long double significancia,
                              const TTabelaEnquadramento &t = NBR14653_2_2011);

// Criterion 4. One independent variable against the sample: its value at the subject, its
// sample minimum and maximum (raw values, over the active samples) and how the estimate at the
// subject differs from the estimate with this variable alone moved to the frontier it passed
// (the others at the subject's values): Ŷ / Ŷfronteira − 1, 0 inside the range, Infinito when
// Ŷfronteira cannot be computed or is 0. A value equal to a sample limit is inside.
struct TExtrapolacaoVariavel {
    std::size_t Termo = 0; // the model's term (2..m); 0 when the record was made by hand
    std::string Nome;
    bool Qualitativa = false; // qualitative or dichotomous: a code, not a measure
    long double Valor = 0, Minimo = 0, Maximo = 0;
    long double VariacaoFronteira = 0;
    // The estimate with this variable at its sample minimum and at its sample maximum, the
    // others at the subject's values (what the extrapolation item tabulates); nothing where a
    // transformation faults. Not read by the grading.
    std::optional<long double> EstimativaNoMinimo, EstimativaNoMaximo;

    bool Abaixo() const { return Valor < Minimo; }
    bool Acima() const { return Valor > Maximo; }
    bool Extrapola() const { return Abaixo() || Acima(); }
    // Within the measure limits: not above MultiploMaximo × maximum, not below MultiploMinimo ×
    // minimum. False for a qualitative or dichotomous variable outside its range (a code has
    // no measure to stretch) and, by the same rule read literally, beyond a limit that is 0 or
    // negative.
    bool DentroDasMedidas(const TTabelaEnquadramento &t = NBR14653_2_2011) const;
};

struct TMedidasExtrapolacao {
    long double Estimativa = 0; // at the subject, original scale of the dependent variable
    std::vector<TExtrapolacaoVariavel> Variaveis;
    // Ŷ / Ŷfronteira − 1 with every extrapolating variable moved to its frontier at once (0 when
    // none extrapolates; Infinito when not computable).
    long double VariacaoConjunta = 0;
};

struct TAvaliacaoExtrapolacao {
    TGrau Grau = TGrau::Nenhum;
    std::size_t Extrapolando = 0;  // variables outside the sample range
    bool DentroDasMedidas = true;  // every one of them within the measure limits
    long double MaiorVariacao = 0; // the largest |variation| among them, one by one
    long double VariacaoConjunta = 0;
};

// III when no variable extrapolates; II when at most ExtrapolandoII do, within the measure
// limits, each varying at most VariacaoFronteiraII in modulus; I when any number do, within the
// measure limits, each and all together varying at most VariacaoFronteiraI; else Nenhum.
TAvaliacaoExtrapolacao AvaliaExtrapolacao(const TMedidasExtrapolacao &medidas,
                                          const TTabelaEnquadramento &t = NBR14653_2_2011);

// The overall grade of six criteria: the first rule of t.Geral that they meet, else Nenhum.
TGrau GrauGeral(const std::array<TGrau, 6> &graus, const TTabelaEnquadramento &t = NBR14653_2_2011);

// ---- Fundamentação --------------------------------------------------------------------------

// What the grading of fundamentação reads. Criteria 1 (caracterização do imóvel avaliando) and 3
// (identificação dos dados de mercado) are the valuer's declarations: not declared, they count
// as grade I. Extrapolacao is nothing when the subject is not given (or its estimate cannot be
// computed): criterion 4, and with it the overall grade, cannot then be stated.
struct TDadosFundamentacao {
    std::size_t n = 0, k = 0;
    std::optional<TGrau> Caracterizacao, Identificacao;
    std::optional<TMedidasExtrapolacao> Extrapolacao;
    long double SignificanciaRegressores = 0; // largest two-tailed, fraction
    long double SignificanciaModelo = 0;      // F test, fraction
};

struct TCriterioFundamentacao {
    int Numero = 0; // 1..6
    TGrau Grau = TGrau::Nenhum;
    unsigned Pontos = 0;
    bool Avaliado = true;   // false: criterion 4 without the subject
    bool Declarado = false; // criteria 1 and 3: given by the valuer (else taken as I)
    // The number the grade rests on: n (2), the largest variation in modulus, one by one or
    // together (4), the significance (5, 6); 0 for 1 and 3.
    long double Valor = 0;
};

struct TFundamentacao {
    std::array<TCriterioFundamentacao, 6> Criterios{};
    TAvaliacaoExtrapolacao Extrapolacao; // criterion 4's findings (when evaluated)
    unsigned Pontos = 0;                 // the sum over the criteria evaluated
    // Nothing when criterion 4 could not be evaluated; Nenhum is "sem enquadramento".
    std::optional<TGrau> Grau;
};

TFundamentacao GrauFundamentacao(const TDadosFundamentacao &d,
                                 const TTabelaEnquadramento &t = NBR14653_2_2011);

// ---- Precisão, micronumerosity, campo de arbítrio --------------------------------------------

// (Superior − Inferior) / |estimativa|; Infinito when the estimate is 0.
long double AmplitudeRelativa(const TIntervalo &intervalo, long double estimativa);
TGrau GrauPrecisao(long double amplitude, const TTabelaEnquadramento &t = NBR14653_2_2011);

struct TPrecisao {
    long double Estimativa = 0;
    TIntervalo Intervalo; // of the mean, at t.ConfiancaPrecisao
    long double Amplitude = 0;
    TGrau Grau = TGrau::Nenhum; // Nenhum: above the last limit, a justification is needed
};

// Samples of one category: a value of a dichotomous variable, or a label of a qualitative one.
struct TContagemCategoria {
    std::string Variavel, Categoria;
    long double Valor = 0;
    std::size_t Amostras = 0;
};

struct TMicronumerosidade {
    std::size_t n = 0, k = 0;
    std::size_t MinimoDados = 0;            // MultiploMicronumerosidade·(k + 1)
    std::size_t MinimoCategoria = 0;        // samples each category needs for this n
    std::vector<TContagemCategoria> Falhas; // the categories below MinimoCategoria, in order
    std::size_t Categorias = 0;             // categories checked (none without such regressors)
    bool DadosSuficientes() const { return n >= MinimoDados; }
    bool Atende() const { return DadosSuficientes() && Falhas.empty(); }
};

// The samples each category needs among n: AmostrasCategoriaPequena up to LimitePequena,
// PercentualCategoria % of n (rounded up) up to LimiteMedia, AmostrasCategoriaGrande above.
std::size_t MinimoPorCategoria(std::size_t n, const TTabelaEnquadramento &t = NBR14653_2_2011);
TMicronumerosidade AvaliaMicronumerosidade(std::size_t n, std::size_t k,
                                           std::span<const TContagemCategoria> categorias,
                                           const TTabelaEnquadramento &t = NBR14653_2_2011);

// The interval of ±CampoArbitrio around the estimate.
TIntervalo CampoArbitrio(long double estimativa, const TTabelaEnquadramento &t = NBR14653_2_2011);

// ---- From a fitted model ----------------------------------------------------------------------

// The smallest and the largest raw value of term k's variable over the active samples.
TIntervalo LimitesAmostrais(const TSistema &s, std::size_t k);
// Criterion 4's measures at the subject property: nothing when some regressor has no subject
// value or the estimate at the subject cannot be computed. The frontier of a variable is its
// raw sample limit; the model's transformations are applied to it like to any value, and the
// variations are taken in the original scale of the dependent variable.
std::optional<TMedidasExtrapolacao> MedidasExtrapolacao(const TSistema &s);
// The largest two-tailed significance of the regressors' t tests (the intercept is not a
// regressor); 0 for an exact fit; Infinito when the model has no regressor.
long double SignificanciaMaximaRegressores(const TSistema &s);
// The significance of the F test; Infinito when the model has no regressor.
long double SignificanciaModelo(const TSistema &s);
// Per dichotomous or qualitative regressor, per value found among the active samples (in
// increasing order), its count; the category is the text the worksheet shows for the value.
std::vector<TContagemCategoria> ContagensCategorias(const TSistema &s);

// The valuer's declarations for criteria 1 and 3 (nothing: not declared).
struct TDeclaracoesEnquadramento {
    std::optional<TGrau> Caracterizacao, Identificacao;
};

// Everything the grade item prints. Precisao and CampoArbitrio are nothing without a subject
// (or where its estimate or interval cannot be computed).
struct TEnquadramento {
    TFundamentacao Fundamentacao;
    std::optional<TPrecisao> Precisao;
    TMicronumerosidade Micronumerosidade;
    std::optional<TIntervalo> CampoArbitrio;
};

TEnquadramento Enquadra(const TSistema &s, const TDeclaracoesEnquadramento &declaracoes,
                        const TTabelaEnquadramento &t = NBR14653_2_2011);

} // namespace zelto
