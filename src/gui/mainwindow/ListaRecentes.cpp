#include "gui/mainwindow/ListaRecentes.h"

#include "common/Texto.h"
#include "gui/mainwindow/TextosEstado.h"

#include <algorithm>

namespace zelto {

void TListaRecentes::Adiciona(const std::string &nome) {
    if (nome.empty() || nome == kPlanilhaNova) return;
    Remove(nome);
    itens_.insert(itens_.begin(), nome);
    if (itens_.size() > kMaximo) itens_.resize(kMaximo);
}

void TListaRecentes::Remove(const std::string &nome) {
    std::erase_if(itens_, [&](const std::string &i) { return IguaisSemCaixa(i, nome); });
}

std::string TListaRecentes::Legenda(std::size_t i, const std::string &nome) {
    return "&" + std::to_string(i + 1) + " " + nome;
}

void TListaRecentes::Le(const TConfiguracaoGeral &cfg) {
    itens_.clear();
    for (const std::string &n : cfg.Recentes)
        if (!Apara(n).empty() && itens_.size() < kMaximo) itens_.push_back(n);
}

void TListaRecentes::Grava(TConfiguracaoGeral &cfg) const {
    for (std::size_t i = 0; i < cfg.Recentes.size(); ++i)
        cfg.Recentes[i] = i < itens_.size() ? itens_[i] : std::string();
}

} // namespace zelto
