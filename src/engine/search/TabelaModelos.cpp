// TPesquisa: the best-models table, the symbolic equation of a slot and the choice of a model.
#include "search/Pesquisa.h"

#include "common/Numeros.h"
#include "regression/Transformacoes.h"
#include "significance/Significancias.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zelto {

namespace {

bool Calculavel(long double x) {
    return std::isfinite(x) && std::fabs(x) < Infinito;
}

const char *TextoAutocorrelacao(int r) {
    switch (r) {
    case 1:
        return "Positiva";
    case -1:
        return "Negativa";
    case 0:
        return "Não há";
    default:
        return "Inconclusivo";
    }
}

std::string Regressores(const TModeloPesquisado &m) {
    return std::to_string(m.Significativos) + " em " + std::to_string(m.Regressores);
}

} // namespace

int TPesquisa::SlotDaLinha(int linha) const {
    return linha >= 1 && linha < static_cast<int>(slots_.size())
               ? slots_[static_cast<std::size_t>(linha)]
               : 0;
}

std::string TPesquisa::EquacaoSimbolica(
    int slot, const std::function<std::string(const std::string &)> &texto) const {
    if (slot < 1 || slot > kSlotsMelhores) return {};
    const TModeloPesquisado &m = lista_.Slot(slot);
    const int D = this->D();
    if (D < 1 || m.Codigos[static_cast<std::size_t>(D)] == 0) return {};
    auto nome = [&](int c) {
        return "[" + (texto ? texto(grid_.Celula(c, 0)) : grid_.Celula(c, 0)) + "]";
    };
    std::string e = NomeTransformacao(nome(D), m.Codigos[static_cast<std::size_t>(D)]);
    e += m.Sinais[0] ? " = b0" : " = -b0";
    std::size_t j = 0;
    for (int c = 1; c <= V(); ++c) {
        const std::uint8_t codigo = m.Codigos[static_cast<std::size_t>(c)];
        if (c == D || codigo == 0) continue;
        ++j;
        e += " ";
        e += j < m.Sinais.size() && m.Sinais[j] ? "+" : "-";
        e += " b" + std::to_string(j) + "x" + NomeTransformacao(nome(c), codigo);
    }
    return e;
}

// Fits the slot's model for good and writes columns 4 to 11; false when the row must go.
bool TPesquisa::DetalhaLinha(TModeloPesquisado &modelo, TLinhaTabela &linha, TProgresso *progresso,
                             double &passo) {
    const TSignificancias &sig = Significancias;
    auto avanca = [&] {
        if (progresso) progresso->Avanca(++passo);
    };
    DefineModelo(modelo.Codigos);
    LimpaSaneadas();
    sistema_.CarregaDados();
    const bool ajustado = sistema_.MontaSistema() && sistema_.Resolve();
    if (ajustado) {
        sistema_.CalculaEstatisticas();
        sistema_.Inverte();
        sistema_.CalculaResiduos();
        sistema_.OrdenaResiduos();
    }
    avanca();
    if (!ajustado || sistema_.n() <= sistema_.m()) {
        passo += 3;
        if (progresso) progresso->Avanca(passo);
        return false;
    }
    if (enumeracao_.Mascaras().Criterio != cpRegressores) {
        modelo.Significativos = static_cast<std::uint16_t>(
            sistema_.RegressoresSignificativos(sig.TesteRegressoresBicaudal));
        modelo.Regressores = static_cast<std::uint16_t>(sistema_.m() - 1);
        modelo.SignificativosCalculados = true;
        linha[4] = Regressores(modelo);
    }
    linha[5] = std::to_string(sistema_.NumeroOutliers(sig.Saneamento, sig.ParametroSaneamento));
    avanca();
    linha[6] = sistema_.TesteNormalidade(sig.KolmogorovSmirnov) ? "Sim" : "Não";
    linha[7] = TextoAutocorrelacao(sistema_.TesteAutocorrelacao(sig.DurbinWatson));
    avanca();
    if (!sistema_.ObjetoInformado()) {
        for (int c = 8; c <= 11; ++c)
            linha[static_cast<std::size_t>(c)] = "------";
    } else {
        const int D = this->D();
        auto texto = [&](const std::optional<long double> &x) {
            return x && Calculavel(*x) ? grid_.TextoCelulaDeValor(D, *x) : std::string("???");
        };
        const TPonto ponto = sistema_.PontoObjeto();
        const std::optional<long double> estimativa = sistema_.EstimativaObjeto();
        const std::optional<TIntervalo> intervalo =
            sistema_.IntervaloMedia(ponto, sig.ConfiancaEstimativa);
        std::optional<long double> inferior, superior, precisao;
        if (intervalo) {
            inferior = intervalo->Inferior;
            superior = intervalo->Superior;
            const long double p = (intervalo->Superior - intervalo->Inferior) /
                                  ((intervalo->Superior + intervalo->Inferior) / 2) * 100;
            if (Calculavel(intervalo->Inferior) && Calculavel(intervalo->Superior) && Calculavel(p))
                precisao = p;
        }
        linha[8] = texto(estimativa);
        linha[9] = texto(inferior);
        linha[10] = texto(superior);
        linha[11] = precisao ? FormatoFixo(*precisao, 2) + " %" : "???";
    }
    avanca();
    return true;
}

