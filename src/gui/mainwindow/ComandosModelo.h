// The model commands of the main window: the property under evaluation, the search's
// configuration, the search on another thread with its progress window and its cancel, the
// choice of a model in the best-models window, and the significance settings.
//
// They own the regression system, the search that drives it and the one significance record
// the program works under: the mode's working file, read when the mode is set, as the
// significance dialog leaves it. The search gets a copy before it runs or builds its table;
// the report reads this record. The fit of the chosen model is kept so that it can be fitted
// again when a later choice is abandoned or the report is brought up to date.
#pragma once

#include "gui/mainwindow/ServicosJanela.h"
#include "regression/Sistema.h"
#include "search/Pesquisa.h"
#include "significance/Significancias.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zelto {

class TArquivoIni;
class TConfiguracaoGeral;
class TDocumentoPlanilha;
class TGridzelto;
struct TDeclaracoesEnquadramento;

class TComandosModelo {
  public:
    TComandosModelo(TServicosJanela &janela, TRespostasUsuario &respostas, TDocumentoPlanilha &doc,
                    TConfiguracaoGeral &cfg, TArquivoIni &ini);
    ~TComandosModelo();

    // The model search and the regression system it drives (the chosen model after a choice).
    TPesquisa &Pesquisa() { return *pesquisa_; }
    TSistema &Sistema() { return *sistema_; }
    TSignificancias &Significancias() { return significancias_; }
    // A model is being chosen or refitted: its fit marks outliers, which is no change of data.
    bool Escolhendo() const { return escolhendo_; }

    // ---- What the user answers (tests replace these) -----------------------------
    // The search configuration dialog over its model: kResultadoConfirma, kResultadoExecuta
    // or kResultadoCancela.
    std::function<int(TSelecaoPesquisa &)> DialogoPesquisa;
    // The best-models window: the chosen table row, 0 for "&Cancelar".
    std::function<int(TPesquisa &, int linhaInicial)> EscolheLinhaModelo;
    // The subject-property dialog: whether it was confirmed and whether the subject changed.
    std::function<std::pair<bool, bool>()> DialogoObjeto;
    // The significance dialog on a page, with the automatic-sanitation option in and out;
    // true when anything changed.
    std::function<bool(PaginaSignificancias, bool &saneamento)> DialogoSignificancias;

    // ---- What the report commands answer (the window wires these) ------------------
    // The framing statements the grades are made under.
    std::function<TDeclaracoesEnquadramento()> Declaracoes;
    // After a choice: the report built and shown; false when it was not.
    std::function<bool()> ConstroiRelatorio;
    // A report page is shown and belongs to the current choice.
    std::function<bool()> RelatorioAtual;
    // The subject changed: the report shown no longer matches the worksheet.
    std::function<void()> ObjetoMudou;
    // The significance settings changed: the report page is written again.
    std::function<void()> SignificanciasMudaram;
    // Prints the report items of these classes on their own ("&Imprimir" of the best models).
    std::function<bool(const std::vector<std::string> &classes)> ImprimeItens;
    // While the search runs, the menus, the pages' tabs and the report take no input.
    std::function<void(bool bloqueia)> BloqueiaEntrada;

    // ---- Commands ------------------------------------------------------------------
    // "Configurar pesquisa": the configuration dialog; "&Executa pesquisa" searches at once.
    void ConfiguraPesquisa();
    // "Pesquisar modelos" ("Avaliar" in the descriptive mode): runs or continues the search
    // with its progress window, then offers the choice of a model. True when a search ran.
    bool PesquisaModelos();
    // "Selecionar Modelo": the subject's values, the best-models window, the chosen model
    // fitted and shown on the report page. True when a model was chosen.
    bool SelecionaModelo();
    // "Definir objeto sob avaliação".
    void DefineObjeto();
    // "Significâncias/Confianças" (first page) and "Critérios" (criteria page).
    void ConfiguraSignificancias(PaginaSignificancias pagina);

    // The mode's own significance settings, read when the mode is set.
    void CarregaSignificancias(bool inferencial);
    // The fit the report page shows is kept (its model and the samples the sanitation took
    // out) and fitted again when a later choice is abandoned, so the page and the regression
    // system keep agreeing.
    void GuardaAjuste();
    void RestauraAjuste();
    bool TemAjusteEscolhido() const { return ajusteEscolhido_.has_value(); }
    // The kept model fitted on the worksheet as it is now (the samples' sanitation marks
    // stay); false when it no longer fits.
    bool ReajustaEscolhido();

  private:
    bool AbreObjeto(); // the subject dialog; false when abandoned
    bool AbreSignificancias(PaginaSignificancias pagina);

    TServicosJanela &janela_;
    TRespostasUsuario &r_;
    TDocumentoPlanilha &doc_;
    TGridzelto &grid_;
    TConfiguracaoGeral &cfg_;
    TArquivoIni &ini_;
    std::unique_ptr<TSistema> sistema_;
    std::unique_ptr<TPesquisa> pesquisa_;
    TSignificancias significancias_;
    std::optional<bool> modoSignificancias_; // the mode whose significance settings are loaded
    bool escolhendo_ = false;
    struct TAjusteEscolhido {
        std::array<TTermo, MaximoTermos> Termos{};
        std::vector<int> Saneadas; // rows
    };
    std::optional<TAjusteEscolhido> ajusteEscolhido_;
};

} // namespace zelto
