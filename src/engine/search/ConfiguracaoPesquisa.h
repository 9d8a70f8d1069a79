// What the model search may try, and the rules of the dialog that edits it.
//
// `TConfiguracaoPesquisa` is the search configuration the model search owns
// for the whole run: the search type, rapid search and its block size, the
// ranking criterion, and a 32-bit transformation mask per worksheet column
// (bit k allows transformation code k, bit 0 lets the variable be left out).
// It is kept in memory only; opening another worksheet does not change it.
//
// The configuration the user chose is never overwritten by the worksheet's
// state. Before each search (and before the dialog opens) `Vigentes` derives
// from it the masks the search actually uses: a variable that is not used is
// left out, a dichotomous variable takes at most codes 0 and 1, the dependent
// variable never takes code 0, and the descriptive mode searches the single
// model in which the dependent variable is proportional. Deriving instead of
// overwriting keeps the user's choice intact when a variable is used again or
// the program comes back from the descriptive mode.
//
// `TSelecaoPesquisa` holds everything the configuration dialog decides: one
// page per used variable with its mask, the fifteen check boxes, the five type
// buttons, the ranking choice, rapid search and its slider, and what
// confirming does. The dialog only displays it and forwards the user's clicks.
// The check boxes show the common mask while the type applies one mask to every
// variable ("&Padrão", "&Completa", "&Usuário"), and the current page's mask
// while each variable has its own ("&Manual", "&Dirigida").
#pragma once

#include "worksheet/Gridzelto.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zelto {

// Most variables a model can hold; masks are indexed by worksheet column 1..this.
inline constexpr int kMaximoVariaveisPesquisa = 200;

enum TipoPesquisa : std::uint8_t {
    tpManual = 0,
    tpPadrao = 1,
    tpCompleta = 2,
    tpUsuario = 3,
    tpDirigida = 4,
};

enum CriterioPesquisa : std::uint8_t {
    cpCorrelacao = 0,          // R
    cpSignificanciaModelo = 1, // F
    cpRegressores = 2,         // number of significant regressors
    cpR2Ajustado = 3,          // adjusted R²
    // "grau de fundamentação, depois R": the search runs by R, then the models it listed are
    // graded and shown by grade (III first), by R within a grade.
    cpGrau = 4,
};

// Masks: bit k allows code k.
inline constexpr std::uint32_t kMascaraNaoUsada = 1u << 0;     // {0}
inline constexpr std::uint32_t kMascaraProporcional = 1u << 1; // {1}
inline constexpr std::uint32_t kMascaraDicotomica = 0x3u;      // {0, 1}
inline constexpr std::uint32_t kMascaraPadrao = 0x107u;        // {0, 1, 2, 8}
inline constexpr std::uint32_t kMascaraCompleta = 0x7FFFu;     // {0..14}

// Captions of the type buttons (by TipoPesquisa) and of the ranking choice (by
// CriterioPesquisa).
const char *NomeTipoPesquisa(TipoPesquisa t);
const char *NomeCriterioPesquisa(CriterioPesquisa c);

// The dialog's own texts.
inline constexpr const char *kTituloSelecaoPesquisa = "Configurar Pesquisa de Modelos";
inline constexpr const char *kMensagemSemModelos =
    "Não existem modelos a pesquisar.\r\n Verifique se existem variáveis ativas.";
inline constexpr const char *kNotaMascaraComum =
    "As funções selecionadas serão aplicadas a todas as variáveis.";
inline constexpr const char *kDicaSignificancias =
    "Seleciona os níveis de significância e confiança para os testes desta pesquisa.";
inline constexpr const char *kRotuloOrdenar = "&Ordenar por :";
inline constexpr const char *kRotuloPesquisaRapida = "Pesquisa &Rápida";
inline constexpr const char *kBotaoConfirma = "Confirma configuração";
inline constexpr const char *kBotaoExecuta = "&Executa pesquisa";
inline constexpr const char *kBotaoCancela = "Cancelar";

// Results of the dialog.
inline constexpr int kResultadoConfirma = 1;
inline constexpr int kResultadoCancela = 2;
inline constexpr int kResultadoExecuta = 6;

// Lowest code allowed by a mask (0..14); 0 when the mask allows none.
std::uint8_t PrimeiroCodigo(std::uint32_t mascara);
// Next allowed code above `atual`; false when there is none.
bool ProximoCodigo(std::uint32_t mascara, std::uint8_t &atual);
// Number of codes 0..14 a mask allows.
int NumeroCodigos(std::uint32_t mascara);

// The masks and settings a search runs with, derived from the configuration
// and the worksheet at the start of the search.
struct TMascarasVigentes {
    // The descriptive mode's single model: blocks are [D, D], one model is
    // examined and listed even with R = 0, and an interruption is forgotten.
    bool Descritiva = false;
    int V = 0; // variables: the worksheet's used columns, at most 200
    int D = 0; // dependent column; 0 when there is none
    bool PesquisaRapida = false;
    // L, at least 1: V without rapid search, 1 in the descriptive mode.
    std::uint16_t TamanhoBloco = 1;
    // The criterion the search ranks by: cpGrau searches by R (cpCorrelacao) and sets PorGrau.
    CriterioPesquisa Criterio = cpCorrelacao;
    bool PorGrau = false; // the listed models are shown by grade, then by R
    // By column 1..200 ([0] unused). Columns without a variable, unused
    // variables and columns beyond V hold {0}; a dichotomous variable holds at
    // most {0, 1}; the dependent column's mask has bit 0 removed already.
    std::array<std::uint32_t, kMaximoVariaveisPesquisa + 1> Mascaras{};

