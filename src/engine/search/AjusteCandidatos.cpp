#include "search/AjusteCandidatos.h"

#include "regression/EquacoesNormais.h"

#include <algorithm>
#include <cmath>
#include <system_error>
#include <thread>

namespace zelto {

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

void TAjusteCandidatos::Folha(std::uint64_t indice) {
    if ((++contaFolhas_ & 63u) == 0 &&
        (parar_->load(std::memory_order_relaxed) || (progresso_ && progresso_->Cancelado()))) {
        abandonada_ = true;
        return;
    }
    const std::size_t np = pivos_.size();
    const std::size_t m = np + 1;
    if (m >= n_) return; // no residual degree of freedom
    const TBlocoPesquisa &bloco = *bloco_;
    const double limiar = limiar_->load(std::memory_order_relaxed);
    const Pivo *pv = pivos_.data();

    constexpr std::size_t kGrupo = 4;
    std::size_t ys[kGrupo];
    std::uint64_t indices[kGrupo];
    long double *b = b_.data();
    long double *bt = bt_.data();
    std::size_t r = 0;
    while (r < rhs_.size()) {
        std::size_t k = 0;
        for (; r < rhs_.size() && k < kGrupo; ++r) {
            const std::uint64_t idx = indice + rhs_[r].Contribuicao;
            if (idx < inicio_) continue;
            ys[k] = rhs_[r].Coluna;
            indices[k++] = idx;
        }
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
            if (ChaveFiltro(bloco.Criterio, aj.R, aj.F, chaveR2a, g) < limiar) continue;
            TCandidato c;
            c.Indice = indices[t];
            c.R = aj.R;
            c.F = aj.F;
            c.R2Ajustado = R2a();
            c.Regressores = static_cast<std::uint16_t>(m - 1);
            c.Significativos = static_cast<std::uint16_t>(g);
            for (std::size_t i = 0; i < m; ++i)
                c.Sinais[i] = bk[i * k] >= 0;
            candidatos_.push_back(c);
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
    if (Prepara(bloco, peca)) Visita(0, Vista{raiz_.data(), 0, C_ + Y_}, true, 0);
    r.Completa = !abandonada_;
    std::sort(candidatos_.begin(), candidatos_.end(),
              [](const TCandidato &a, const TCandidato &b) { return a.Indice < b.Indice; });
    r.Candidatos = candidatos_;
    return r;
}

} // namespace zelto
