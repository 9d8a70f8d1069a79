// TPesquisa: the model search, its best-models list and table, and the choice of a model.
//
// The search enumerates candidate models (a transformation code for every worksheet variable,
// within the masks of its configuration, ListaModelos.h), fits each to the active samples and
// keeps the 50 best by the configured criterion: R ("Correlação"), F ("Significância do
// Modelo"), the count of significant regressors ("Sig. dos Regressores", at the two-sided
// regressor level of the significance settings) or the adjusted R² ("r² ajustado"). A model
// whose transformation fails on an active sample, whose system is singular or whose R is 0 is
// skipped, and still counts as examined. In the descriptive mode the search is the single model
// in which the dependent variable is proportional and alone; it is listed even with R = 0.
//
// The candidates are fitted on every core by TMotorPesquisa (MotorPesquisa.h) from cross
// products gathered once, with the regression system's own arithmetic, and placed in the list in
// the search's order, so the list is exactly the one a search that fits each model in turn with
// the regression system gives; `UsaSistema` runs that literal search instead (one thread, for
// checks and comparisons).
//
// A search may be interrupted through the progress sink's cancel flag; the next Pesquisa then
// continues from the first model not examined, with the list and the count as they were, unless
// the configuration was confirmed, Reinicia was called or the worksheet changed in between
// (PlanilhaAlterada), which make it start afresh. A finished search also starts afresh.
//
// Nothing here shows anything: messages go to `Aviso` with their exact texts, progress to the
// sink, the configuration dialog and the best-models window are callbacks. The search drives the
// TSistema it was given (it holds the last model fitted afterwards), reads the statistics mode
// of its worksheet (TGridzelto::Modo) and the significance settings its owner gave it
// (Significancias). One thread calls TPesquisa at a time; it may be another thread than the one
// that shows the progress.
#pragma once

#include "common/Progresso.h"
#include "regression/Sistema.h"
#include "search/AjusteCandidatos.h"
#include "search/ConfiguracaoPesquisa.h"
#include "search/GrauModelos.h"
#include "search/ListaModelos.h"
#include "significance/Significancias.h"
#include "worksheet/Gridzelto.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zelto {

// ---- Texts ------------------------------------------------------------------------------------

inline constexpr const char *kTituloPesquisando = "Pesquisando modelos...";
inline constexpr const char *kRotuloExaminados = "Nº de modelos pesquisados";
inline constexpr const char *kRotuloMaiorR = "Maior Coef. de Correlação";
inline constexpr const char *kRotuloDecorrido = "Tempo transcorrido";
inline constexpr const char *kRotuloEstimado = "Tempo Estimado";
inline constexpr const char *kBotaoInterromper = "Interromper pesquisa";
inline constexpr const char *kMensagemNenhumModelo =
    "Nenhum dos modelos pesquisados pode ser aplicado a esta planilha. Faça uma nova "
    "configuração de pesquisa.";
inline constexpr const char *kTituloDetalhando = "Detalhando modelos...";
inline constexpr const char *kTituloEnquadrando = "Enquadrando modelos...";
inline constexpr const char *kMensagemSemModelosValidos =
    "Não existem modelos válidos. Verifique a amostra e os dados do objeto sob avaliação ou "
    "experimente outra pesquisa. ";

// The best-models window.
inline constexpr const char *kTituloMelhoresModelos = "Melhores Modelos";
inline constexpr const char *kTituloSelecioneModelo = "Selecione um dos modelos abaixo : ";
inline constexpr const char *kNotaAntesSaneamento = "  (valores obtidos antes do saneamento)";
inline constexpr const char *kBotaoSelecionaModelo = "&Seleciona Modelo";
inline constexpr const char *kBotaoCancelarEscolha = "&Cancelar";
inline constexpr const char *kBotaoDetalhamento = "&Detalhamento";
inline constexpr const char *kBotaoResumo = "&Resumo";
inline constexpr const char *kBotaoImprimir = "&Imprimir";
inline constexpr const char *kRotuloModelo = "&Modelo :";

// The best-models table: 12 columns; row 0 holds these headings.
inline constexpr int kColunasTabela = 12;
inline constexpr int kColunasResumo = 5;
using TLinhaTabela = std::array<std::string, kColunasTabela>;
inline const TLinhaTabela kTitulosTabela = {"",
                                            "Correlação",
                                            "r² ajustado",
                                            "F Calculado",
                                            "Regressores",
                                            "Nº de \"Outliers\"",
                                            "Normalidade",
                                            "Autocorrelação",
                                            "Valor Avaliado",
                                            "Mínimo",
                                            "Máximo",
                                            "Precisão"};

// ---- Progress ---------------------------------------------------------------------------------

