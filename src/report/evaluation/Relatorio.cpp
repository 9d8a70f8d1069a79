#include "evaluation/Relatorio.h"

#include "config/ConfiguracaoRelatorio.h"

namespace zelto {

TRelatorio::TRelatorio(TAvaliacao &avaliacao, const TListaItens &itens, TContextoItem contexto,
                       const TConfiguracaoRelatorio &configuracao)
    : avaliacao_(avaliacao), itens_(itens), contexto_(contexto), configuracao_(configuracao) {
    contexto_.Configuracao = &configuracao_;
    contexto_.Conteudo = nullptr;
}

bool TRelatorio::NoRelatorio(std::size_t i) const {
    return i < itens_.size() && TAvaliacao::NoRelatorio(*itens_[i], contexto_.Inferencial);
}

const TConteudo &TRelatorio::Conteudo(std::size_t i) {
    if (conteudos_.size() != itens_.size()) conteudos_.resize(itens_.size());
    std::optional<TConteudo> &c = conteudos_.at(i);
    if (!c) c = avaliacao_.Conteudo(*itens_[i], contexto_);
    return *c;
}

void TRelatorio::Esquece(std::size_t i) {
    if (i < conteudos_.size()) conteudos_[i].reset();
}

void TRelatorio::EsqueceTudo() { conteudos_.clear(); }

bool TRelatorio::Exporta(TArqEditor &escritor, TProgresso *progresso) {
    TProgresso nenhum;
    TProgresso *p = progresso ? progresso : &nenhum;
    p->Inicia(kTituloGerandoRelatorio, 0, static_cast<double>(itens_.size() + 7), true);
    double passo = 0;
    auto termina = [&](bool completo) {
        p->Termina();
        return completo;
    };
    if (!avaliacao_.CompletaCalculos(p, passo)) return termina(false);
    if (!TAvaliacao::PreparaDocumento(escritor, configuracao_, p, passo)) return termina(false);
    for (std::size_t i = 0; i < itens_.size(); ++i) {
        if (!NoRelatorio(i)) continue;
        p->TextoAuxiliar("(" + itens_[i]->TituloModo(contexto_.Inferencial) + ")");
        Conteudo(i).Escreve(escritor);
        p->Avanca(++passo);
        if (p->Cancelado()) return termina(false);
    }
    p->Termina();
    return escritor.CloseDocument();
}

} // namespace zelto
