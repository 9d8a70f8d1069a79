// The normal equations of a linear regression with intercept, their solution and the fit
// statistics that follow from them alone.
//
// For a model of m terms (term 1 the dependent variable y', terms 2..m the regressors x'ₖ,
// all already transformed) over n samples the equations are built from plain sums, with no
// centring pass:
//   A[1][1] = n, A[1][k] = A[k][1] = Σ x'ₖ, A[j][k] = Σ x'ⱼ·x'ₖ, c[1] = Σ y', c[k] = Σ x'ₖ·y',
//   Syy = Σ y'².
// This is all the model search needs per candidate: it can build the sums of every candidate
// column once, gather the small m×m system of each candidate from them and call
// ResolveEquacoes and CalculaAjuste, which touch nothing else (they are safe to run on several
// threads at once, each on its own TEquacoesNormais). The regression system uses the same
// functions, so a candidate ranked by the search and the same model fitted for the report
// give identical numbers.
//
// The sums of squares are kept multiplied by n (nSQR, nSQE, nSQT, nMSE); divide them by n
// for the analysis of variance. None of these functions throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zelto {

// The m×m matrix A (row-major, 0-based: A[j·m + k] is A[j+1][k+1]), the vector c and Syy,
// over n samples.
struct TEquacoesNormais {
    std::size_t m = 0;
    std::size_t n = 0;
    std::vector<long double> A;
    std::vector<long double> c;
    long double Syy = 0;

    // Sets the size and zeroes every sum.
    void Dimensiona(std::size_t termos);
    // 1-based access, as the formulas write it.
    long double &a(std::size_t j, std::size_t k) { return A[(j - 1) * m + (k - 1)]; }
    long double a(std::size_t j, std::size_t k) const { return A[(j - 1) * m + (k - 1)]; }
};

// Singularity up to rounding. Elimination turns an exactly collinear column (a constant, a
// duplicate, an exact combination of the columns before it, in any transformation) into a pivot
// that is rounding noise rather than 0, so a pivot counts as zero when it is not above
// LimitePivo times its column's own sum of squares A[j][j] as built (what is left of the column
// once the columns before it are taken out, relative to the whole column). Measured in long
// double (64-bit significand): exactly collinear random designs of up to 2000 samples leave at
// most 5e-17 of the diagonal, while the worst-conditioned reference design (Longley) keeps
// every pivot above 7e-9 of its own; the rule sits between the two, about four orders of
// magnitude from each (the tests print both sides). A negative or NaN pivot is noise too.
inline constexpr long double LimitePivo = 1e-13L;
inline bool PivoNulo(long double pivo, long double diagonal) {
    return !(pivo > LimitePivo * diagonal);
}

// Why the normal equations gave no fit.
enum class TRecusa : std::uint8_t {
    Nenhuma,
    Transformacao,         // a term's transformation failed on an active sample
    AmostrasInsuficientes, // n − m < 1: no residual degree of freedom
    Singular,              // a pivot is zero up to rounding (TSolucao::TermoSingular)
    DependenteConstante,   // the transformed dependent column is constant
    Instavel,              // rounding would show a negative sum of squares or F
    Alavanca,              // rounding would show a leverage outside [0, 1]
};

// What ResolveEquacoes met on its way.
struct TSolucao {
    TRecusa Recusa = TRecusa::Nenhuma;
    std::size_t TermoSingular = 0; // 1-based term whose pivot counted as zero
    long double MenorPivo = 1;     // the smallest pivot over its diagonal among those accepted
    long double PivoRecusado = 0;  // the pivot over its diagonal that counted as zero
};

// Solves A·b = c by Gaussian elimination without pivoting, on copies of A and c (A is
// symmetric, so the elimination runs on columns). Fails, leaving b unspecified, when there are
// not more samples than coefficients (n − m < 1) and when a pivot counts as zero (PivoNulo).
// b must hold m entries; `solucao`, when given, says why it failed.
bool ResolveEquacoes(const TEquacoesNormais &eq, std::span<long double> b,
                     TSolucao *solucao = nullptr);

// C = A⁻¹, column by column, by the same elimination on each unit vector (row-major, m×m).
// The solver's verdict is not checked here: the system was already solved. False only when
// the sizes do not agree.
bool InverteEquacoes(const TEquacoesNormais &eq, std::span<long double> C);