    std::uint32_t Mascara(int c) const {
        return c >= 1 && c <= kMaximoVariaveisPesquisa ? Mascaras[c] : 0;
    }
    std::uint8_t PrimeiroCodigoPermitido(int c) const { return PrimeiroCodigo(Mascara(c)); }
    bool ProximoCodigoPermitido(int c, std::uint8_t &atual) const {
        return ProximoCodigo(Mascara(c), atual);
    }
    int NumeroCodigosPermitidos(int c) const { return NumeroCodigos(Mascara(c)); }
    // A variable whose only choice is to be left out costs nothing in a block.
    bool SoNaoUsada(int c) const { return Mascara(c) == kMascaraNaoUsada; }
};

struct TConfiguracaoPesquisa {
    TipoPesquisa Tipo = tpPadrao;
    bool PesquisaRapida = false;
    std::uint16_t TamanhoBloco = 1; // the slider's position when rapid search was confirmed
    CriterioPesquisa Criterio = cpCorrelacao;
    // The mask the types "&Padrão", "&Completa" and "&Usuário" apply to every variable.
    std::uint32_t MascaraComum = kMascaraPadrao;
    // By column 1..200 ([0] unused), as the user confirmed them.
    std::array<std::uint32_t, kMaximoVariaveisPesquisa + 1> Mascaras;

    TConfiguracaoPesquisa() { Mascaras.fill(kMascaraPadrao); }

    std::uint32_t Mascara(int c) const {
        return c >= 1 && c <= kMaximoVariaveisPesquisa ? Mascaras[c] : 0;
    }

    // The masks a search on this worksheet uses (see the overview).
    TMascarasVigentes Vigentes(const TGridzelto &g, bool modoInferencial) const;

    bool operator==(const TConfiguracaoPesquisa &) const = default;
};

// One page of the dialog: a used variable.
struct TFormaPesqPagina {
    int Coluna = 0;
    std::string Caption; // the variable's name
    std::uint32_t Mascara = 0;
    bool Dicotomica = false;
};

class TSelecaoPesquisa {
  public:
    // Opening: one page per used variable in column order, with the mask it
    // takes on that worksheet; the first page selected; the stored type,
    // ranking and rapid search shown. Returns kResultadoCancela after telling
    // `aviso` kMensagemSemModelos when there is no used variable (the dialog
    // is then not shown), else 0.
    int Abre(const TConfiguracaoPesquisa &cfg, const TGridzelto &g,
             const std::function<void(const std::string &)> &aviso);

    // ---- What the dialog shows ---------------------------------------------------
    const std::vector<TFormaPesqPagina> &Paginas() const { return paginas_; }
    int PaginaAtual() const { return atual_; }
    TipoPesquisa Tipo() const { return tipo_; }
    CriterioPesquisa Criterio() const { return criterio_; }
    bool Caixa(std::uint8_t codigo) const { return codigo <= 14 && ((caixas_ >> codigo) & 1u); }
    std::uint32_t Caixas() const { return caixas_; }
    // The tab strip shows for "&Manual" and "&Dirigida"; otherwise kNotaMascaraComum stands in its
    // place.
    bool AbasVisiveis() const { return tipo_ == tpManual || tipo_ == tpDirigida; }
    // "&Manual": checking one box unchecks all others.
    bool CaixasExclusivas() const { return tipo_ == tpManual; }
    // Codes 2..14 are disabled on the page of a dichotomous variable.
    bool CaixaHabilitada(std::uint8_t codigo) const;
    // Rapid search is not offered under "&Manual".
    bool RapidaOferecida() const { return tipo_ != tpManual; }
    bool PesquisaRapida() const { return rapida_; }
    int Deslizador() const { return deslizador_; }
    int DeslizadorMaximo() const { return static_cast<int>(paginas_.size()); }
    // The slider's position in percent of its range 1..pages.
    int DeslizadorPercentual() const;

    // ---- The user's actions ------------------------------------------------------------
    void PressionaTipo(TipoPesquisa t);
    // A click on a check box. Under "&Padrão" or "&Completa" it switches the
    // type to "&Usuário". Disabled boxes ignore clicks.
    void MarcaCaixa(std::uint8_t codigo, bool marcada);
    // Selecting another page stores the boxes into the page being left.
    void MudaPagina(int i);
    void DefineCriterio(CriterioPesquisa c) { criterio_ = c; }
    void DefinePesquisaRapida(bool r) { rapida_ = r; }
    void DefineDeslizador(int posicao);

    // "Confirma configuração" / "&Executa pesquisa": stores the dialog's choice
    // into `cfg`. The caller (the search) must then start its next search afresh.
    void Confirma(TConfiguracaoPesquisa &cfg) const;

  private:
    // The boxes' state back into the page or the common mask they show.
    void Recolhe();
    void MostraPagina();

    std::vector<TFormaPesqPagina> paginas_;
    int atual_ = 0;
    TipoPesquisa tipo_ = tpPadrao;
    CriterioPesquisa criterio_ = cpCorrelacao;
    bool rapida_ = false;
    int deslizador_ = 1;
    std::uint32_t caixas_ = 0;
    std::uint32_t comum_ = kMascaraPadrao;
};

} // namespace zelto
