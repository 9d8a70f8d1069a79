#include "gui/mainwindow/ComandosModelo.h"

#include "files/ArquivoIni.h"
#include "files/ConfiguracaoGeral.h"
#include "gui/mainwindow/DocumentoPlanilha.h"
#include "regression/Enquadramento.h"
#include "worksheet/Gridzelto.h"

#include "gui/dialogs/FMostraMelhoresModelos.h"
#include "gui/dialogs/FProgressao.h"
#include "gui/dialogs/FProgressoPesquisa.h"
#include "gui/dialogs/FSelecionaPesquisa.h"
#include "gui/dialogs/FSignificancias.h"
#include "gui/dialogs/FVariaveisIndependentes.h"
#include "gui/worksheet/ModeloPlanilha.h"
#include "search/ObjetoAvaliacao.h"

#include <QMainWindow>
#include <QSize>

namespace zelto {

namespace {

constexpr const char *kFalhaAjuste =
    "O modelo escolhido não pôde ser ajustado às amostras ativas. Escolha outro modelo ou "
    "verifique os dados.";

} // namespace

TComandosModelo::TComandosModelo(TServicosJanela &janela, TRespostasUsuario &respostas,
                                 TDocumentoPlanilha &doc, TConfiguracaoGeral &cfg, TArquivoIni &ini)
    : janela_(janela), r_(respostas), doc_(doc), grid_(doc.Grid()), cfg_(cfg), ini_(ini) {
    sistema_ = std::make_unique<TSistema>(grid_);
    pesquisa_ = std::make_unique<TPesquisa>(grid_, *sistema_);
    pesquisa_->Aviso = [this](const std::string &t) {
        if (r_.Informa) r_.Informa(t);
    };
    // What the user answers, unless a test answers instead.
    DialogoPesquisa = [this](TSelecaoPesquisa &s) {
        return MostraSelecaoPesquisa(janela_.Janela(), s, significancias_,
                                     [this] { AbreSignificancias(pgSignificancias); });
    };
    EscolheLinhaModelo = [this](TPesquisa &p, int linha) {
        const TAparenciaPlanilha a = janela_.Modelo()->Aparencia();
        bool detalhada = cfg_.DetalharModelos;
        // "&Imprimir" prints the items that list the searched models.
        // The window opens at the size it was left at (settings "LgMM" and "AlMM").
        QSize tamanho(ini_.LeInteiro(kSecaoGeral, "LgMM", 0),
                      ini_.LeInteiro(kSecaoGeral, "AlMM", 0));
        const int r = MostraMelhoresModelos(
            janela_.Janela(), p, linha, detalhada, &a,
            [this] {
                if (ImprimeItens) ImprimeItens({"TIA_ModelosPesquisados"});
            },
            &tamanho);
        if (tamanho.width() != ini_.LeInteiro(kSecaoGeral, "LgMM", 0) ||
            tamanho.height() != ini_.LeInteiro(kSecaoGeral, "AlMM", 0)) {
            ini_.EscreveInteiro(kSecaoGeral, "LgMM", tamanho.width());
            ini_.EscreveInteiro(kSecaoGeral, "AlMM", tamanho.height());
        }
        if (detalhada != cfg_.DetalharModelos) {
            cfg_.DetalharModelos = detalhada;
            janela_.GravaChave("DetMod");
        }
        return r;
    };
    DialogoObjeto = [this]() {
        const TResultadoObjeto r =
            InformaObjeto(janela_.Janela(), grid_, ini_, grid_.Modo.Inferencial,
                          janela_.Modelo()->Aparencia().Fonte);
        return std::make_pair(r.Confirmado, r.Alterado);
    };
    DialogoSignificancias = [this](PaginaSignificancias pagina, bool &saneamento) {
        return MostraSignificancias(janela_.Janela(), significancias_, pagina,
                                    grid_.Modo.Inferencial, saneamento);
    };
}

TComandosModelo::~TComandosModelo() = default;

// ---- Search ---------------------------------------------------------------------------------

void TComandosModelo::ConfiguraPesquisa() {
    janela_.Comando();
    if (!grid_.Modo.Inferencial || !doc_.TemDados()) return;
    const int r = pesquisa_->Configura(DialogoPesquisa);
    if (r == kResultadoExecuta)
        PesquisaModelos();
    else
        janela_.Atualiza();
}

bool TComandosModelo::PesquisaModelos() {
    janela_.Comando();
    if (!doc_.TemDados()) return false;
    janela_.AparaLinhas();
    if (!janela_.VerificaCelulasVazias()) {
        janela_.Atualiza();
        return false;
    }
    bool rodou = false;
    // The search only reads the worksheet: it stays on view, read-only, while the progress
    // window is up; the menus and the pages' tabs take no input until the search ends (the
    // report page draws from the regression system the search is using).
    if (BloqueiaEntrada) BloqueiaEntrada(true);
    auto reabilita = [this] {
        if (BloqueiaEntrada) BloqueiaEntrada(false);
    };
    pesquisa_->Significancias = significancias_;
    try {
        ExecutaPesquisa(janela_.Janela(),
                        [&](TProgressoPesquisa &p) { rodou = pesquisa_->Pesquisa(&p); });
    } catch (...) {
        reabilita();
        throw;
    }
    reabilita();
    janela_.Atualiza();
    // The search fitted models on the regression system: the page's fit comes back unless a
    // new one is chosen.
    if (!(rodou && pesquisa_->ResultadosValidos && SelecionaModelo())) RestauraAjuste();
    janela_.Atualiza();
    return rodou;
}

// ---- Choice of a model ----------------------------------------------------------------------

bool TComandosModelo::AbreObjeto() {
    if (!DialogoObjeto) return false;
    const auto [confirmado, alterado] = DialogoObjeto();
    // The estimates of the best-models table were made at the former values.
    if (alterado) {
        pesquisa_->DescartaTabela();
        if (ObjetoMudou) ObjetoMudou();
    }
    return confirmado;
}

void TComandosModelo::DefineObjeto() {
    janela_.Comando();
    AbreObjeto();
    janela_.Atualiza();
}

bool TComandosModelo::SelecionaModelo() {
    janela_.Comando();
    if (!doc_.TemDados() || pesquisa_->Modelos() == 0 || !pesquisa_->ResultadosValidos)
        return false;
    if (!ConfereObjeto(
            grid_, grid_.Modo.Inferencial, cfg_.PedirObjeto, [this] { return AbreObjeto(); },
            r_.Confirma))
        return false;

    // The table is built (and detailed, which fits every listed model again) and the listed
    // models graded ("Fund.", which fits each of them again) with progress, off this thread,
    // under the settings in force now; both are kept until the list, the worksheet or the
    // subject changes.
    pesquisa_->Significancias = significancias_;
    const bool detalhada = cfg_.DetalharModelos;
    if (grid_.Modo.Inferencial) {
        const TDeclaracoesEnquadramento declaracoes = Declaracoes();
        janela_.ExecutaLonga(
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
            interrompido = !janela_.ExecutaLonga(
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
            r_.Avisa(motivo.empty()
                         ? kFalhaAjuste
                         : std::string(kFalhaAjuste) + "\r\n\r\nMotivo: " + motivo + ".");
        }
        RestauraAjuste();
        janela_.Atualiza();
        return false;
    }
    GuardaAjuste();
    const bool construido = ConstroiRelatorio && ConstroiRelatorio();
    janela_.Atualiza();
    return construido;
}

void TComandosModelo::GuardaAjuste() {
    TAjusteEscolhido a;
    a.Termos = sistema_->Termos;
    for (int r = 1; r < grid_.RowCount(); ++r)
        if (const TAmostragem *m = grid_.Amostragem(r); m && m->Saneada) a.Saneadas.push_back(r);
    ajusteEscolhido_ = std::move(a);
}

void TComandosModelo::RestauraAjuste() {
    // A stale page is never written again; a page that is current shows the data as they are.
    if (!ajusteEscolhido_ || !RelatorioAtual || !RelatorioAtual()) return;
    for (int r = 1; r < grid_.RowCount(); ++r)
        if (const TAmostragem *m = grid_.Amostragem(r); m && m->Saneada)
            grid_.AmostragemCriada(r).Saneada = false;
    for (int r : ajusteEscolhido_->Saneadas)
        if (r < grid_.RowCount()) grid_.AmostragemCriada(r).Saneada = true;
    sistema_->Termos = ajusteEscolhido_->Termos;
    janela_.ExecutaLonga(
        [this](TProgresso &) {
            sistema_->CarregaDados();
            if (!sistema_->MontaSistema() || !sistema_->Resolve()) return;
            sistema_->CalculaEstatisticas();
            sistema_->CompletaAjuste();
        },
        false);
}

// The kept model on the data as they are now; the samples' sanitation marks stay.
bool TComandosModelo::ReajustaEscolhido() {
    if (!ajusteEscolhido_) return false;
    sistema_->Termos = ajusteEscolhido_->Termos;
    bool ok = false;
    escolhendo_ = true;
    janela_.ExecutaLonga(
        [&](TProgresso &) {
            sistema_->CarregaDados();
            ok = sistema_->n() > 0 && sistema_->MontaSistema() && sistema_->Resolve();
            if (ok) {
                sistema_->CalculaEstatisticas();
                ok = sistema_->CompletaAjuste();
            }
        },
        false);
    escolhendo_ = false;
    return ok;
}

// ---- Significance settings ----------------------------------------------------------------

bool TComandosModelo::AbreSignificancias(PaginaSignificancias pagina) {
    if (!DialogoSignificancias) return false;
    bool saneamento = cfg_.SaneamentoAutomatico;
    const bool mudou = DialogoSignificancias(pagina, saneamento);
    if (saneamento != cfg_.SaneamentoAutomatico) {
        cfg_.SaneamentoAutomatico = saneamento;
        janela_.GravaChave("SnAu");
        janela_.AtualizaModo();
    }
    // The table's verdicts and intervals and the grades were made under the former settings:
    // a table on view is made again, with its grades, under the new ones (the report lists it).
    if (mudou && (pesquisa_->TabelaMontada() || pesquisa_->Graus())) {
        pesquisa_->DescartaTabela();
        pesquisa_->Significancias = significancias_;
        const bool detalhada = cfg_.DetalharModelos;
        const bool inferencial = grid_.Modo.Inferencial;
        const TDeclaracoesEnquadramento declaracoes = Declaracoes();
        janela_.ExecutaLonga(
            [&](TProgresso &p) {
                pesquisa_->MontaTabela(detalhada, &p);
                if (inferencial) pesquisa_->Gradua(declaracoes, &p);
            },
            false);
        // Building the table fits every listed model: the chosen one is fitted again.
        RestauraAjuste();
    }
    // The confidence of the intervals shown may have changed: the page is written again.
    if (mudou && SignificanciasMudaram) SignificanciasMudaram();
    return mudou;
}

void TComandosModelo::ConfiguraSignificancias(PaginaSignificancias pagina) {
    janela_.Comando();
    AbreSignificancias(pagina);
    janela_.Atualiza();
}

// Every statistical verdict of a mode uses its own significance settings, read when the mode
// is set (the dialog keeps the record and the working file in step afterwards).
void TComandosModelo::CarregaSignificancias(bool inferencial) {
    if (modoSignificancias_ == inferencial) return;
    modoSignificancias_ = inferencial;
    if (!CarregaSignificanciasModo(inferencial, significancias_))
        r_.Avisa("Não foi possível criar o arquivo de significâncias " +
                 ArquivoSignificancias(inferencial).string() + "; os valores padrão serão usados.");
}

} // namespace zelto