// The fit statistics of a solved system.
struct TAjuste {
    long double R = 0;
    long double F = 0;
    long double nSQR = 0; // regression sum of squares × n
    long double nSQE = 0; // error sum of squares × n
    long double nSQT = 0; // total sum of squares × n
    long double nMSE = 0; // n·SQE/(n − m); Infinito when n <= m (no residual degrees of freedom)
    TRecusa Recusa = TRecusa::Nenhuma; // not Nenhuma: the model is refused, the numbers are void
};

// R, F and the sums of squares from the equations and the coefficients b:
//   nSQT' = n·Syy − (Σy')², nSQR' = Σₖ₌₂..ₘ (n·c[k] − Σy'·A[1][k])·b[k], nSQE' = nSQT' − nSQR',
//   nSQR = nSQR', nSQT = nSQT', nSQE = nSQT − nSQR, nMSE = nSQE/(n − m),
//   R = √(nSQR/nSQT), F = nSQR/((m − 1)·nMSE) (0 for m = 1, Infinito when nMSE = 0).
// Rounding is judged against n·Syy, the size of the sums nSQT' and nSQR' are taken from: a
// dependent column with nSQT' <= LimitePivo·n·Syy is constant, and refused unless
// `aceitaConstante` (the descriptive mode's single model, where R is then 1); an nSQR' or nSQE'
// below −LimitePivo·n·Syy is refused as unstable, and one between that and 0 is 0 (an exact fit,
// R = 1, or a regression that explains nothing, R = 0). n <= m is refused.
TAjuste CalculaAjuste(const TEquacoesNormais &eq, std::span<const long double> b,
                      bool aceitaConstante = false);
// The same statistics from n, m, the two n-scaled sums nSQT' and nSQR' and n·Syy alone (the model
// search forms them from cross products it gathered once; CalculaAjuste ends here too).
TAjuste AjusteDeSomas(std::size_t n, std::size_t m, long double nSQTl, long double nSQRl,
                      long double nSyy, bool aceitaConstante = false);

// The adjusted R² of a fit with m terms over n samples: 1 when |R| > limiteExato or nSQT = 0,
// −Infinito when n <= m, else 1 − (nSQE/nSQT)·(n − 1)/(n − m).
long double R2AjustadoDe(const TAjuste &ajuste, std::size_t n, std::size_t m,
                         long double limiteExato = 0.9999L);

// The centred cross product S(j,k) = n·P(j,k) − T(j)·T(k) (P the raw cross product: Syy for
// (1,1), c[k] for (1,k), A[j][k] otherwise; T(1) = Σy', T(k) = A[1][k]); 0 when the
// arithmetic faults.
long double ProdutoCentrado(const TEquacoesNormais &eq, std::size_t j, std::size_t k);
// n·P − Tj·Tk, 0 when the arithmetic faults: the centred cross product from its raw pieces.
long double ProdutoCentradoDe(std::size_t n, long double P, long double Tj, long double Tk);

// The number of regressors judged significant at the two-sided level alfa: all m − 1 when
// |R| > limiteExato (an exact fit); none when n <= m; otherwise the terms whose tₖ =
// bₖ·√|S(k,k)|/√(nSQE/(n − m)) (the simple-regression form, which leaves the other regressors out)
// exceeds the Student quantile with n − m degrees of freedom at alfa/2 in absolute value
// (strictly).
unsigned ContaRegressoresSignificativos(const TEquacoesNormais &eq, const TAjuste &ajuste,
                                        std::span<const long double> b, long double alfa,
                                        long double limiteExato = 0.9999L);
// The count once the exact-fit and n <= m cases are settled: the terms k = 2..m whose
// |bₖ·√|Sₖ|/√(nSQE/(n − m))| exceeds tc, Sₖ = centred[k − 1] the centred cross product S(k,k)
// and tc = |QuantilStudent(n − m, alfa/2)|.
unsigned ContaSignificativosDe(std::size_t n, std::size_t m, long double nSQE,
                               std::span<const long double> b,
                               std::span<const long double> centrados, long double tc);

} // namespace zelto
