// Fitting the candidate models of one piece of a search block, fast and with exactly the numbers
// the regression system gives for the same model.
//
// Inside a block the search visits the models in the order of a mixed-radix number whose digits
// are the block's variables (the first one the fastest) and whose digit values are the positions
// of their codes among the allowed ones. The block is cut into pieces: a piece fixes the digits of
// the last variables of the block (its "high" digits) and runs through every combination of the
// others (its "low" digits), so a piece is a run of consecutive models and the pieces follow one
// another in the block's order.
//
// TAjusteCandidatos fits every model of a piece without building its normal equations: it gathers
// the cross products of the piece's candidate columns once and runs the elimination of the
// regression system (Gaussian elimination without pivoting on the columns, in long double) over a
// tree of the regressors in column order. Eliminating a regressor updates only entries that depend
// on the regressors eliminated before it, so models that share their first regressors share that
// part of the elimination; each model then only needs its back substitution and its R and F,
// computed by the same arithmetic, operation by operation, as TSistema's Resolve and
// CalculaEstatisticas. Those, its F, adjusted R² and its count of significant regressors are
// therefore identical to the fit of the same model, which the tests check.
//
// A column whose transformation failed on an active sample rejects every model that uses it, a
// pivot that counts as zero (PivoNulo) rejects every model that holds that regressor after those
// before it, and a model without a residual degree of freedom, with a constant dependent column or
// with a fit that rounding would make negative is rejected, as TSistema rejects them. Rejected
// models still count as examined.
//
// A piece reports only the models whose ChaveFiltro reaches the threshold that the list published
// (the key of its slot 50, which never decreases): any other model could not enter the list. The
// list then receives the reported models in the search's order, so the ranking is the one of a
// search that fits every model in turn, ties included, however many threads fit the pieces.
//
// Screening. Most models of a piece cannot enter the list. With Triagem set, a piece first runs
// the same tree of eliminations in double arithmetic (the inner loops vectorised, with AVX2 where
// the processor has it), carrying for every right-hand side its reduced sum of squares (the
// residual sum of squares of the model so far), and judges the models of the last position side
// by side from that sum and the last pivot alone: an upper bound of a model's R², from a bound of
// the rounding of both ways of computing it (TErroTriagem), gives an upper bound of its key. Only
// a model whose bound reaches the threshold is fitted by the long double tree above, which alone
// decides whether it is listed and with which numbers; that tree is built lazily, along the path
// of the models that need it. A pivot that is small against the bound (or not a number) sends the
// whole subtree below it to the long double tree unscreened. Under "Correlação" a piece also stops
// reporting models that 50 of its own reported models beat: those could not stay in the list.
//
// The block description is read-only while pieces are fitted; each thread has its own
// TAjusteCandidatos.
#pragma once

#include "common/Progresso.h"
#include "regression/DadosRegressao.h"
#include "search/ListaModelos.h"

#include <atomic>
#include <bitset>
#include <cstdint>
#include <functional>
#include <span>
#include <thread>
#include <vector>

namespace zelto {

// One choice of a variable within a block: its code, its digit value and its column (null for
// code 0). Falha: the column's transformation failed on an active sample.
struct TEscolhaVariavel {
    std::uint8_t Codigo = 0;
    std::uint16_t Digito = 0;
    const TColunaTransformada *Coluna = nullptr;
    bool Falha = false;
    int Produto = -1; // its row in the block's table of cross products, -1 when not there
};

// A variable of the worksheet as a block sees it.
struct TVariavelBloco {
    int Coluna = 0;
    // Block variables: every allowed code; the others: their current code alone.
    std::vector<TEscolhaVariavel> Escolhas;
    int Digito = -1; // position among the block's digits; -1 outside the block
};

// A test hook on the screen: when set, every model the screen judges with a bound is also fitted
// exactly (the list does not change), and the hook receives the screen's 1 − R², the bound of its
// error that the screen used and the exact leaf's 1 − R² (models the exact leaf rejects are not
// reported). Called on the thread fitting the piece.
using TObservaTriagem = std::function<void(double triagem, double erro, long double exato)>;

// Everything the pieces of one block share.
struct TBlocoPesquisa {
    std::span<const std::uint32_t> Ativas;
    int D = 0;
    // The variables that may take part: the dependent one and every other with a code other than 0
    // among its choices, plus every block variable (for the digits), in column order.
    std::vector<TVariavelBloco> Variaveis;
    int IndiceD = -1; // D's entry in Variaveis
    // The block's digits (indexes into Variaveis, first the fastest), their radices, and the
    // weights of the low digits; the first Baixos digits are a piece's low digits.
    std::vector<int> Digitos;
    std::vector<std::uint64_t> Bases, Pesos;
    std::size_t Baixos = 0;
    std::uint64_t TamanhoPeca = 1; // W: the product of the low radices

    CriterioPesquisa Criterio = cpCorrelacao;
    long double LimiteExato = 0.9999L;
    bool AceitaRZero = false; // the descriptive mode lists its model even with R = 0
    // |Student quantile(n − m, alfa/2)| by m (criterion "Sig. dos Regressores").
    std::vector<long double> QuantisT;

