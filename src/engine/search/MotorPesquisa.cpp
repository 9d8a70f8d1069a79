#include "search/MotorPesquisa.h"

#include "regression/Distribuicoes.h"
#include "regression/Transformacoes.h"
#include "search/AjusteCandidatos.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace zelto {

namespace {

// Pieces hold about this many models of a dozen terms; fewer when the models are larger, so
// that a piece takes a few tens of milliseconds at most and a cancel is felt at once.
constexpr std::uint64_t kModelosPorPeca = 65536;
constexpr std::uint64_t kOrcamentoPeca = kModelosPorPeca * 144;
constexpr std::uint64_t kMinimoPorPeca = 256;

// The pieces of a block, one after another: an odometer over the high digits.
class TDispensador {
  public:
    void Inicia(const TBlocoPesquisa &b, std::vector<std::uint16_t> altos, std::uint64_t inicio) {
        bases_.assign(b.Bases.begin() + static_cast<std::ptrdiff_t>(b.Baixos), b.Bases.end());
        atual_.Sequencia = 0;
        atual_.Altos = std::move(altos);
        atual_.Inicio = inicio;
        esgotado_ = false;
    }
    bool Esgotado() const { return esgotado_; }
    const TPeca &Atual() const { return atual_; }
    // The next piece, or false when there is none left.
    bool Proxima(TPeca &peca) {
        if (esgotado_) return false;
        peca = atual_;
        atual_.Inicio = 0;
        ++atual_.Sequencia;
        std::size_t i = 0;
        for (; i < bases_.size(); ++i) {
            if (++atual_.Altos[i] < bases_[i]) break;
            atual_.Altos[i] = 0;
        }
        esgotado_ = i == bases_.size();
        return true;
    }

  private:
    std::vector<std::uint64_t> bases_;
    TPeca atual_;
    bool esgotado_ = true;
};

} // namespace

unsigned MaximoThreads() {
    return 4 * std::max(1u, std::thread::hardware_concurrency());
}

struct TMotorPesquisa::Impl {
    TDadosRegressao &dados;
    TParametrosMotor par;
    unsigned threads = 1;

    // Shared with the workers, under mx.
    std::mutex mx;
    std::condition_variable cvTrabalho, cvPronto;
    const TBlocoPesquisa *bloco = nullptr;
    TDispensador dispensador;
    bool aberto = false; // pieces may be handed out
    std::uint64_t limiteSequencia = 0;
    std::deque<TPeca> emitidas; // handed out and not yet placed, in order
    std::map<std::uint64_t, TResultadoPeca> prontos;
    unsigned ocupados = 0;
    bool encerrar = false;
    const TProgresso *progresso = nullptr;
    std::atomic<double> limiar{0};
    std::atomic<bool> parar{false};
    std::vector<std::jthread> trabalhadores;

    TAjusteCandidatos local; // the calling thread's, with one thread
    std::uint64_t exatos = 0;

    Impl(TDadosRegressao &d, const TParametrosMotor &p) : dados(d), par(p) {
        threads = p.Threads ? p.Threads : std::max(1u, std::thread::hardware_concurrency());
        threads = std::min(threads, MaximoThreads());
        if (threads > 1) {
            for (unsigned i = 0; i < threads; ++i) {
                try {
                    trabalhadores.push_back(IniciaThread(par.IniciaThread, [this] { Trabalha(); }));
                } catch (const std::system_error &) {
                    break; // the system gives no more: go on with those started
                }
            }
            // One worker alone would only hand the pieces over: the calling thread fits them.
            threads = trabalhadores.size() > 1 ? static_cast<unsigned>(trabalhadores.size()) : 1;
        }
    }

    ~Impl() {
        {
            std::lock_guard lk(mx);
            encerrar = true;
        }
        cvTrabalho.notify_all();
        trabalhadores.clear(); // joins
    }

