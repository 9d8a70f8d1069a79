// TPesquisa: configuration, the search and its progress, the literal one-model-at-a-time search.
// The table, the symbolic equation and the choice of a model are in TabelaModelos.cpp.
#include "search/Pesquisa.h"

#include "search/MotorPesquisa.h"
#include "significance/Significancias.h"

#include <algorithm>
#include <chrono>

namespace zelto {

namespace {
constexpr std::uint64_t kTotalMaximo = 2147483647;
} // namespace

TPesquisa::TPesquisa(TGridzelto &grid, TSistema &sistema) : grid_(grid), sistema_(sistema) {
    lista_.Limpa();
}

void TPesquisa::Avisa(const std::string &texto) const {
    if (Aviso) Aviso(texto);
}

std::uint64_t TPesquisa::Total() const {
    return std::min(total_, kTotalMaximo);
}

int TPesquisa::Configura(const std::function<int(TSelecaoPesquisa &)> &dialogo) {
    TSelecaoPesquisa selecao;
    if (selecao.Abre(Configuracao, grid_, Aviso) == kResultadoCancela) return kResultadoCancela;
    const int resultado = dialogo ? dialogo(selecao) : kResultadoCancela;
    if (resultado != kResultadoConfirma && resultado != kResultadoExecuta) return kResultadoCancela;
    selecao.Confirma(Configuracao);
    reiniciar_ = true;
    dadosSalvos_ = false;
    return resultado;
}

void TPesquisa::Reinicia() {
    lista_.Limpa();
    examinados_ = 0;
    interrompida_ = false;
    reiniciar_ = true;
    dadosSalvos_ = true;
    ResultadosValidos = false;
    tabela_.clear();
    slots_.clear();
    tabelaMontada_ = tabelaDetalhada_ = false;
    graus_.reset();
}

void TPesquisa::PlanilhaAlterada() {
    ResultadosValidos = false;
    reiniciar_ = true;
    graus_.reset();
}

void TPesquisa::LimpaSaneadas() {
    for (int r = 1; r < grid_.RowCount(); ++r)
        if (const TAmostragem *a = grid_.Amostragem(r); a && a->Saneada)
            grid_.AmostragemCriada(r).Saneada = false;
}

void TPesquisa::DefineModelo(const TCodigos &codigos) {
    const int D = enumeracao_.Mascaras().D;
    const int V = enumeracao_.Mascaras().V;
    std::vector<TTermo> termos;
    termos.push_back({static_cast<std::uint16_t>(D), codigos[static_cast<std::size_t>(D)]});
    for (int c = 1; c <= V && termos.size() < MaximoTermos; ++c)
        if (c != D && codigos[static_cast<std::size_t>(c)] != 0)
            termos.push_back({static_cast<std::uint16_t>(c), codigos[static_cast<std::size_t>(c)]});
    sistema_.DefineTermos(termos);
}

// The record of the model TSistema has just fitted.
TModeloPesquisado TPesquisa::ModeloDoSistema() const {
    TModeloPesquisado m;
    m.Ocupado = true;
    m.Codigos = enumeracao_.Codigos;
    m.R = sistema_.R();
    m.F = sistema_.F();
    m.R2Ajustado = sistema_.R2Ajustado();
    m.Regressores = static_cast<std::uint16_t>(sistema_.m() - 1);
    if (enumeracao_.Mascaras().Criterio == cpRegressores) {
        m.Significativos = static_cast<std::uint16_t>(
            sistema_.RegressoresSignificativos(Significancias.TesteRegressoresBicaudal));
        m.SignificativosCalculados = true;
    }
    for (std::size_t k = 1; k <= sistema_.m() && k <= MaximoTermos; ++k)
        m.Sinais[k - 1] = sistema_.Coeficiente(k) >= 0;
    return m;
}

bool TPesquisa::ExecutaSistema(TProgresso *progresso, const std::function<void()> &informa) {
    const TMascarasVigentes &m = enumeracao_.Mascaras();
    for (;;) {
        ++examinados_;
        ++examinadosExecucao_;
        DefineModelo(enumeracao_.Codigos);
        if (sistema_.MontaSistema() && sistema_.Resolve()) {
            sistema_.CalculaEstatisticas();
            if (sistema_.R() != 0 || m.Descritiva)
                lista_.Insere(ModeloDoSistema(), m.Criterio, m.D);
        }
        informa();
        if (!enumeracao_.Proximo(lista_)) return false;
        if (progresso && progresso->Cancelado()) return true;
    }
}

bool TPesquisa::ExecutaMotor(TProgresso *progresso, const std::function<void()> &informa) {
    const TMascarasVigentes &m = enumeracao_.Mascaras();
    TParametrosMotor par;
    par.Criterio = m.Criterio;
    par.Alfa = Significancias.TesteRegressoresBicaudal;
    par.LimiteExato = sistema_.LimiteAjusteExato;
    par.AceitaRZero = m.Descritiva;
    par.Threads = Threads;
    par.IniciaThread = IniciaThread;
    par.Triagem = Triagem;
    par.TriagemEscalar = TriagemEscalar;
    par.ObservaTriagem = ObservaTriagem;
    TMotorPesquisa motor(sistema_.Dados(), par);
    threadsUsadas_ = motor.Threads();
    for (;;) {
        const std::uint64_t antes = examinados_;
        const bool concluido =
            motor.ExecutaBloco(m, enumeracao_.Primeiro(), enumeracao_.Ultimo(), enumeracao_.Codigos,
                               lista_, examinados_, progresso, informa);
        examinadosExecucao_ += examinados_ - antes;
        exatosExecucao_ = motor.Exatos();
        if (!concluido) return true;
        if (!enumeracao_.ProximoBloco(lista_)) return false;
        if (progresso && progresso->Cancelado()) return true;
    }
}

bool TPesquisa::Pesquisa(TProgresso *progresso) {
    if (grid_.ColunasUsadas() == 0 || grid_.LinhasUsadas() == 0) return false;
    const bool inferencial = grid_.Modo.Inferencial;
    const TMascarasVigentes m = Configuracao.Vigentes(grid_, inferencial);
    // The dependent variable must be able to enter the model (an unused one cannot).
    if (m.D == 0 || (m.Mascara(m.D) & ~kMascaraNaoUsada) == 0) {
        Avisa(kMensagemSemModelos);
        return false;
    }
    if (reiniciar_ || !interrompida_ || modoInferencial_ != inferencial) {
        enumeracao_.Inicia(m);
        examinados_ = 0;
        total_ = enumeracao_.Total();
        if (total_ == 0) {
            Avisa(kMensagemSemModelos);
            return false;
        }
        lista_.Prepara();
        modoInferencial_ = inferencial;
    } else {
        // After a search the counter holds the number of models; while searching it is the first
        // empty slot (or 50), which is what the continuation must compare with.
        lista_.DefineContador(std::min(lista_.Modelos() + 1, kSlotsMelhores));
    }
    const bool descritiva = enumeracao_.Mascaras().Descritiva;
    // The descriptive mode's single model cannot be interrupted and shows no progress.
    TProgresso *sink = descritiva ? nullptr : progresso;
    if (sink) {
        sink->Rearma();
        sink->Inicia(kTituloPesquisando, 0, static_cast<double>(Total()), true);
    }

    LimpaSaneadas();
    sistema_.CarregaDados();

    using Relogio = std::chrono::steady_clock;
    const auto inicio = Relogio::now();
    auto ultimo = inicio;
    const std::uint64_t examinadosAntes = examinados_;
    examinadosExecucao_ = 0;
    exatosExecucao_ = 0;
    threadsUsadas_ = 1;
    auto informa = [&](bool sempre) {
        if (!sink) return;
        const auto agora = Relogio::now();
        const double desde = std::chrono::duration<double>(agora - ultimo).count();
        if (!sempre && desde < IntervaloProgresso) return;
        ultimo = agora;
        sink->Avanca(static_cast<double>(examinados_));
        if (auto *p = dynamic_cast<TProgressoPesquisa *>(sink)) {
            TEstadoPesquisa e;
            e.Examinados = examinados_;
            e.Total = Total();
            e.MelhorR = lista_.Slot(1).R;
            e.Decorrido = std::chrono::duration<double>(agora - inicio).count();
            const std::uint64_t feitos = examinados_ - examinadosAntes;
            const std::uint64_t faltam = Total() > examinados_ ? Total() - examinados_ : 0;
            e.Estimado = feitos ? e.Decorrido * static_cast<double>(feitos + faltam) /
                                      static_cast<double>(feitos)
                                : 0;
            p->Estado(e);
        }
    };
    const std::function<void()> periodico = [&] { informa(false); };

    const bool cancelado =
        UsaSistema || descritiva ? ExecutaSistema(sink, periodico) : ExecutaMotor(sink, periodico);
    if (UsaSistema || descritiva) exatosExecucao_ = examinadosExecucao_;

    segundos_ = std::chrono::duration<double>(Relogio::now() - inicio).count();
    informa(true);
    interrompida_ = cancelado && !descritiva;
    reiniciar_ = false;
    dadosSalvos_ = false;
    lista_.DefineContador(lista_.Modelos());
    if (sink) sink->Termina();
    UltimaLinha = 1;
    tabela_.clear();
    slots_.clear();
    tabelaMontada_ = tabelaDetalhada_ = false;
    graus_.reset();
    ResultadosValidos = lista_.Modelos() > 0;
    if (lista_.Modelos() == 0) Avisa(kMensagemNenhumModelo);
    return true;
}

} // namespace zelto
