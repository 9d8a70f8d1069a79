// The main window's model commands: the search configuration, the search on another thread with
// its progress window, the choice of a model in the best-models window, the property under
// evaluation, the significance settings, and the report built after a choice.
#include "gui/mainwindow/FZelto.h"

#include "gui/dialogs/FMostraMelhoresModelos.h"
#include "gui/dialogs/FProgressao.h"
#include "gui/dialogs/FProgressoPesquisa.h"
#include "gui/dialogs/FSelecionaPesquisa.h"
#include "gui/dialogs/FSignificancias.h"
#include "gui/dialogs/FVariaveisIndependentes.h"
#include "gui/reportpage/DocumentoRelatorio.h"
#include "gui/reportpage/PaginaRelatorio.h"
#include "gui/worksheet/ModeloPlanilha.h"
#include "search/ObjetoAvaliacao.h"

#include <QAction>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>

namespace zelto {

namespace {

constexpr const char *kFalhaAjuste =
    "O modelo escolhido não pôde ser ajustado às amostras ativas. Escolha outro modelo ou "
    "verifique os dados.";

} // namespace

// ---- Search ---------------------------------------------------------------------------------

void TFZELTO::ConfiguraPesquisa() {
    Comando();
    if (!grid_.Modo.Inferencial || !doc_.TemDados()) return;
    const int r = pesquisa_->Configura(DialogoPesquisa);
    if (r == kResultadoExecuta)
        PesquisaModelos();
    else
        Atualiza();
}

bool TFZELTO::PesquisaModelos() {
    Comando();
    if (!doc_.TemDados()) return false;
    AparaLinhas();
    if (!arquivos_.VerificaCelulasVazias()) {
        Atualiza();
        return false;
    }
    bool rodou = false;
    // The search only reads the worksheet: it stays on view, read-only, while the progress
    // window is up; the menus and the pages' tabs take no input until the search ends (the
    // report page draws from the regression system the search is using).
    menuBar()->setEnabled(false);
    paginas_->tabBar()->setEnabled(false);
    if (pagina_) pagina_->setEnabled(false);
    modelo_->DefineSomenteLeitura(true);
    ocupado_ = true;
    auto reabilita = [this] {
        ocupado_ = false;
        modelo_->DefineSomenteLeitura(false);
        menuBar()->setEnabled(true);
        paginas_->tabBar()->setEnabled(true);
        if (pagina_) pagina_->setEnabled(true);
    };
    pesquisa_->Significancias = significancias_;
    try {
        ExecutaPesquisa(this, [&](TProgressoPesquisa &p) { rodou = pesquisa_->Pesquisa(&p); });
    } catch (...) {
        reabilita();
        throw;
    }
    reabilita();
    Atualiza();
    // The search fitted models on the regression system: the page's fit comes back unless a
    // new one is chosen.
    if (!(rodou && pesquisa_->ResultadosValidos && SelecionaModelo())) RestauraAjuste();
    Atualiza();
    return rodou;
}

// ---- Choice of a model ----------------------------------------------------------------------

bool TFZELTO::AbreObjeto() {
    if (!DialogoObjeto) return false;
    const auto [confirmado, alterado] = DialogoObjeto();
    // The estimates of the best-models table were made at the former values.
    if (alterado) {
        pesquisa_->DescartaTabela();
        MarcaRelatorioDesatualizado();
    }
    return confirmado;
}

void TFZELTO::DefineObjeto() {
    Comando();
    AbreObjeto();
    Atualiza();
}

bool TFZELTO::SelecionaModelo() {
    Comando();
    if (!doc_.TemDados() || pesquisa_->Modelos() == 0 || !pesquisa_->ResultadosValidos) return false;
    if (!ConfereObjeto(
            grid_, grid_.Modo.Inferencial, cfg_.PedirObjeto, [this] { return AbreObjeto(); }, Confirma))
        return false;

    // The table is built (and detailed, which fits every listed model again) and the listed
    // models graded ("Fund.", which fits each of them again) with progress, off this thread,
    // under the settings in force now; both are kept until the list, the worksheet or the
    // subject changes.
    pesquisa_->Significancias = significancias_;
    const bool detalhada = cfg_.DetalharModelos;
    if (grid_.Modo.Inferencial) {
        const TDeclaracoesEnquadramento declaracoes = documento_->Declaracoes();
        ExecutaLonga(
            [&](TProgresso &p) {
                pesquisa_->MontaTabela(detalhada, &p);
                pesquisa_->Gradua(declaracoes, &p);
            },
            false);
    }

    TPesquisa::TJanelaEscolha janela;
    janela.Detalhada = detalhada;
    int escolhida = 0;
    janela.Escolhe = [&](TPesquisa &p, int linha) {
        escolhida = EscolheLinhaModelo ? EscolheLinhaModelo(p, linha) : 0;
        return escolhida;
    };
    const TSignificancias &sig = significancias_;
    const bool saneia = cfg_.SaneamentoAutomatico;
    // The sanitation marks outliers; that is not a change of the worksheet.
    escolhendo_ = true;
    bool ok = false, interrompido = false;
    try {
        const int slot = pesquisa_->EscolheSlot(janela);
        // The fit (with the sanitation, which fits again for every outlier it removes) runs
        // with its progress window; interrupting it abandons the choice.
        if (slot > 0)
            interrompido = !ExecutaLonga(
                [&](TProgresso &p) {
                    ok = pesquisa_->AjustaSlot(slot, saneia, sig.Saneamento,
                                               sig.ParametroSaneamento, &p);
                },
                false);
    } catch (...) {
        escolhendo_ = false;
        throw;
    }
    escolhendo_ = false;
    if (ok && !interrompido) ok = sistema_->CompletaAjuste();
    if (!ok || interrompido) {
        // Chosen but not fitted: the valuer must know why nothing appears, and the reason.
        if (!interrompido && (escolhida > 0 || !grid_.Modo.Inferencial)) {
            const std::string motivo = sistema_->MotivoRecusa();
            Avisa(motivo.empty() ? kFalhaAjuste
                                 : std::string(kFalhaAjuste) + "\r\n\r\nMotivo: " + motivo + ".");
        }
        RestauraAjuste();
        Atualiza();
        return false;
    }
    GuardaAjuste();
    const bool construido = ConstroiRelatorio();
    Atualiza();
    return construido;
}

void TFZELTO::GuardaAjuste() {
    TAjusteEscolhido a;
    a.Termos = sistema_->Termos;
    for (int r = 1; r < grid_.RowCount(); ++r)
        if (const TAmostragem *m = grid_.Amostragem(r); m && m->Saneada) a.Saneadas.push_back(r);
    ajusteEscolhido_ = std::move(a);
}

void TFZELTO::RestauraAjuste() {
    // A stale page is never written again; a page that is current shows the data as they are.
    if (!ajusteEscolhido_ || !pagina_ || !relatorioAtual_) return;
    for (int r = 1; r < grid_.RowCount(); ++r)
        if (const TAmostragem *m = grid_.Amostragem(r); m && m->Saneada)
            grid_.AmostragemCriada(r).Saneada = false;
    for (int r : ajusteEscolhido_->Saneadas)
        if (r < grid_.RowCount()) grid_.AmostragemCriada(r).Saneada = true;
    sistema_->Termos = ajusteEscolhido_->Termos;
    ExecutaLonga(
        [this](TProgresso &) {
            sistema_->CarregaDados();
            if (!sistema_->MontaSistema() || !sistema_->Resolve()) return;
            sistema_->CalculaEstatisticas();
            sistema_->CompletaAjuste();
        },
        false);
}

// ---- Significance settings ----------------------------------------------------------------

bool TFZELTO::AbreSignificancias(PaginaSignificancias pagina) {
    if (!DialogoSignificancias) return false;
    bool saneamento = cfg_.SaneamentoAutomatico;
    const bool mudou = DialogoSignificancias(pagina, saneamento);
    if (saneamento != cfg_.SaneamentoAutomatico) {
        cfg_.SaneamentoAutomatico = saneamento;
        GravaChave("SnAu");
        AtualizaModo();
    }
    // The table's verdicts and intervals and the grades were made under the former settings:
    // a table on view is made again, with its grades, under the new ones (the report lists it).
    if (mudou && (pesquisa_->TabelaMontada() || pesquisa_->Graus())) {
        pesquisa_->DescartaTabela();
        pesquisa_->Significancias = significancias_;
        const bool detalhada = cfg_.DetalharModelos;
        const bool inferencial = grid_.Modo.Inferencial;
        const TDeclaracoesEnquadramento declaracoes = documento_->Declaracoes();
        ExecutaLonga(
            [&](TProgresso &p) {
                pesquisa_->MontaTabela(detalhada, &p);
                if (inferencial) pesquisa_->Gradua(declaracoes, &p);
            },
            false);
        // Building the table fits every listed model: the chosen one is fitted again.
        RestauraAjuste();
    }
    // The confidence of the intervals shown may have changed: the page is written again.
    if (mudou && pagina_) {
        pagina_->ItemMudou(0);
        AtualizaComandosRelatorio();
    }
    return mudou;
}

void TFZELTO::ConfiguraSignificancias(PaginaSignificancias pagina) {
    Comando();
    AbreSignificancias(pagina);
    Atualiza();
}

} // namespace zelto