    void Trabalha() {
        TAjusteCandidatos ajuste;
        std::unique_lock lk(mx);
        for (;;) {
            cvTrabalho.wait(lk, [&] {
                return encerrar || (aberto && !dispensador.Esgotado() &&
                                    dispensador.Atual().Sequencia < limiteSequencia);
            });
            if (encerrar) return;
            TPeca peca;
            dispensador.Proxima(peca);
            emitidas.push_back(peca);
            ++ocupados;
            const TBlocoPesquisa *b = bloco;
            const TProgresso *p = progresso;
            lk.unlock();
            TResultadoPeca r = ajuste.Ajusta(*b, peca, limiar, parar, p);
            lk.lock();
            --ocupados;
            prontos.emplace(r.Peca.Sequencia, std::move(r));
            cvPronto.notify_all();
        }
    }

    TBlocoPesquisa Monta(const TMascarasVigentes &m, int primeiro, int ultimo,
                         const TCodigos &codigos);
    void Mescla(const TBlocoPesquisa &b, const TResultadoPeca &r, const TCodigos &base,
                TListaMelhores &lista, std::uint64_t &examinados);
    // The model where a piece starts.
    static void Posiciona(const TBlocoPesquisa &b, const TPeca &peca, TCodigos &codigos);
};

TBlocoPesquisa TMotorPesquisa::Impl::Monta(const TMascarasVigentes &m, int primeiro, int ultimo,
                                           const TCodigos &codigos) {
    TBlocoPesquisa b;
    b.Ativas = dados.Ativas();
    b.D = m.D;
    b.Criterio = par.Criterio;
    b.LimiteExato = par.LimiteExato;
    b.AceitaRZero = par.AceitaRZero;
    b.Triagem = par.Triagem;
    b.TriagemEscalar = par.TriagemEscalar;
    b.ObservaTriagem = par.ObservaTriagem;
    std::size_t termos = 1;
    for (int c = 1; c <= m.V; ++c) {
        const bool noBloco = c >= primeiro && c <= ultimo;
        if (!noBloco && c != m.D && codigos[static_cast<std::size_t>(c)] == 0) continue;
        TVariavelBloco v;
        v.Coluna = c;
        std::vector<std::uint8_t> lista;
        if (noBloco) {
            for (std::uint8_t k = 0; k <= MaiorCodigoTransformacao; ++k)
                if ((m.Mascara(c) >> k) & 1u) lista.push_back(k);
        }
        if (lista.empty()) lista.push_back(codigos[static_cast<std::size_t>(c)]);
        bool algum = false;
        for (std::size_t i = 0; i < lista.size(); ++i) {
            TEscolhaVariavel e;
            e.Codigo = lista[i];
            e.Digito = static_cast<std::uint16_t>(i);
            if (e.Codigo != 0 || c == m.D) {
                e.Coluna = &dados.Coluna(static_cast<std::size_t>(c), e.Codigo);
                e.Falha = e.Coluna->ErroEm(b.Ativas) != 0;
                algum = algum || e.Codigo != 0;
            }
            v.Escolhas.push_back(e);
        }
        if (c != m.D && algum) ++termos;
        if (noBloco) {
            v.Digito = static_cast<int>(b.Digitos.size());
            b.Digitos.push_back(static_cast<int>(b.Variaveis.size()));
            b.Bases.push_back(lista.size());
        }
        if (c == m.D) b.IndiceD = static_cast<int>(b.Variaveis.size());
        b.Variaveis.push_back(std::move(v));
    }

    // The low digits: as many of the first ones as make a piece of the size aimed at.
    std::uint64_t total = 1;
    for (std::uint64_t base : b.Bases)
        total = total > kOrcamentoPeca ? total : total * base;
    const std::uint64_t maximo = std::max<std::uint64_t>(1, kOrcamentoPeca / (termos * termos));
    const std::uint64_t alvo = std::clamp<std::uint64_t>(total / (8 * threads), kMinimoPorPeca,
                                                         std::max(maximo, kMinimoPorPeca));
    b.TamanhoPeca = 1;
    b.Baixos = 0;
    while (b.Baixos < b.Bases.size() &&
           (b.Baixos == 0 || b.TamanhoPeca * b.Bases[b.Baixos] <= alvo)) {
        b.Pesos.push_back(b.TamanhoPeca);
        b.TamanhoPeca *= b.Bases[b.Baixos];
        ++b.Baixos;
    }

    CalculaProdutos(b, threads, par.IniciaThread);

    if (par.Criterio == cpRegressores) {
        const std::size_t n = b.Ativas.size();
        b.QuantisT.assign(termos + 2, 0);
        for (std::size_t k = 1; k < b.QuantisT.size() && k < n; ++k) {
            const std::size_t gl = std::min<std::size_t>(n - k, 65535);
            b.QuantisT[k] = std::fabs(QuantilStudent(static_cast<std::uint16_t>(gl), par.Alfa / 2));
        }
    }
    return b;
}