    // Screen the models in double before fitting them exactly (the list is the same either way).
    bool Triagem = true;
    // Run the screen's scalar loops even where the processor has AVX2 (the list is the same).
    bool TriagemEscalar = false;
    TObservaTriagem ObservaTriagem; // test hook, see above

    // Σ a·b over the active samples for every pair of the block's usable columns (P columns,
    // row-major), and Σ a: gathered once per block, so that a piece costs nothing per sample.
    // Empty when the block has too many columns for it; pieces then sum for themselves.
    std::size_t P = 0;
    std::vector<long double> Produtos, Somas;
};

// Starts a thread running the work; throws std::system_error when the system refuses one. An
// empty function starts a std::jthread (tests put one that refuses).
using TIniciaThread = std::function<std::jthread(std::function<void()>)>;
std::jthread IniciaThread(const TIniciaThread &inicia, std::function<void()> trabalho);

// Fills the block's table of cross products, on up to `threads` threads (fewer when the system
// refuses some; the calling thread does the share of any it could not start).
void CalculaProdutos(TBlocoPesquisa &bloco, unsigned threads, const TIniciaThread &inicia = {});

// A piece: its place in the block's sequence, its high digit values and the first low index to
// examine (0 but for the piece where an interrupted search resumes).
struct TPeca {
    std::uint64_t Sequencia = 0;
    std::vector<std::uint16_t> Altos;
    std::uint64_t Inicio = 0;
};

// A model of a piece that may enter the list.
struct TCandidato {
    std::uint64_t Indice = 0; // low index within the piece
    long double R = 0, F = 0, R2Ajustado = 0;
    std::uint16_t Regressores = 0, Significativos = 0;
    std::bitset<MaximoTermos> Sinais;
};

struct TResultadoPeca {
    TPeca Peca;
    bool Completa = false;              // false: abandoned on a cancel
    std::vector<TCandidato> Candidatos; // ascending Indice
    // Models of the piece that reached the exact leaf (every model examined without screening).
    std::uint64_t Exatos = 0;
};

// The bound of the difference between a model's 1 − R² as the screen computes it (a Schur
// complement, in double) and as the exact leaf computes it (back substitution and Σ G·b, in long
// double), in the correlation scale (every column divided by the root of its centred sum of
// squares, where every entry of the elimination is at most 1 in magnitude):
//   erro(T) = e0·(1 + T) + 8u,  e0 = 8·(K + 2)²·(u + Λ·uₗ),
// u and uₗ the unit roundoffs of double and long double, K the most regressors of a model, Λ >= 1
// the largest ratio of a column's raw sum of squares to its centred one (the cancellation of the
// raw sums the root and the exact leaf's sums start from), and T a bound of trace(C⁻¹) for C the
// regressors' correlation matrix. The elimination without pivoting of a positive definite matrix
// is backward stable: its computed Schur complements are the exact ones of the matrix perturbed by
// at most (K + 1)·u per entry of this scale, so by at most (K + 1)²·u in norm; a reduced sum of
// squares, the minimum over β of the quadratic form at (−β, 1), then moves by at most that times
// 1 + |β|² <= 1 + ‖C⁻¹‖ <= 1 + T. The same holds for a pivot (the residual of a regressor on those
// before it). Adding a regressor whose relative pivot is d turns T into (T + 1)/d (the bordered
// inverse: trace grows by (1 + |w|²)/d with |w|² <= ‖C⁻¹‖·(1 − d)); the true d is taken at its
// lowest, the computed one less its error. The exact leaf's own error is of the same form in uₗ,
// with Λ for its sums and (K + 2)² for its back substitution; the factor 8 covers both ways and
// the second-order terms, which stay small because a step is screened only while its error is
// below a quarter of its pivot.
struct TErroTriagem {
    double e0 = 0;
    static constexpr double kDuplo = 8 * 1.1102230246251565e-16; // 8u
    double Erro(double T) const { return e0 * (1 + T) + kDuplo; }
    // T after a pivot of computed relative size d, or a negative value when the pivot is too
    // small for the bound (or not a number): the models below it are then fitted unscreened.
    double Passo(double T, double d) const {
        const double e = e0 * (1 + T);
        if (!(d > 0) || !(e <= d * 0.25)) return -1;
        const double t = (T + 1) / (d - e);
        return t <= 1e300 ? t : -1;
    }
};

// The least R² that a model of m terms over n samples must be able to reach for its key to reach
// `limiar` (ChaveFiltro's scale), lowered by a margin for the rounding of the key: −∞ when any
// model may, above 1 when none can.
double LimiteR2(CriterioPesquisa criterio, double limiar, std::size_t n, std::size_t m,
                long double limiteExato);

class TAjusteCandidatos {
  public:
    // Fits the models of the piece with a low index >= its start. Stops early (Completa false)
    // when `parar` becomes true or the sink is cancelled. `limiar` is read as the piece goes on.
    TResultadoPeca Ajusta(const TBlocoPesquisa &bloco, const TPeca &peca,
                          const std::atomic<double> &limiar, const std::atomic<bool> &parar,
                          const TProgresso *progresso = nullptr);