// What the progress window shows while a search runs.
struct TEstadoPesquisa {
    std::uint64_t Examinados = 0; // "Nº de modelos pesquisados"
    std::uint64_t Total = 0;      // T
    long double MelhorR = 0;      // R of list slot 1 ("Maior Coef. de Correlação", R·100)
    double Decorrido = 0;         // seconds since the search (or its continuation) started
    double Estimado = 0;          // estimated total seconds: Decorrido·T/Examinados
};

// A progress sink that also receives the search's state. TPesquisa calls Avanca(examined) and,
// on a sink of this kind, Estado, at most once per IntervaloProgresso, and once at the end.
class TProgressoPesquisa : public TProgresso {
  public:
    virtual void Estado(const TEstadoPesquisa & /*estado*/) {}
};

// ---- The search -----------------------------------------------------------------------------

class TPesquisa {
  public:
    TPesquisa(TGridzelto &grid, TSistema &sistema);

    // The configuration (defaults: "&Padrão", no rapid search, "Correlação", masks {0,1,2,8}).
    TConfiguracaoPesquisa Configuracao;
    // The significance settings in force: the regressors' two-sided level of the criterion
    // "Sig. dos Regressores" and the verdicts of the detailed table. The owner sets them before
    // a search or a table; the defaults until then.
    TSignificancias Significancias;

    // How the search runs; none of these changes its result.
    unsigned Threads = 0;            // worker threads; 0: one per core; at most MaximoThreads()
    TIniciaThread IniciaThread;      // how a worker starts (empty: a std::jthread)
    bool UsaSistema = false;         // fit each model with TSistema in turn, on one thread
    bool Triagem = true;             // screen models in double before the exact fit
    bool TriagemEscalar = false;     // the screen without AVX2 even where the processor has it
    TObservaTriagem ObservaTriagem;  // test hook on the screen (AjusteCandidatos.h)
    double IntervaloProgresso = 1.0; // seconds between progress reports

    // Where the information messages go (an information box with one OK button).
    std::function<void(const std::string &)> Aviso;

    // The list belongs to the current worksheet: set by a search that listed models; the main
    // window clears it (PlanilhaAlterada) when the worksheet changes.
    bool ResultadosValidos = false;

    // "Configurar pesquisa": opens the configuration dialog (`dialogo` shows it and returns
    // kResultadoConfirma, kResultadoExecuta or kResultadoCancela) and stores what is confirmed;
    // the next search then starts afresh. kResultadoCancela, after the message kMensagemSemModelos,
    // when no variable is used.
    int Configura(const std::function<int(TSelecaoPesquisa &)> &dialogo);

    // "Pesquisar modelos": runs or continues the search. True when a search ran (its list may be
    // empty: Aviso then got kMensagemNenhumModelo).
    bool Pesquisa(TProgresso *progresso = nullptr);

    // The best-models table of the list: row 0 the headings, then one row per listed model,
    // numbered from 1: R, adjusted R² and F; the count of significant regressors "g em m"; when
    // detailed, the model fitted again for the number of outliers, the normality ("Sim"/"Não") and
    // autocorrelation verdicts, and the estimate at the subject property with the bounds of its
    // mean interval and the precision ("------" without subject values, "???" where they cannot be
    // computed). A model that cannot be fitted again, or has no residual degrees of freedom, loses
    // its row. Built once after a search, and again when asked detailed while it is not.
    void MontaTabela(bool detalhada, TProgresso *progresso = nullptr);
    const std::vector<TLinhaTabela> &Tabela() const { return tabela_; }
    bool TabelaMontada() const { return tabelaMontada_; }
    // The list slot shown on table row `linha` (1-based); 0 for no such row. Rows of models that
    // could not be evaluated are removed, so a row may show a later slot.
    int SlotDaLinha(int linha) const;

    // ---- The grade of fundamentação of the listed models ("Fund.") -------------------------
    // Grades every listed model (GrausDaLista) under the declarations of criteria 1 and 3,
    // criterion 4 at the subject when the worksheet gives one; nothing is done when the list
    // was graded under the same declarations since the list, the worksheet or the subject last
    // changed. Under "grau de fundamentação, depois R" the table's rows then follow the grade.
    // Fits every listed model again on the regression system.
    void Gradua(const TDeclaracoesEnquadramento &declaracoes, TProgresso *progresso = nullptr);
    // The grades of the list; null when it was not graded.
    const TGrausLista *Graus() const { return graus_ ? &*graus_ : nullptr; }
    // The list is shown by grade, then by R (the search ran by "grau de fundamentação, depois R").
    bool PorGrau() const { return enumeracao_.Mascaras().PorGrau; }

