#include "worksheet/EdicaoTabela.h"

#include "common/Numeros.h"
#include "common/Texto.h"

#include <algorithm>

namespace zelto {

namespace {

constexpr int kCasasValor = 3;

std::string TextoValorEditor(long double v) {
    return FormatoMilhar(v, kCasasValor);
}

Resposta Pede(const Pergunta &pergunta, const std::string &texto) {
    return pergunta ? pergunta(texto) : Resposta::Cancelar;
}

} // namespace

TEdicaoTabela::TEdicaoTabela(TTabelasVariaveis &tabelas, TipoTabela tipo)
    : tabelas_(&tabelas), tipo_(tipo), linhas_(tipo == TipoTabela::Dicotomica ? 2 : 1) {}

std::optional<TEdicaoTabela> TEdicaoTabela::Abre(TTabelasVariaveis &tabelas, TipoTabela tipo,
                                                 const std::string &nome) {
    TEdicaoTabela e(tabelas, tipo);
    if (tipo == TipoTabela::Dicotomica) {
        auto d = tabelas.CarregaDicotomica(nome);
        if (!d) return std::nullopt;
        e.linhas_[0].Rotulo = (*d)[0];
        e.linhas_[1].Rotulo = (*d)[1];
    } else {
        auto q = tabelas.CarregaQualitativa(nome);
        if (!q) return std::nullopt;
        if (!q->empty()) e.linhas_.clear();
        for (const TObjetoValor &item : *q)
            e.linhas_.push_back({item.Rotulo, TextoValorEditor(item.Valor), item.Valor});
    }
    e.original_ = TTabelasVariaveis::NomeNormalizado(nome);
    e.nome_ = *e.original_;
    return e;
}

std::string TEdicaoTabela::Titulo() const {
    return tipo_ == TipoTabela::Qualitativa ? "Tabela de variável qualitativa"
                                            : "Tabela de variável dicotômica";
}

std::vector<std::string> TEdicaoTabela::Colunas() const {
    if (tipo_ == TipoTabela::Qualitativa) return {"Característica", "Valor"};
    return {"Opções"};
}

void TEdicaoTabela::DefineRotulo(std::size_t i, const std::string &texto) {
    linhas_.at(i).Rotulo = texto;
}

void TEdicaoTabela::DefineValor(std::size_t i, const std::string &texto) {
    if (tipo_ == TipoTabela::Qualitativa) linhas_.at(i).Valor = texto;
}

bool TEdicaoTabela::ValorDaLinha(std::size_t i, long double &v) const {
    const TLinhaEdicao &l = linhas_[i];
    if (l.ValorExato && l.Valor == TextoValorEditor(*l.ValorExato)) {
        v = *l.ValorExato;
        return true;
    }
    return ConverteValorTabela(l.Valor, v);
}

bool TEdicaoTabela::Vazia(std::size_t i) const {
    return Apara(linhas_[i].Rotulo).empty() && Apara(linhas_[i].Valor).empty();
}

void TEdicaoTabela::SaiDaLinha(std::size_t i) {
    if (tipo_ != TipoTabela::Qualitativa || Vazia(i)) return;
    long double v = 0;
    if (!ValorDaLinha(i, v)) {
        // The nearest row above that has a value gives the next one.
        v = 1;
        for (std::size_t k = i; k-- > 0;) {
            long double anterior = 0;
            if (ValorDaLinha(k, anterior)) {
                v = anterior + 1;
                break;
            }
        }
    }
    linhas_[i].Valor = TextoValorEditor(v);
    linhas_[i].ValorExato = v;
}

void TEdicaoTabela::MudaLinha(std::size_t nova) {
    if (tipo_ == TipoTabela::Qualitativa) {
        bool vazia = Vazia(atual_);
        SaiDaLinha(atual_);
        if (atual_ + 1 == linhas_.size() && !vazia) linhas_.emplace_back();
    }
    atual_ = std::min(nova, linhas_.size() - 1);
}

void TEdicaoTabela::Insere() {
    if (tipo_ != TipoTabela::Qualitativa) return;
    linhas_.insert(linhas_.begin() + static_cast<std::ptrdiff_t>(atual_), TLinhaEdicao{});
}

void TEdicaoTabela::Exclui() {
    if (tipo_ != TipoTabela::Qualitativa) return;
    if (linhas_.size() == 1) {
        linhas_[0] = TLinhaEdicao{};
        return;
    }
    linhas_.erase(linhas_.begin() + static_cast<std::ptrdiff_t>(atual_));
    atual_ = std::min(atual_, linhas_.size() - 1);
}

void TEdicaoTabela::OrdenaPorNome() {
    if (tipo_ != TipoTabela::Qualitativa) return;
    // Byte order of the Windows-1252 texts: plain character order, case counts.
    std::stable_sort(linhas_.begin(), linhas_.end(), [](const auto &a, const auto &b) {
        return ParaCp1252(a.Rotulo) < ParaCp1252(b.Rotulo);
    });
}

void TEdicaoTabela::OrdenaPorValor() {
    if (tipo_ != TipoTabela::Qualitativa) return;
    std::stable_sort(linhas_.begin(), linhas_.end(), [](const auto &a, const auto &b) {
        return ParaCp1252(a.Valor) < ParaCp1252(b.Valor);
    });
}

void TEdicaoTabela::InverteOrdem() {
    if (tipo_ != TipoTabela::Qualitativa) return;
    std::reverse(linhas_.begin(), linhas_.end());
}

TConteudoTabela TEdicaoTabela::Conteudo() {
    if (tipo_ == TipoTabela::Dicotomica) {
        TTabelaDicotomica d;
        for (int k = 0; k < 2; ++k) {
            d[k] = linhas_[k].Rotulo;
            if (Apara(d[k]).empty()) d[k] = k == 0 ? RotuloPositivo : RotuloNegativo;
        }
        return d;
    }
    TTabelaQualitativa q;
    for (std::size_t i = 0; i < linhas_.size(); ++i) {
        if (Vazia(i)) continue;
        SaiDaLinha(i);
        long double v = 0;
        ValorDaLinha(i, v);
        q.push_back({linhas_[i].Rotulo, v});
    }
    return q;
}

ResultadoGravacao TEdicaoTabela::Grava(const Pergunta &pergunta) {
    TConteudoTabela conteudo = Conteudo();
    std::string nome = TTabelasVariaveis::NomeNormalizado(nome_);
    bool ok;
    if (tabelas_->Existe(nome, tipo_)) {
        Resposta r =
            Pede(pergunta, "A tabela \r\n" + nome + " já existe.\r\nDeseja substituí-la ?");
        if (r == Resposta::Nao) return ResultadoGravacao::Voltar;
        if (r == Resposta::Cancelar) return ResultadoGravacao::Desistiu;
        ok = tabelas_->SubstituiHomonimas(original_, nome, conteudo);
    } else if (original_) {
        ok = tabelas_->Substitui(*original_, nome, conteudo);
    } else {
        ok = tabelas_->Acrescenta(nome, conteudo);
    }
    if (!ok) return ResultadoGravacao::Falhou;
    original_ = nome;
    return ResultadoGravacao::Gravada;
}

ResultadoExclusao ApagaTabela(TTabelasVariaveis &tabelas, TipoTabela tipo, const std::string &nome,
                              const Pergunta &pergunta) {
    std::string texto =
        "A tabela \r\n" + Maiusculas(nome) + "\r\nserá apagada. Confirma a operação ?";
    if (Pede(pergunta, texto) != Resposta::Sim) return ResultadoExclusao::NaoConfirmada;
    return tabelas.Apaga(nome, tipo) ? ResultadoExclusao::Apagada : ResultadoExclusao::Falhou;
}

} // namespace zelto