  private:
    struct Escolha {
        std::uint8_t Codigo;
        int Candidato; // -1: code 0 or a failed column
        bool Falha;
        std::uint64_t Contribuicao; // digit × weight for low digits
    };
    struct Posicao {
        std::size_t Inicio = 0, Fim = 0; // candidates of this position: [Inicio, Fim)
        std::vector<Escolha> Escolhas;
    };
    struct Rhs {
        std::size_t Coluna; // index into ys_
        std::uint64_t Contribuicao;
    };
    // A state of the elimination: entries over the candidates from Base on, rows of Passo
    // entries (the candidates, then the right-hand sides) relative to Base.
    struct Vista {
        long double *Dados;
        std::size_t Base;
        std::size_t Passo;
    };
    // One eliminated regressor: its column as it stood when it became the pivot.
    struct Pivo {
        const long double *Linha;
        std::size_t Base;
        long double Diagonal;
        std::size_t Candidato;
    };

    bool Prepara(const TBlocoPesquisa &bloco, const TPeca &peca);
    void PreparaTriagem();
    void Visita(std::size_t pos, Vista vista, bool propria, std::uint64_t indice);
    void Elimina(const Vista &origem, const Vista &destino, std::size_t t, std::size_t novaBase);
    // The exact leaf for the right-hand sides in `lados` (bit r: rhs_[r]).
    void Folha(std::uint64_t indice, std::uint64_t lados = ~0ull);
    double Limiar() const;
    void Reporta(const TCandidato &c, double chave);

    // The screen: the double tree (its entries as in Vista, in double), its leaves, and the long
    // double tree along the current path (Sombra(q): the state once positions < q are decided;
    // false when one of their pivots counts as zero).
    struct VistaD {
        double *Dados;
        std::size_t Base;
        std::size_t Passo;
    };
    void VisitaD(std::size_t pos, VistaD vista, std::uint64_t indice, std::size_t np, double T,
                 const double *yy);
    void FolhasD(const Posicao &p, const VistaD &vista, std::uint64_t indice, std::size_t np,
                 double T, const double *yy);
    void Escolhe(std::size_t pos, int candidato);
    bool Sombra(std::size_t q);
    template <std::size_t K> void Substitui(const std::size_t *ys, long double *b) const;

    // Per piece.
    const TBlocoPesquisa *bloco_ = nullptr;
    const std::atomic<double> *limiar_ = nullptr;
    const std::atomic<bool> *parar_ = nullptr;
    const TProgresso *progresso_ = nullptr;
    bool abandonada_ = false;
    std::uint64_t inicio_ = 0;
    std::size_t n_ = 0;
    std::vector<Posicao> posicoes_;
    std::vector<const TColunaTransformada *> colunas_; // candidates
    std::vector<const TColunaTransformada *> ys_;      // the dependent's columns
    std::vector<int> produtoColuna_, produtoY_;        // their rows in the block's table
    std::vector<Rhs> rhs_;
    std::size_t C_ = 0, Y_ = 0;
    std::vector<long double> Sx_, Sy_, nSQT_, nSyy_, G_, centrados_, raiz_;
    std::vector<long double> diagonal_; // each candidate's own sum of squares, for its pivot
    std::vector<std::vector<long double>> niveis_; // one buffer per position, allocated on use
    std::vector<Pivo> pivos_;
    std::vector<long double> b_, bt_, bCentrados_;
    std::vector<TCandidato> candidatos_;
    std::uint32_t contaFolhas_ = 0;
    std::uint64_t exatos_ = 0;

    // The screen, per piece.
    bool triagem_ = false;
    TErroTriagem erro_;
    std::vector<double> raizD_;
    std::vector<std::vector<double>> niveisD_;
    std::vector<double> yyD_;             // the reduced sums of squares by depth
    std::vector<double> invDiagonalRaiz_; // 1 / each candidate's centred sum of squares
    std::vector<double> invSQT_;          // 1 / each rhs's centred sum of squares; 0: never listed
    std::vector<double> limitesR2_;       // LimiteR2 by m for the threshold limiarR2_
    double limiarR2_ = 0;
    std::vector<double> topo_; // min-heap of the keys of the piece's best 50 reports
    // The long double tree along the path: the choice at each position (-1: none), the states
    // that are valid (positions < sombra_ decided) and the pivots before each.
    std::vector<int> caminho_;
    std::vector<Vista> vistasL_;
    std::vector<std::size_t> pivosAntes_;
    std::size_t sombra_ = 0;
    // The lanes of FolhasD.
    std::vector<double> lanesV_, lanesIp_, lanesYy_, lanesInv_, lanesK_;
    std::vector<std::uint8_t> lanesPassa_;
    bool avx2_ = false; // the screen's loops use AVX2
    // The hook's view of the lanes of the choice whose exact leaf runs (null: none).
    const double *amostraS_ = nullptr, *amostraErro_ = nullptr;
    std::vector<double> lanesS_, lanesErro_;
};

} // namespace zelto