void TMotorPesquisa::Impl::Posiciona(const TBlocoPesquisa &b, const TPeca &peca,
                                     TCodigos &codigos) {
    for (std::size_t i = 0; i < b.Digitos.size(); ++i) {
        const TVariavelBloco &v = b.Variaveis[static_cast<std::size_t>(b.Digitos[i])];
        const std::uint64_t d =
            i < b.Baixos ? (peca.Inicio / b.Pesos[i]) % b.Bases[i] : peca.Altos[i - b.Baixos];
        codigos[static_cast<std::size_t>(v.Coluna)] = v.Escolhas[d].Codigo;
    }
}

void TMotorPesquisa::Impl::Mescla(const TBlocoPesquisa &b, const TResultadoPeca &r,
                                  const TCodigos &base, TListaMelhores &lista,
                                  std::uint64_t &examinados) {
    TModeloPesquisado modelo;
    modelo.Ocupado = true;
    modelo.Codigos = base;
    modelo.SignificativosCalculados = b.Criterio == cpRegressores;
    TPeca peca = r.Peca;
    for (const TCandidato &c : r.Candidatos) {
        peca.Inicio = c.Indice;
        Posiciona(b, peca, modelo.Codigos);
        modelo.R = c.R;
        modelo.F = c.F;
        modelo.R2Ajustado = c.R2Ajustado;
        modelo.Regressores = c.Regressores;
        modelo.Significativos = b.Criterio == cpRegressores ? c.Significativos : 0;
        modelo.Sinais = c.Sinais;
        lista.Insere(modelo, b.Criterio, b.D);
    }
    examinados += b.TamanhoPeca - r.Peca.Inicio;
    exatos += r.Exatos;
}

TMotorPesquisa::TMotorPesquisa(TDadosRegressao &dados, const TParametrosMotor &parametros)
    : impl_(std::make_unique<Impl>(dados, parametros)) {}

TMotorPesquisa::~TMotorPesquisa() = default;

unsigned TMotorPesquisa::Threads() const {
    return impl_->threads;
}

std::uint64_t TMotorPesquisa::Exatos() const {
    return impl_->exatos;
}