void TPesquisa::MontaTabela(bool detalhada, TProgresso *progresso) {
    if (tabelaMontada_ && (tabelaDetalhada_ || !detalhada)) return;
    tabela_.assign(1, kTitulosTabela);
    slots_.assign(1, 0);
    const int contador = lista_.Contador();
    const CriterioPesquisa criterio = enumeracao_.Mascaras().Criterio;
    if (progresso)
        progresso->Inicia(kTituloDetalhando, 0, (detalhada ? 4.0 : 1.0) * contador, false);
    double passo = 0;
    for (int s = 1; s <= contador && s <= kSlotsMelhores; ++s) {
        TModeloPesquisado &modelo = lista_.Slot(s);
        if (!modelo.Ocupado) continue;
        TLinhaTabela linha;
        linha[1] = FormatoFixo(modelo.R, 4);
        linha[2] = FormatoFixo(modelo.R2Ajustado, 4);
        linha[3] = modelo.F >= Infinito ? "Infinito" : FormatoFixo(modelo.F, 4);
        if (criterio == cpRegressores) linha[4] = Regressores(modelo);
        if (detalhada) {
            if (!DetalhaLinha(modelo, linha, progresso, passo)) continue;
        } else if (progresso) {
            progresso->Avanca(++passo);
        }
        linha[0] = std::to_string(tabela_.size());
        tabela_.push_back(std::move(linha));
        slots_.push_back(s);
    }
    if (progresso) progresso->Termina();
    tabelaMontada_ = true;
    tabelaDetalhada_ = detalhada;
    OrdenaTabelaPorGrau();
}

void TPesquisa::DescartaTabela() {
    tabela_.clear();
    slots_.clear();
    tabelaMontada_ = tabelaDetalhada_ = false;
    graus_.reset(); // criterion 4 is judged at the subject
}

void TPesquisa::Gradua(const TDeclaracoesEnquadramento &declaracoes, TProgresso *progresso) {
    if (graus_ && declaracoesGraus_.Caracterizacao == declaracoes.Caracterizacao &&
        declaracoesGraus_.Identificacao == declaracoes.Identificacao)
        return;
    if (progresso) progresso->Inicia(kTituloEnquadrando, 0, Modelos(), false);
    graus_ = GrausDaLista(*this, sistema_, declaracoes, PorGrau(), true, progresso);
    declaracoesGraus_ = declaracoes;
    if (progresso) progresso->Termina();
    OrdenaTabelaPorGrau();
}

// Under "grau de fundamentação, depois R" the rows follow the order of the graded slots
// (GrausDaLista's), numbered again from 1.
void TPesquisa::OrdenaTabelaPorGrau() {
    if (!graus_ || !PorGrau() || tabela_.size() <= 2) return;
    std::vector<int> posicao(static_cast<std::size_t>(kSlotsMelhores) + 1, kSlotsMelhores + 1);
    for (std::size_t i = 0; i < graus_->Slots.size(); ++i)
        if (graus_->Slots[i] >= 1 && graus_->Slots[i] <= kSlotsMelhores)
            posicao[static_cast<std::size_t>(graus_->Slots[i])] = static_cast<int>(i);
    std::vector<std::size_t> linhas(tabela_.size() - 1);
    for (std::size_t r = 0; r < linhas.size(); ++r)
        linhas[r] = r + 1;
    std::stable_sort(linhas.begin(), linhas.end(), [&](std::size_t a, std::size_t b) {
        return posicao[static_cast<std::size_t>(slots_[a])] <
               posicao[static_cast<std::size_t>(slots_[b])];
    });
    std::vector<TLinhaTabela> tabela(1, tabela_[0]);
    std::vector<int> slots(1, 0);
    for (std::size_t r : linhas) {
        tabela.push_back(std::move(tabela_[r]));
        tabela.back()[0] = std::to_string(tabela.size() - 1);
        slots.push_back(slots_[r]);
    }
    tabela_ = std::move(tabela);
    slots_ = std::move(slots);
}

bool TPesquisa::EscolheModelo(bool saneia, int criterio, long double parametro,
                              const TJanelaEscolha &janela) {
    const int slot = EscolheSlot(janela);
    return slot > 0 && AjustaSlot(slot, saneia, criterio, parametro, janela.Progresso);
}

int TPesquisa::EscolheSlot(const TJanelaEscolha &janela) {
    if (grid_.ColunasUsadas() == 0 || grid_.LinhasUsadas() == 0 || lista_.Modelos() == 0) return 0;
    if (enumeracao_.Mascaras().Descritiva) {
        UltimaLinha = 1;
        return 1;
    }
    if (UltimaLinha == 0) UltimaLinha = 1;
    MontaTabela(janela.Detalhada, janela.Progresso);
    if (tabela_.size() <= 1) {
        Avisa(kMensagemSemModelosValidos);
        return 0;
    }
    const int linhas = static_cast<int>(tabela_.size()) - 1;
    const int inicial = std::min(UltimaLinha, linhas);
    const int escolhida = janela.Escolhe ? janela.Escolhe(*this, inicial) : 0;
    if (escolhida < 1 || escolhida > linhas) return 0;
    const int slot = SlotDaLinha(escolhida);
    if (EquacaoSimbolica(slot).empty()) return 0;
    UltimaLinha = escolhida;
    return slot;
}

bool TPesquisa::AjustaSlot(int slot, bool saneia, int criterio, long double parametro,
                           TProgresso *progresso) {
    if (slot < 1 || slot > lista_.Modelos()) return false;
    DefineModelo(lista_.Slot(slot).Codigos);
    if (saneia) {
        if (!sistema_.Saneia(criterio, parametro, progresso)) return false;
    } else {
        LimpaSaneadas();
        sistema_.CarregaDados();
    }
    if (!sistema_.MontaSistema() || !sistema_.Resolve()) return false;
    sistema_.CalculaEstatisticas();
    return true;
}

} // namespace zelto
