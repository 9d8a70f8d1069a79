#include "search/AjusteCandidatos.h"

#include "regression/EquacoesNormais.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <system_error>
#include <thread>

namespace zelto {

namespace {

// The screen's two loops, built once for any x86-64 and once for AVX2 with FMA; the processor
// picks at run time.
//
// Lanes: lane l passes when its model's upper bound of R² may reach the threshold, that is unless
// (yy − v²·ip)·inv > k (a NaN passes).
[[gnu::always_inline]] inline void LanesCorpo(std::size_t n, const double *__restrict v,
                                              const double *__restrict ip,
                                              const double *__restrict yy,
                                              const double *__restrict inv,
                                              const double *__restrict k,
                                              std::uint8_t *__restrict passa) {
    for (std::size_t l = 0; l < n; ++l) {
        const double s = (yy[l] - v[l] * v[l] * ip[l]) * inv[l];
        passa[l] = !(s > k[l]);
    }
}
// One step of the elimination on `linhas` rows: d[x][z] = o[x][z] + f[x]·t[z] for z < r, the
// rows `passo` apart.
[[gnu::always_inline]] inline void EliminaCorpo(std::size_t linhas, std::size_t r,
                                                const double *o, std::size_t passoO, double *d,
                                                std::size_t passoD, const double *__restrict t,
                                                const double *__restrict f) {
    for (std::size_t x = 0; x < linhas; ++x) {
        const double fx = f[x];
        const double *__restrict ox = o + x * passoO;
        double *__restrict dx = d + x * passoD;
        for (std::size_t z = 0; z < r; ++z)
            dx[z] = ox[z] + fx * t[z];
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
#define ZELTO_AVX2 1
[[gnu::target("avx2,fma")]] void LanesAvx2(std::size_t n, const double *v, const double *ip,
                                           const double *yy, const double *inv, const double *k,
                                           std::uint8_t *passa) {
    LanesCorpo(n, v, ip, yy, inv, k, passa);
}
[[gnu::target("avx2,fma")]] void EliminaAvx2(std::size_t linhas, std::size_t r, const double *o,
                                             std::size_t passoO, double *d, std::size_t passoD,
                                             const double *t, const double *f) {
    EliminaCorpo(linhas, r, o, passoO, d, passoD, t, f);
}
bool TemAvx2() {
    static const bool tem = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return tem;
}
#endif

bool UsaAvx2(bool escalar) {
#ifdef ZELTO_AVX2
    return !escalar && TemAvx2();
#else
    (void)escalar;
    return false;
#endif
}

void Lanes(bool avx2, std::size_t n, const double *v, const double *ip, const double *yy,
           const double *inv, const double *k, std::uint8_t *passa) {
#ifdef ZELTO_AVX2
    if (avx2) return LanesAvx2(n, v, ip, yy, inv, k, passa);
#else
    (void)avx2;
#endif
    LanesCorpo(n, v, ip, yy, inv, k, passa);
}

void EliminaDuplo(bool avx2, std::size_t linhas, std::size_t r, const double *o,
                  std::size_t passoO, double *d, std::size_t passoD, const double *t,
                  const double *f) {
#ifdef ZELTO_AVX2
    if (avx2) return EliminaAvx2(linhas, r, o, passoO, d, passoD, t, f);
#else
    (void)avx2;
#endif
    EliminaCorpo(linhas, r, o, passoO, d, passoD, t, f);
}

} // namespace

double LimiteR2(CriterioPesquisa criterio, double limiar, std::size_t n, std::size_t m,
                long double limiteExato) {
    constexpr double menos = -std::numeric_limits<double>::infinity();
    constexpr double margem = 1e-12;
    // m >= n: the exact leaf refuses it anyway. Under "r² ajustado" a threshold of 0 still bars
    // the models whose adjusted R² is negative.
    if (m >= n || std::isnan(limiar)) return menos;
    if (!(limiar > 0) && criterio != cpR2Ajustado) return menos;
    const double nd = static_cast<double>(n), md = static_cast<double>(m);
    double t = 2;
    switch (criterio) {
    case cpCorrelacao:
    case cpGrau: // searched by R
        t = limiar * limiar;
        break;
    case cpSignificanciaModelo:
        // F = R²·(n − m)/((1 − R²)·(m − 1)) grows with R²; m = 1 has F = 0.
        if (m < 2) return 2;
        if (std::isinf(limiar)) {
            t = 1;
        } else {
            const double a = limiar * (md - 1);
            t = a / ((nd - md) + a);
        }
        break;
    case cpR2Ajustado: {
        // 1 − (1 − R²)·(n − 1)/(n − m), and 1 above the exact-fit limit.
        t = 1 - (1 - limiar) * (nd - md) / (nd - 1);
        const double e = static_cast<double>(limiteExato);
        t = std::min(t, e * e * (1 - 1e-15));
        break;
    }
    case cpRegressores: {
        // At most m − 1 significant regressors, then R/2.
        const double r = 2 * (limiar - (md - 1));
        if (!(r > 0)) return menos;
        t = r * r;
        break;
    }
    }
    return std::isnan(t) ? menos : t - margem;
}

std::jthread IniciaThread(const TIniciaThread &inicia, std::function<void()> trabalho) {
    return inicia ? inicia(std::move(trabalho)) : std::jthread(std::move(trabalho));
}

void CalculaProdutos(TBlocoPesquisa &bloco, unsigned threads, const TIniciaThread &inicia) {
    std::vector<const TColunaTransformada *> colunas;
    for (TVariavelBloco &v : bloco.Variaveis)
        for (TEscolhaVariavel &e : v.Escolhas)
            if (e.Coluna && !e.Falha) {
                e.Produto = static_cast<int>(colunas.size());
                colunas.push_back(e.Coluna);
            }
    const std::size_t P = colunas.size();
    // Beyond this a table would hold more than 16 MB; pieces then sum their own columns.
    if (P == 0 || P > 1024) {
        for (TVariavelBloco &v : bloco.Variaveis)
            for (TEscolhaVariavel &e : v.Escolhas)
                e.Produto = -1;
        return;
    }
    bloco.P = P;
    bloco.Produtos.assign(P * P, 0);
    bloco.Somas.assign(P, 0);
    const std::span<const std::uint32_t> ativas = bloco.Ativas;
    auto linhas = [&](std::size_t primeira, std::size_t passo) {
        for (std::size_t i = primeira; i < P; i += passo) {
            bloco.Somas[i] = SomaProdutos(*colunas[i], nullptr, ativas);
            for (std::size_t j = i; j < P; ++j)
                bloco.Produtos[i * P + j] = bloco.Produtos[j * P + i] =
                    SomaProdutos(*colunas[i], colunas[j], ativas);
        }
    };
    // Threads only pay off when there is much to sum.
    const std::size_t trabalho = P * P * ativas.size();
    const unsigned t = trabalho > 4'000'000 ? std::max(1u, threads) : 1u;
    std::vector<std::jthread> ajudantes;
    unsigned k = 1;
    for (; k < t; ++k) {
        try {
            ajudantes.push_back(IniciaThread(inicia, [&linhas, k, t] { linhas(k, t); }));
        } catch (const std::system_error &) {
            break;
        }
    }
    for (; k < t; ++k) // the shares of the threads the system refused
        linhas(k, t);
    linhas(0, t);
}

bool TAjusteCandidatos::Prepara(const TBlocoPesquisa &bloco, const TPeca &peca) {
    n_ = bloco.Ativas.size();
    posicoes_.clear();
    colunas_.clear();
    ys_.clear();
    rhs_.clear();
    produtoColuna_.clear();
    produtoY_.clear();

    // The choices a variable has in this piece, with their share of the low index.
    auto escolhas = [&](const TVariavelBloco &v, auto &&usa) {
        const int d = v.Digito;
        for (const TEscolhaVariavel &e : v.Escolhas) {
            std::uint64_t contribuicao = 0;
            if (d >= 0 && static_cast<std::size_t>(d) < bloco.Baixos) {
                contribuicao = e.Digito * bloco.Pesos[static_cast<std::size_t>(d)];
            } else if (d >= 0) {
                if (e.Digito != peca.Altos[static_cast<std::size_t>(d) - bloco.Baixos]) continue;
            }
            usa(e, contribuicao);
        }
    };

    for (std::size_t i = 0; i < bloco.Variaveis.size(); ++i) {
        const TVariavelBloco &v = bloco.Variaveis[i];
        if (static_cast<int>(i) == bloco.IndiceD) {
            escolhas(v, [&](const TEscolhaVariavel &e, std::uint64_t contribuicao) {
                if (e.Falha || !e.Coluna) return;
                rhs_.push_back({ys_.size(), contribuicao});
                ys_.push_back(e.Coluna);
                produtoY_.push_back(e.Produto);
            });
            continue;
        }
        Posicao p;
        p.Inicio = colunas_.size();
        bool algum = false;
        escolhas(v, [&](const TEscolhaVariavel &e, std::uint64_t contribuicao) {
            Escolha x{e.Codigo, -1, e.Falha, contribuicao};
            if (e.Codigo != 0) {
                algum = true;
                if (!e.Falha && e.Coluna) {
                    x.Candidato = static_cast<int>(colunas_.size());
                    colunas_.push_back(e.Coluna);
                    produtoColuna_.push_back(e.Produto);
                }
            }
            p.Escolhas.push_back(x);
        });
        p.Fim = colunas_.size();
        if (algum) posicoes_.push_back(std::move(p));
    }
    if (rhs_.empty()) return false;

    C_ = colunas_.size();
    Y_ = ys_.size();
    const std::span<const std::uint32_t> ativas = bloco.Ativas;
    const long double n = static_cast<long double>(n_);

    // The sums every model of the piece draws from, accumulated as the regression system
    // accumulates its normal equations.
    // From the block's table when it has one (a·b = b·a exactly, so one entry serves both).
    const bool tabela = !bloco.Produtos.empty();
    auto produto = [&](const TColunaTransformada *a, int pa, const TColunaTransformada *b, int pb) {
        return tabela ? bloco.Produtos[static_cast<std::size_t>(pa) * bloco.P +
                                       static_cast<std::size_t>(pb)]
                      : SomaProdutos(*a, b, ativas);
    };
    auto soma = [&](const TColunaTransformada *a, int pa) {
        return tabela ? bloco.Somas[static_cast<std::size_t>(pa)]
                      : SomaProdutos(*a, nullptr, ativas);
    };
    std::vector<long double> X(C_ * C_), Xy(C_ * Y_);
    Sx_.assign(C_, 0);
    Sy_.assign(Y_, 0);
    nSQT_.assign(Y_, 0);
    nSyy_.assign(Y_, 0);
    diagonal_.assign(C_, 0);
    for (std::size_t i = 0; i < C_; ++i) {
        const auto *a = colunas_[i];
        const int pa = produtoColuna_[i];
        Sx_[i] = soma(a, pa);
        for (std::size_t j = i; j < C_; ++j)
            X[i * C_ + j] = X[j * C_ + i] = produto(a, pa, colunas_[j], produtoColuna_[j]);
        diagonal_[i] = X[i * C_ + i];
        for (std::size_t y = 0; y < Y_; ++y)
            Xy[i * Y_ + y] = produto(a, pa, ys_[y], produtoY_[y]);
    }
    for (std::size_t y = 0; y < Y_; ++y) {
        Sy_[y] = soma(ys_[y], produtoY_[y]);
        const long double Syy = produto(ys_[y], produtoY_[y], ys_[y], produtoY_[y]);
        nSQT_[y] = n * Syy - Sy_[y] * Sy_[y];
        nSyy_[y] = n * Syy;
    }
    G_.assign(C_ * Y_, 0);
    for (std::size_t i = 0; i < C_; ++i)
        for (std::size_t y = 0; y < Y_; ++y)
            G_[i * Y_ + y] = n * Xy[i * Y_ + y] - Sy_[y] * Sx_[i];
    centrados_.assign(C_, 0);
    if (bloco.Criterio == cpRegressores)
        for (std::size_t i = 0; i < C_; ++i)
            centrados_[i] = ProdutoCentradoDe(n_, X[i * C_ + i], Sx_[i], Sx_[i]);

    // The intercept is the first pivot (A[1][1] = n); what it leaves is the root of the tree.
    const std::size_t passo = C_ + Y_;
    raiz_.assign(C_ * passo, 0);
    for (std::size_t x = 0; x < C_; ++x) {
        const long double f = -Sx_[x] / n;
        long double *linha = &raiz_[x * passo];
        for (std::size_t z = 0; z < C_; ++z)
            linha[z] = X[z * C_ + x] + f * Sx_[z];
        for (std::size_t y = 0; y < Y_; ++y)
            linha[C_ + y] = Xy[x * Y_ + y] + f * Sy_[y];
    }
    if (niveis_.size() < posicoes_.size()) niveis_.resize(posicoes_.size());
    pivos_.clear();
    b_.resize((posicoes_.size() + 1) * 4);
    bt_.resize(posicoes_.size() + 1);
    bCentrados_.resize(posicoes_.size() + 1);
    triagem_ = bloco.Triagem && !posicoes_.empty() && rhs_.size() <= 64;
    avx2_ = UsaAvx2(bloco.TriagemEscalar);
    if (triagem_) PreparaTriagem();
    return true;
}

void TAjusteCandidatos::Elimina(const Vista &o, const Vista &d, std::size_t t, std::size_t nb) {
    const long double *rt = o.Dados + (t - o.Base) * o.Passo;
    const long double p = rt[t - o.Base];
    const std::size_t C = C_, Y = Y_;
    for (std::size_t x = nb; x < C; ++x) {
        const long double *rx = o.Dados + (x - o.Base) * o.Passo;
        long double *dx = d.Dados + (x - d.Base) * d.Passo;
        // Column x against the pivot's row, then every row of column x: a[l][x] += f·a[l][t].
        const long double f = -rx[t - o.Base] / p;
        const long double *ot = rt + (nb - o.Base);
        const long double *ox = rx + (nb - o.Base);
        long double *de = dx + (nb - d.Base);
        const std::size_t r = C - nb + Y; // the candidates from nb on, then the right-hand sides
        for (std::size_t z = 0; z < r; ++z)
            de[z] = ox[z] + f * ot[z];
    }
}

void TAjusteCandidatos::Visita(std::size_t pos, Vista vista, bool propria, std::uint64_t indice) {
    if (abandonada_) return;
    if (pos == posicoes_.size()) {
        Folha(indice);
        return;
    }
    const Posicao &p = posicoes_[pos];
    const std::size_t nb = p.Fim;
    const std::size_t k = p.Escolhas.size();
    for (std::size_t i = 0; i < k && !abandonada_; ++i) {
        const Escolha &e = p.Escolhas[i];
        const bool ultima = i + 1 == k;
        if (e.Codigo == 0) {
            Visita(pos + 1, vista, propria && ultima, indice + e.Contribuicao);
            continue;
        }
        // A failed column or a pivot that counts as zero rejects every model below.
        if (e.Candidato < 0) continue;
        const auto t = static_cast<std::size_t>(e.Candidato);
        const long double *linha = vista.Dados + (t - vista.Base) * vista.Passo;
        const long double diagonal = linha[t - vista.Base];
        if (PivoNulo(diagonal, diagonal_[t])) continue;
        pivos_.push_back({linha, vista.Base, diagonal, t});
        Vista destino = vista;
        if (!(propria && ultima)) {
            std::vector<long double> &buffer = niveis_[pos];
            const std::size_t r = C_ - nb;
            if (buffer.size() < r * (r + Y_)) buffer.resize(r * (r + Y_));
            destino = {buffer.data(), nb, r + Y_};
        }
        Elimina(vista, destino, t, nb);
        Visita(pos + 1, destino, true, indice + e.Contribuicao);
        pivos_.pop_back();
    }
}

double TAjusteCandidatos::Limiar() const {
    const double global = limiar_->load(std::memory_order_relaxed);
    return topo_.size() == kSlotsMelhores ? std::max(global, topo_.front()) : global;
}

void TAjusteCandidatos::Reporta(const TCandidato &c, double chave) {
    candidatos_.push_back(c);
    // Under "Correlação" 50 reported models of the piece with keys above a model's keep it out of
    // the list whatever their order: the list keeps the 50 best keys, and a model that those 50
    // push out changes nothing on its way (a model it could turn away as the same one has its R,
    // so its key, and goes out with it).
    if (!triagem_ || bloco_->Criterio != cpCorrelacao) return;
    auto maior = [](double a, double b) { return a > b; };
    if (topo_.size() < static_cast<std::size_t>(kSlotsMelhores)) {
        topo_.push_back(chave);
        std::push_heap(topo_.begin(), topo_.end(), maior);
    } else if (chave > topo_.front()) {
        std::pop_heap(topo_.begin(), topo_.end(), maior);
        topo_.back() = chave;
        std::push_heap(topo_.begin(), topo_.end(), maior);
    }
}

// ---- The screen ---------------------------------------------------------------------------------

void TAjusteCandidatos::PreparaTriagem() {
    const long double n = static_cast<long double>(n_);
    const std::size_t passo = C_ + Y_;
    raizD_.resize(raiz_.size());
    for (std::size_t i = 0; i < raiz_.size(); ++i)
        raizD_[i] = static_cast<double>(raiz_[i]);
    if (niveisD_.size() < posicoes_.size()) niveisD_.resize(posicoes_.size());
    // Each right-hand side's centred sum of squares, reduced as the root reduces the rows.
    yyD_.assign((posicoes_.size() + 1) * Y_, 0);
    invSQT_.assign(Y_, 0);
    long double lambda = 1;
    for (std::size_t y = 0; y < Y_; ++y) {
        const long double Syy = nSyy_[y] / n;
        const long double yy = Syy + (-Sy_[y] / n) * Sy_[y];
        yyD_[y] = static_cast<double>(yy);
        // A dependent column that the exact leaf finds constant is never listed.
        if (!(nSQT_[y] > LimitePivo * nSyy_[y]) || !(yy > 0) || !(yyD_[y] > 0)) continue;
        invSQT_[y] = 1 / yyD_[y];
        lambda = std::max(lambda, Syy / yy);
    }
    invDiagonalRaiz_.assign(C_, 0);
    for (std::size_t x = 0; x < C_; ++x) {
        const long double c = raiz_[x * passo + x];
        if (!(c > 0) || !(static_cast<double>(c) > 0)) continue; // never screened: d = 0
        invDiagonalRaiz_[x] = 1 / static_cast<double>(c);
        lambda = std::max(lambda, diagonal_[x] / c);
    }
    const double K = static_cast<double>(posicoes_.size());
    constexpr double u = DBL_EPSILON / 2, uL = LDBL_EPSILON / 2;
    erro_.e0 = 8 * (K + 2) * (K + 2) * (u + static_cast<double>(lambda) * uL);
    if (!(erro_.e0 < 1e-3)) triagem_ = false;
    limitesR2_.assign(posicoes_.size() + 2, 0);
    limiarR2_ = std::numeric_limits<double>::quiet_NaN();
    caminho_.assign(posicoes_.size(), -1);
    vistasL_.assign(posicoes_.size() + 1, Vista{raiz_.data(), 0, passo});
    pivosAntes_.assign(posicoes_.size() + 1, 0);
    sombra_ = 0;
    pivos_.clear();
}

void TAjusteCandidatos::Escolhe(std::size_t pos, int candidato) {
    caminho_[pos] = candidato;
    if (sombra_ > pos) {
        sombra_ = pos;
        pivos_.resize(pivosAntes_[pos]);
    }
}

bool TAjusteCandidatos::Sombra(std::size_t q) {
    while (sombra_ < q) {
        const std::size_t j = sombra_;
        const Vista &o = vistasL_[j];
        if (caminho_[j] < 0) {
            vistasL_[j + 1] = o;
        } else {
            const auto t = static_cast<std::size_t>(caminho_[j]);
            const long double *linha = o.Dados + (t - o.Base) * o.Passo;
            const long double diagonal = linha[t - o.Base];
            if (PivoNulo(diagonal, diagonal_[t])) return false;
            pivos_.push_back({linha, o.Base, diagonal, t});
            const std::size_t nb = posicoes_[j].Fim;
            const std::size_t r = C_ - nb;
            std::vector<long double> &buffer = niveis_[j];
            if (buffer.size() < r * (r + Y_)) buffer.resize(r * (r + Y_));
            const Vista destino{buffer.data(), nb, r + Y_};
            Elimina(o, destino, t, nb);
            vistasL_[j + 1] = destino;
        }
        pivosAntes_[j + 1] = pivos_.size();
        ++sombra_;
    }
    return true;
}

void TAjusteCandidatos::VisitaD(std::size_t pos, VistaD vista, std::uint64_t indice,
                                std::size_t np, double T, const double *yy) {
    if (abandonada_) return;
    const Posicao &p = posicoes_[pos];
    if (pos + 1 == posicoes_.size()) {
        FolhasD(p, vista, indice, np, T, yy);
        return;
    }
    const std::size_t nb = p.Fim;
    const std::size_t k = p.Escolhas.size();
    const std::size_t r = C_ - nb;
    for (std::size_t i = 0; i < k && !abandonada_; ++i) {
        const Escolha &e = p.Escolhas[i];
        Escolhe(pos, e.Codigo == 0 ? -1 : e.Candidato);
        if (e.Codigo == 0) {
            VisitaD(pos + 1, vista, indice + e.Contribuicao, np, T, yy);
            continue;
        }
        if (e.Candidato < 0) continue; // a failed column
        const auto t = static_cast<std::size_t>(e.Candidato);
        const double *linha = vista.Dados + (t - vista.Base) * vista.Passo;
        const double pivo = linha[t - vista.Base];
        const double Tt = erro_.Passo(T, pivo * invDiagonalRaiz_[t]);
        if (!(Tt > 0)) {
            // Too small a pivot for the bound: the long double tree fits the models below.
            if (!Sombra(pos)) return; // a pivot before counts as zero: nothing below is fitted
            const Vista &o = vistasL_[pos];
            const long double *l = o.Dados + (t - o.Base) * o.Passo;
            const long double diagonal = l[t - o.Base];
            if (!PivoNulo(diagonal, diagonal_[t])) {
                pivos_.push_back({l, o.Base, diagonal, t});
                std::vector<long double> &buffer = niveis_[pos];
                if (buffer.size() < r * (r + Y_)) buffer.resize(r * (r + Y_));
                const Vista destino{buffer.data(), nb, r + Y_};
                Elimina(o, destino, t, nb);
                Visita(pos + 1, destino, true, indice + e.Contribuicao);
                pivos_.pop_back();
            }
            // Its buffers now hold other states.
            if (sombra_ > pos) sombra_ = pos;
            pivos_.resize(pivosAntes_[pos]);
            continue;
        }
        // Each right-hand side's sum of squares less what this regressor explains, and the
        // elimination of the regressor from the later candidates' rows.
        const double ip = 1 / pivo;
        double *yyAbaixo = &yyD_[(pos + 1) * Y_];
        const double *v = linha + (C_ - vista.Base);
        for (std::size_t y = 0; y < Y_; ++y)
            yyAbaixo[y] = yy[y] - v[y] * v[y] * ip;
        std::vector<double> &buffer = niveisD_[pos];
        if (buffer.size() < r * (r + Y_) + r) buffer.resize(r * (r + Y_) + r);
        double *f = buffer.data() + r * (r + Y_);
        // The matrix is symmetric: column t of the later rows is row t's own entries.
        const double *col = linha + (nb - vista.Base);
        for (std::size_t x = 0; x < r; ++x)
            f[x] = -col[x] * ip;
        const VistaD destino{buffer.data(), nb, r + Y_};
        EliminaDuplo(avx2_, r, r + Y_, vista.Dados + (nb - vista.Base) * vista.Passo + (nb - vista.Base),
                     vista.Passo, destino.Dados, destino.Passo, linha + (nb - vista.Base), f);
        VisitaD(pos + 1, destino, indice + e.Contribuicao, np + 1, Tt, yyAbaixo);
    }
}

void TAjusteCandidatos::FolhasD(const Posicao &p, const VistaD &vista, std::uint64_t indice,
                                std::size_t np, double T, const double *yy) {
    if ((++contaFolhas_ & 15u) == 0 &&
        (parar_->load(std::memory_order_relaxed) || (progresso_ && progresso_->Cancelado()))) {
        abandonada_ = true;
        return;
    }
    const TBlocoPesquisa &bloco = *bloco_;
    const std::size_t pos = posicoes_.size() - 1;
    // The threshold on R² by the number of terms, refreshed when the threshold moves.
    const double limiar = Limiar();
    if (!(limiar == limiarR2_)) {
        limiarR2_ = limiar;
        for (std::size_t m = 1; m < limitesR2_.size(); ++m)
            limitesR2_[m] = LimiteR2(bloco.Criterio, limiar, n_, m, bloco.LimiteExato);
    }
    const std::size_t k = p.Escolhas.size();
    const std::size_t R = rhs_.size();
    const std::size_t total = k * R;
    if (lanesV_.size() < total) {
        for (auto *v : {&lanesV_, &lanesIp_, &lanesYy_, &lanesInv_, &lanesK_})
            v->resize(total);
        lanesPassa_.resize(total);
    }
    // Lane i·R + r: choice i with right-hand side r. A choice whose pivot is too small for the
    // bound has K = NaN: all its lanes pass. An idle lane has K = −∞ and s = 0: it never passes.
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double fora = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < k; ++i) {
        const Escolha &e = p.Escolhas[i];
        double *V = &lanesV_[i * R], *Ip = &lanesIp_[i * R], *Yy = &lanesYy_[i * R];
        double *Inv = &lanesInv_[i * R], *K = &lanesK_[i * R];
        double ip = 0, kEscolha = nan;
        std::size_t m = np + 1;
        const double *v = nullptr;
        bool valida = e.Codigo == 0;
        if (e.Codigo == 0) {
            kEscolha = 1 + erro_.Erro(T) - limitesR2_[m];
        } else if (e.Candidato >= 0) {
            const auto t = static_cast<std::size_t>(e.Candidato);
            const double *linha = vista.Dados + (t - vista.Base) * vista.Passo;
            const double pivo = linha[t - vista.Base];
            valida = true;
            m = np + 2;
            v = linha + (C_ - vista.Base);
            ip = 1 / pivo;
            const double Tt = erro_.Passo(T, pivo * invDiagonalRaiz_[t]);
            if (Tt > 0) kEscolha = 1 + erro_.Erro(Tt) - limitesR2_[m];
        }
        const std::uint64_t base = indice + e.Contribuicao;
        for (std::size_t r = 0; r < R; ++r) {
            const std::size_t y = rhs_[r].Coluna;
            // Before the start of a continued piece, or a dependent column never listed.
            const bool ativa = valida && m < n_ && base + rhs_[r].Contribuicao >= inicio_ &&
                               invSQT_[y] != 0;
            V[r] = ativa && v ? v[y] : 0;
            Ip[r] = ativa ? ip : 0;
            Yy[r] = ativa ? yy[y] : 0;
            Inv[r] = ativa ? invSQT_[y] : 0;
            K[r] = ativa ? kEscolha : fora;
        }
    }
    Lanes(avx2_, total, lanesV_.data(), lanesIp_.data(), lanesYy_.data(), lanesInv_.data(),
          lanesK_.data(), lanesPassa_.data());
    const bool observa = static_cast<bool>(bloco.ObservaTriagem);
    if (observa) {
        // Every active lane goes to the exact leaf, with the screen's 1 − R² and its bound (NaN
        // for a choice whose pivot was too small to bound).
        if (lanesS_.size() < total) {
            lanesS_.resize(total);
            lanesErro_.resize(total);
        }
        for (std::size_t l = 0; l < total; ++l) {
            lanesS_[l] = (lanesYy_[l] - lanesV_[l] * lanesV_[l] * lanesIp_[l]) * lanesInv_[l];
            lanesErro_[l] = std::numeric_limits<double>::quiet_NaN();
            if (lanesK_[l] != fora) lanesPassa_[l] = 1;
        }
        for (std::size_t i = 0; i < k; ++i) {
            const Escolha &e = p.Escolhas[i];
            double erro = std::numeric_limits<double>::quiet_NaN();
            if (e.Codigo == 0) {
                erro = erro_.Erro(T);
            } else if (e.Candidato >= 0) {
                const auto t = static_cast<std::size_t>(e.Candidato);
                const double *linha = vista.Dados + (t - vista.Base) * vista.Passo;
                const double Tt = erro_.Passo(T, linha[t - vista.Base] * invDiagonalRaiz_[t]);
                if (Tt > 0) erro = erro_.Erro(Tt);
            }
            for (std::size_t r = 0; r < R; ++r)
                lanesErro_[i * R + r] = erro;
        }
    }
    for (std::size_t i = 0; i < k && !abandonada_; ++i) {
        if (observa) {
            amostraS_ = &lanesS_[i * R];
            amostraErro_ = &lanesErro_[i * R];
        }
        std::uint64_t lados = 0;
        for (std::size_t r = 0; r < R; ++r)
            if (lanesPassa_[i * R + r]) lados |= 1ull << r;
        if (!lados) continue;
        // The exact leaf, on the long double tree of this path.
        const Escolha &e = p.Escolhas[i];
        Escolhe(pos, e.Codigo == 0 ? -1 : e.Candidato);
        if (!Sombra(pos)) break; // a pivot before counts as zero: no model here is fitted
        if (e.Codigo == 0) {
            Folha(indice + e.Contribuicao, lados);
            continue;
        }
        const auto t = static_cast<std::size_t>(e.Candidato);
        const Vista &o = vistasL_[pos];
        const long double *linha = o.Dados + (t - o.Base) * o.Passo;
        const long double diagonal = linha[t - o.Base];
        if (PivoNulo(diagonal, diagonal_[t])) continue;
        // The last position eliminates nothing further: its pivot row is all the leaf reads.
        pivos_.push_back({linha, o.Base, diagonal, t});
        Folha(indice + e.Contribuicao, lados);
        pivos_.pop_back();
    }
    amostraS_ = amostraErro_ = nullptr;
}

// Back substitution, as Resolve does it (b[i] = (v[i] − Σⱼ₌ᵢ₊₁..ₘ a[j][i]·b[j])/a[i][i]), for K
// right-hand sides side by side: each goes through exactly its own operations, in their order;
// together they share the loads and keep the divider busy. b[k·K + t] is coefficient k + 1 of
// the t-th.
template <std::size_t K>
void TAjusteCandidatos::Substitui(const std::size_t *ys, long double *b) const {
    const std::size_t np = pivos_.size();
    const Pivo *pv = pivos_.data();
    const long double n = static_cast<long double>(n_);
    long double s[K];
    if (np > 0) {
        const Pivo &u = pv[np - 1];
        const long double *v = u.Linha + (C_ - u.Base);
        for (std::size_t t = 0; t < K; ++t)
            b[np * K + t] = v[ys[t]] / u.Diagonal;
        for (std::size_t i = np - 1; i >= 1; --i) {
            const Pivo &q = pv[i - 1];
            const long double *col = q.Linha;
            const long double *v = col + (C_ - q.Base);
            for (std::size_t t = 0; t < K; ++t)
                s[t] = v[ys[t]];
            for (std::size_t j = i + 1; j <= np; ++j) {
                const long double a = col[pv[j - 1].Candidato - q.Base];
                for (std::size_t t = 0; t < K; ++t)
                    s[t] -= a * b[j * K + t];
            }
            for (std::size_t t = 0; t < K; ++t)
                b[i * K + t] = s[t] / q.Diagonal;
        }
    }
    for (std::size_t t = 0; t < K; ++t)
        s[t] = Sy_[ys[t]];
    for (std::size_t j = 1; j <= np; ++j) {
        const long double a = Sx_[pv[j - 1].Candidato];
        for (std::size_t t = 0; t < K; ++t)
            s[t] -= a * b[j * K + t];
    }
    for (std::size_t t = 0; t < K; ++t)
        b[t] = s[t] / n;
}

void TAjusteCandidatos::Folha(std::uint64_t indice, std::uint64_t lados) {
    if ((++contaFolhas_ & 63u) == 0 &&
        (parar_->load(std::memory_order_relaxed) || (progresso_ && progresso_->Cancelado()))) {
        abandonada_ = true;
        return;
    }
    const std::size_t np = pivos_.size();
    const std::size_t m = np + 1;
    if (m >= n_) return; // no residual degree of freedom
    const TBlocoPesquisa &bloco = *bloco_;
    const double limiar = Limiar();
    const Pivo *pv = pivos_.data();

    constexpr std::size_t kGrupo = 4;
    std::size_t ys[kGrupo], lado[kGrupo];
    std::uint64_t indices[kGrupo];
    long double *b = b_.data();
    long double *bt = bt_.data();
    std::size_t r = 0;
    while (r < rhs_.size()) {
        std::size_t k = 0;
        for (; r < rhs_.size() && k < kGrupo; ++r) {
            const std::uint64_t idx = indice + rhs_[r].Contribuicao;
            if (idx < inicio_ || !((lados >> r) & 1u)) continue;
            ys[k] = rhs_[r].Coluna;
            lado[k] = r;
            indices[k++] = idx;
        }
        exatos_ += k;
        switch (k) {
        case 0:
            continue;
        case 1:
            Substitui<1>(ys, b);
            break;
        case 2:
            Substitui<2>(ys, b);
            break;
        case 3:
            Substitui<3>(ys, b);
            break;
        default:
            Substitui<4>(ys, b);
            break;
        }
        for (std::size_t t = 0; t < k; ++t) {
            const std::size_t y = ys[t];
            const long double *bk = b + t; // coefficient i + 1 at bk[i·k]
            long double nSQRl = 0;
            for (std::size_t i = 1; i <= np; ++i)
                nSQRl += G_[pv[i - 1].Candidato * Y_ + y] * bk[i * k];
            const TAjuste aj = AjusteDeSomas(n_, m, nSQT_[y], nSQRl, nSyy_[y]);
            if (aj.Recusa != TRecusa::Nenhuma) continue;
            if (amostraS_ && !std::isnan(amostraErro_[lado[t]]))
                bloco.ObservaTriagem(amostraS_[lado[t]], amostraErro_[lado[t]],
                                     1 - aj.nSQR / aj.nSQT);
            if (aj.R == 0 && !bloco.AceitaRZero) continue;
            long double r2a = 0;
            bool temR2a = false;
            auto R2a = [&] {
                if (!temR2a) r2a = R2AjustadoDe(aj, n_, m, bloco.LimiteExato);
                temR2a = true;
                return r2a;
            };
            unsigned g = 0;
            if (bloco.Criterio == cpRegressores) {
                if (std::fabs(aj.R) > bloco.LimiteExato) {
                    g = static_cast<unsigned>(m - 1);
                } else if (n_ > m) {
                    for (std::size_t i = 0; i < m; ++i)
                        bt[i] = bk[i * k];
                    for (std::size_t i = 1; i <= np; ++i)
                        bCentrados_[i] = centrados_[pv[i - 1].Candidato];
                    g = ContaSignificativosDe(n_, m, aj.nSQE, std::span<const long double>(bt, m),
                                              std::span<const long double>(bCentrados_.data(), m),
                                              bloco.QuantisT[m]);
                }
            }
            const long double chaveR2a = bloco.Criterio == cpR2Ajustado ? R2a() : 0;
            const double chave = ChaveFiltro(bloco.Criterio, aj.R, aj.F, chaveR2a, g);
            if (chave < limiar) continue;
            TCandidato c;
            c.Indice = indices[t];
            c.R = aj.R;
            c.F = aj.F;
            c.R2Ajustado = R2a();
            c.Regressores = static_cast<std::uint16_t>(m - 1);
            c.Significativos = static_cast<std::uint16_t>(g);
            for (std::size_t i = 0; i < m; ++i)
                c.Sinais[i] = bk[i * k] >= 0;
            Reporta(c, chave);
        }
    }
}

TResultadoPeca TAjusteCandidatos::Ajusta(const TBlocoPesquisa &bloco, const TPeca &peca,
                                         const std::atomic<double> &limiar,
                                         const std::atomic<bool> &parar,
                                         const TProgresso *progresso) {
    TResultadoPeca r;
    r.Peca = peca;
    bloco_ = &bloco;
    limiar_ = &limiar;
    parar_ = &parar;
    progresso_ = progresso;
    abandonada_ = false;
    inicio_ = peca.Inicio;
    candidatos_.clear();
    topo_.clear();
    exatos_ = 0;
    if (Prepara(bloco, peca)) {
        if (triagem_)
            VisitaD(0, VistaD{raizD_.data(), 0, C_ + Y_}, 0, 0, 0, yyD_.data());
        else
            Visita(0, Vista{raiz_.data(), 0, C_ + Y_}, true, 0);
    }
    r.Completa = !abandonada_;
    r.Exatos = exatos_;
    std::sort(candidatos_.begin(), candidatos_.end(),
              [](const TCandidato &a, const TCandidato &b) { return a.Indice < b.Indice; });
    r.Candidatos = candidatos_;
    return r;
}

} // namespace zelto