bool TMotorPesquisa::ExecutaBloco(const TMascarasVigentes &m, int primeiro, int ultimo,
                                  TCodigos &codigos, TListaMelhores &lista,
                                  std::uint64_t &examinados, TProgresso *progresso,
                                  const std::function<void()> &informa) {
    Impl &I = *impl_;
    const TBlocoPesquisa bloco = I.Monta(m, primeiro, ultimo, codigos);

    // Where the current model stands in the block.
    std::vector<std::uint16_t> altos;
    std::uint64_t inicio = 0;
    for (std::size_t i = 0; i < bloco.Digitos.size(); ++i) {
        const TVariavelBloco &v = bloco.Variaveis[static_cast<std::size_t>(bloco.Digitos[i])];
        std::uint16_t d = 0;
        for (const TEscolhaVariavel &e : v.Escolhas)
            if (e.Codigo == codigos[static_cast<std::size_t>(v.Coluna)]) d = e.Digito;
        if (i < bloco.Baixos)
            inicio += d * bloco.Pesos[i];
        else
            altos.push_back(d);
    }
    const TCodigos base = codigos;
    // A finished block leaves its variables at their first allowed codes, as the odometer's carry
    // does; the caller then moves to the next block.
    auto fim = [&] {
        codigos = base;
        TPeca zero;
        zero.Altos.assign(bloco.Digitos.size() - bloco.Baixos, 0);
        Impl::Posiciona(bloco, zero, codigos);
        return true;
    };
    auto cancelado = [&] { return progresso && progresso->Cancelado(); };
    auto avisa = [&] {
        if (informa) informa();
    };
    I.limiar.store(lista.Limiar(I.par.Criterio), std::memory_order_relaxed);
    I.parar.store(false, std::memory_order_relaxed);

    if (I.threads <= 1) {
        I.dispensador.Inicia(bloco, std::move(altos), inicio);
        TPeca peca;
        while (I.dispensador.Proxima(peca)) {
            if (cancelado()) {
                Impl::Posiciona(bloco, peca, codigos);
                return false;
            }
            const TResultadoPeca r = I.local.Ajusta(bloco, peca, I.limiar, I.parar, progresso);
            if (!r.Completa) {
                Impl::Posiciona(bloco, peca, codigos);
                return false;
            }
            I.Mescla(bloco, r, base, lista, examinados);
            I.limiar.store(lista.Limiar(I.par.Criterio), std::memory_order_relaxed);
            avisa();
        }
        return fim();
    }

    const std::uint64_t janela = 4ull * I.threads;
    std::unique_lock lk(I.mx);
    I.bloco = &bloco;
    I.progresso = progresso;
    I.dispensador.Inicia(bloco, std::move(altos), inicio);
    I.emitidas.clear();
    I.prontos.clear();
    I.limiteSequencia = janela;
    I.aberto = true;
    I.cvTrabalho.notify_all();

    std::uint64_t seq = 0;
    bool interrompido = false;
    // Places the next piece when it is ready and complete; the lock is released meanwhile.
    auto mesclaPronta = [&]() -> bool {
        auto it = I.prontos.find(seq);
        if (it == I.prontos.end() || !it->second.Completa) return false;
        TResultadoPeca r = std::move(it->second);
        I.prontos.erase(it);
        I.emitidas.pop_front();
        ++seq;
        I.limiteSequencia = seq + janela;
        I.cvTrabalho.notify_all();
        lk.unlock();
        I.Mescla(bloco, r, base, lista, examinados);
        I.limiar.store(lista.Limiar(I.par.Criterio), std::memory_order_relaxed);
        lk.lock();
        return true;
    };
    for (;;) {
        if (cancelado()) {
            interrompido = true;
            break;
        }
        if (mesclaPronta()) {
            lk.unlock();
            avisa();
            lk.lock();
            continue;
        }
        if (I.prontos.count(seq)) { // an abandoned piece: only a cancel does that
            interrompido = true;
            break;
        }
        if (I.dispensador.Esgotado() && I.emitidas.empty()) break;
        if (I.cvPronto.wait_for(lk, std::chrono::milliseconds(100)) == std::cv_status::timeout) {
            lk.unlock();
            avisa();
            lk.lock();
        }
    }

    // Stop handing out pieces and let the workers finish or drop theirs.
    I.aberto = false;
    if (interrompido) I.parar.store(true, std::memory_order_relaxed);
    I.cvPronto.wait(lk, [&] { return I.ocupados == 0; });
    // What is complete and next in line still counts.
    while (mesclaPronta()) {
    }
    bool concluido = true;
    if (!I.emitidas.empty()) {
        Impl::Posiciona(bloco, I.emitidas.front(), codigos);
        concluido = false;
    } else if (!I.dispensador.Esgotado()) {
        Impl::Posiciona(bloco, I.dispensador.Atual(), codigos);
        concluido = false;
    } else {
        fim();
    }
    I.prontos.clear();
    I.emitidas.clear();
    I.bloco = nullptr;
    I.progresso = nullptr;
    I.parar.store(false, std::memory_order_relaxed);
    return concluido;
}

} // namespace zelto