    // The terms of the regression system for a code vector: the dependent variable first, then
    // every other variable with a code, in column order.
    void DefineModelo(const TCodigos &codigos);
    // "[dep] = b0 + b1x[x1] - b2xLn([x2])..." for a list slot; empty when the slot has no code
    // for the dependent variable.
    // `nome` gives the text of a variable's name (as typed when not given).
    std::string EquacaoSimbolica(int slot,
                                 const std::function<std::string(const std::string &)> &nome = {}) const;

    // Empties the list and the table; the configuration stays. The next search starts afresh.
    void Reinicia();
    // The worksheet changed: the list no longer belongs to it, and an interrupted search will
    // not be continued on other data.
    void PlanilhaAlterada();
    // The subject's values changed: the table (its estimate columns) is built afresh next time;
    // the list stays.
    void DescartaTabela();

    // The best-models window, without the window: `Escolhe` is shown the search (its table,
    // EquacaoSimbolica, MontaTabela for "&Detalhamento") and the row to select first, and
    // returns the chosen row, or 0 for "&Cancelar".
    struct TJanelaEscolha {
        bool Detalhada = true; // the "DetMod" setting
        std::function<int(TPesquisa &, int linhaInicial)> Escolhe;
        TProgresso *Progresso = nullptr; // the detailing and the sanitation
    };
    // "Escolher Modelo": the chosen model fitted for good (after the automatic outlier removal
    // with the criterion and parameter when `saneia`), up to CalculaEstatisticas. False when
    // nothing was chosen or the chosen model could not be fitted.
    bool EscolheModelo(bool saneia, int criterio, long double parametro,
                       const TJanelaEscolha &janela);
    // Its two halves, for a front end that fits on another thread: the list slot chosen in the
    // window (0 when nothing was chosen), then that slot fitted for good.
    int EscolheSlot(const TJanelaEscolha &janela);
    bool AjustaSlot(int slot, bool saneia, int criterio, long double parametro,
                    TProgresso *progresso = nullptr);
    // The row selected when the window opens next (1 after a search).
    int UltimaLinha = 0;

    // ---- State ---------------------------------------------------------------------------
    const TListaMelhores &Lista() const { return lista_; }
    TListaMelhores &Lista() { return lista_; }
    int Modelos() const { return lista_.Modelos(); }
    std::uint64_t Examinados() const { return examinados_; }
    // T, at most 2147483647.
    std::uint64_t Total() const;
    bool Interrompida() const { return interrompida_; }
    bool ReinicioNecessario() const { return reiniciar_; }
    bool DadosSalvos() const { return dadosSalvos_; }
    // The next model to examine and its block.
    const TCodigos &ModeloAtual() const { return enumeracao_.Codigos; }
    int InicioBloco() const { return enumeracao_.Primeiro(); }
    int FimBloco() const { return enumeracao_.Ultimo(); }
    // The last run: threads used, seconds and models examined by it.
    unsigned ThreadsUsadas() const { return threadsUsadas_; }
    double Segundos() const { return segundos_; }
    std::uint64_t ExaminadosNaExecucao() const { return examinadosExecucao_; }
    // Of those, the models that reached the exact fit (all of them without screening).
    std::uint64_t ExatosNaExecucao() const { return exatosExecucao_; }
    // Dependent column and variable count of the last search.
    int D() const { return enumeracao_.Mascaras().D; }
    int V() const { return enumeracao_.Mascaras().V; }

  private:
    void Avisa(const std::string &texto) const;
    void LimpaSaneadas();
    bool ExecutaSistema(TProgresso *progresso, const std::function<void()> &informa);
    bool ExecutaMotor(TProgresso *progresso, const std::function<void()> &informa);
    TModeloPesquisado ModeloDoSistema() const;
    bool DetalhaLinha(TModeloPesquisado &modelo, TLinhaTabela &linha, TProgresso *progresso,
                      double &passo);

    TGridzelto &grid_;
    TSistema &sistema_;
    TEnumeracao enumeracao_;
    TListaMelhores lista_;
    std::uint64_t examinados_ = 0, total_ = 0;
    bool reiniciar_ = true, interrompida_ = false, dadosSalvos_ = true;
    bool modoInferencial_ = true;
    unsigned threadsUsadas_ = 0;
    double segundos_ = 0;
    std::uint64_t examinadosExecucao_ = 0, exatosExecucao_ = 0;

    std::vector<TLinhaTabela> tabela_;
    std::vector<int> slots_; // by table row (index 0: the headings)
    std::optional<TGrausLista> graus_;
    TDeclaracoesEnquadramento declaracoesGraus_;
    void OrdenaTabelaPorGrau();
    bool tabelaMontada_ = false, tabelaDetalhada_ = false;
};

} // namespace zelto
