#include "search/ConfiguracaoPesquisa.h"

#include "regression/Transformacoes.h"

#include <algorithm>
#include <cmath>

namespace zelto {

namespace {

constexpr std::uint32_t kTodosCodigos = kMascaraCompleta;

// What confirmation stores for one page's variable.
std::uint32_t MascaraConfirmada(std::uint32_t m, bool dicotomica) {
    m &= kTodosCodigos;
    if (dicotomica) m &= kMascaraDicotomica;
    return m == 0 ? kMascaraProporcional : m;
}

} // namespace

const char *NomeTipoPesquisa(TipoPesquisa t) {
    switch (t) {
    case tpManual:
        return "&Manual";
    case tpPadrao:
        return "&Padrão";
    case tpCompleta:
        return "&Completa";
    case tpUsuario:
        return "&Usuário";
    case tpDirigida:
        return "&Dirigida";
    }
    return "";
}

const char *NomeCriterioPesquisa(CriterioPesquisa c) {
    switch (c) {
    case cpCorrelacao:
        return "Correlação";
    case cpSignificanciaModelo:
        return "Significância do Modelo";
    case cpRegressores:
        return "Sig. dos Regressores";
    case cpR2Ajustado:
        return "r² ajustado";
    case cpGrau:
        return "grau de fundamentação, depois R";
    }
    return "";
}

std::uint8_t PrimeiroCodigo(std::uint32_t mascara) {
    for (std::uint8_t k = 0; k <= MaiorCodigoTransformacao; ++k)
        if ((mascara >> k) & 1u) return k;
    return 0;
}

bool ProximoCodigo(std::uint32_t mascara, std::uint8_t &atual) {
    for (int k = atual + 1; k <= MaiorCodigoTransformacao; ++k)
        if ((mascara >> k) & 1u) {
            atual = static_cast<std::uint8_t>(k);
            return true;
        }
    return false;
}

int NumeroCodigos(std::uint32_t mascara) {
    int n = 0;
    for (int k = 0; k <= MaiorCodigoTransformacao; ++k)
        n += static_cast<int>((mascara >> k) & 1u);
    return n;
}

// ---- Masks of a search ---------------------------------------------------------------

TMascarasVigentes TConfiguracaoPesquisa::Vigentes(const TGridzelto &g, bool modoInferencial) const {
    TMascarasVigentes m;
    m.V =
        std::clamp(std::min<int>(g.ColunasUsadas(), g.ColCount() - 1), 0, kMaximoVariaveisPesquisa);
    m.D = g.ColunaDependente();
    if (m.D > m.V) m.D = 0;
    m.Mascaras.fill(kMascaraNaoUsada);
    m.Mascaras[0] = 0;
    m.PesquisaRapida = PesquisaRapida;

    if (!modoInferencial) {
        // The single model: the dependent variable, proportional, alone.
        m.Descritiva = true;
        m.TamanhoBloco = 1;
        m.Criterio = cpCorrelacao;
        if (m.D != 0) m.Mascaras[m.D] = kMascaraProporcional;
        return m;
    }

    m.Criterio = Criterio == cpGrau ? cpCorrelacao : Criterio;
    m.PorGrau = Criterio == cpGrau;
    m.TamanhoBloco = PesquisaRapida ? std::max<std::uint16_t>(TamanhoBloco, 1)
                                    : static_cast<std::uint16_t>(std::max(m.V, 1));
    for (int c = 1; c <= m.V; ++c) {
        const TVariavel *v = g.Variavel(c);
        if (!v || !v->Usada) continue; // left out: {0}
        std::uint32_t mascara = Mascaras[c] & kTodosCodigos;
        if (v->Tipo == tvDicotomica) mascara &= kMascaraDicotomica;
        if (mascara == 0) mascara = kMascaraProporcional;
        if (c == m.D) mascara &= ~kMascaraNaoUsada; // the dependent variable is always in the model
        m.Mascaras[c] = mascara;
    }
    return m;
}

// ---- The dialog --------------------------------------------------------------------------

int TSelecaoPesquisa::Abre(const TConfiguracaoPesquisa &cfg, const TGridzelto &g,
                           const std::function<void(const std::string &)> &aviso) {
    paginas_.clear();
    int n =
        std::clamp(std::min<int>(g.ColunasUsadas(), g.ColCount() - 1), 0, kMaximoVariaveisPesquisa);
    for (int c = 1; c <= n; ++c) {
        const TVariavel *v = g.Variavel(c);
        if (!v || !v->Usada) continue;
        TFormaPesqPagina p;
        p.Coluna = c;
        p.Caption = g.Celula(c, 0);
        p.Dicotomica = v->Tipo == tvDicotomica;
        p.Mascara = cfg.Mascara(c) & kTodosCodigos;
        if (p.Dicotomica) p.Mascara &= kMascaraDicotomica;
        paginas_.push_back(std::move(p));
    }
    if (paginas_.empty()) {
        if (aviso) aviso(kMensagemSemModelos);
        return kResultadoCancela;
    }
    atual_ = 0;
    tipo_ = cfg.Tipo <= tpDirigida ? cfg.Tipo : tpPadrao;
    criterio_ = cfg.Criterio <= cpGrau ? cfg.Criterio : cpCorrelacao;
    rapida_ = cfg.PesquisaRapida && tipo_ != tpManual;
    deslizador_ =
        rapida_ ? std::clamp<int>(cfg.TamanhoBloco, 1, DeslizadorMaximo()) : DeslizadorMaximo();
    switch (tipo_) {
    case tpPadrao:
        comum_ = kMascaraPadrao;
        break;
    case tpCompleta:
        comum_ = kMascaraCompleta;
        break;
    default:
        comum_ = cfg.MascaraComum & kTodosCodigos;
        break;
    }
    MostraPagina();
    return 0;
}

void TSelecaoPesquisa::MostraPagina() {
    caixas_ = AbasVisiveis() ? paginas_[atual_].Mascara : comum_;
}

void TSelecaoPesquisa::Recolhe() {
    if (paginas_.empty()) return;
    if (AbasVisiveis())
        paginas_[atual_].Mascara = caixas_;
    else
        comum_ = caixas_;
}

bool TSelecaoPesquisa::CaixaHabilitada(std::uint8_t codigo) const {
    if (codigo > MaiorCodigoTransformacao) return false;
    if (codigo <= 1 || !AbasVisiveis() || paginas_.empty()) return true;
    return !paginas_[atual_].Dicotomica;
}

int TSelecaoPesquisa::DeslizadorPercentual() const {
    int maximo = DeslizadorMaximo();
    if (maximo <= 0) return 0;
    return static_cast<int>(std::lround(100.0 * deslizador_ / maximo));
}

void TSelecaoPesquisa::PressionaTipo(TipoPesquisa t) {
    if (paginas_.empty() || t > tpDirigida) return;
    Recolhe();
    tipo_ = t;
    switch (t) {
    case tpManual:
        for (TFormaPesqPagina &p : paginas_)
            p.Mascara = kMascaraProporcional;
        rapida_ = false;
        break;
    case tpPadrao:
        atual_ = 0;
        comum_ = kMascaraPadrao;
        break;
    case tpCompleta:
        atual_ = 0;
        comum_ = kMascaraCompleta;
        break;
    case tpUsuario:
        // The boxes keep what they show, which becomes the common mask.
        atual_ = 0;
        comum_ = caixas_;
        break;
    case tpDirigida:
        break;
    }
    MostraPagina();
}

void TSelecaoPesquisa::MarcaCaixa(std::uint8_t codigo, bool marcada) {
    if (paginas_.empty() || !CaixaHabilitada(codigo)) return;
    std::uint32_t bit = 1u << codigo;
    if (CaixasExclusivas() && marcada)
        caixas_ = bit;
    else if (marcada)
        caixas_ |= bit;
    else
        caixas_ &= ~bit;
    if (tipo_ == tpPadrao || tipo_ == tpCompleta) tipo_ = tpUsuario;
    Recolhe();
}

void TSelecaoPesquisa::MudaPagina(int i) {
    if (!AbasVisiveis() || i < 0 || i >= static_cast<int>(paginas_.size())) return;
    Recolhe();
    atual_ = i;
    MostraPagina();
}

void TSelecaoPesquisa::DefineDeslizador(int posicao) {
    deslizador_ = std::clamp(posicao, 1, std::max(DeslizadorMaximo(), 1));
}

void TSelecaoPesquisa::Confirma(TConfiguracaoPesquisa &cfg) const {
    if (paginas_.empty()) return;
    // The boxes hold the latest state of the page or of the common mask.
    std::vector<TFormaPesqPagina> paginas = paginas_;
    std::uint32_t comum = comum_;
    bool proprias = AbasVisiveis();
    if (proprias)
        paginas[atual_].Mascara = caixas_;
    else
        comum = caixas_;

    // Variables without a page are left out; under a common mask they take it,
    // so that a variable used later gets what "applied to every variable" promised.
    std::uint32_t fora = proprias ? kMascaraNaoUsada : MascaraConfirmada(comum, false);
    cfg.Mascaras.fill(fora);
    cfg.Mascaras[0] = 0;
    for (const TFormaPesqPagina &p : paginas)
        cfg.Mascaras[p.Coluna] = MascaraConfirmada(proprias ? p.Mascara : comum, p.Dicotomica);

    cfg.PesquisaRapida = rapida_ && RapidaOferecida();
    cfg.TamanhoBloco =
        static_cast<std::uint16_t>(cfg.PesquisaRapida ? deslizador_ : DeslizadorMaximo());
    cfg.Tipo = tipo_;
    cfg.Criterio = criterio_;
    if (!proprias) cfg.MascaraComum = comum & kTodosCodigos;
}

} // namespace zelto
