// TRelatorio: one report of the fitted model, its items' content computed once.
//
// The report holds the list of items, the context they run in and the settings. The content of
// an item (TConteudo) is computed the first time anything asks for it (the screen's pages, the
// printer, a PDF or a file) and kept: turning pages, printing and exporting write the kept
// content again without running the item. A change to an item's settings forgets that item's
// content (Esquece); a change to the report's settings forgets all of it.
#pragma once

#include "evaluation/Avaliacao.h"

#include <optional>
#include <vector>

namespace zelto {

class TRelatorio {
  public:
    // The evaluation, the list and the settings are the caller's and outlive the report.
    TRelatorio(TAvaliacao &avaliacao, const TListaItens &itens, TContextoItem contexto,
               const TConfiguracaoRelatorio &configuracao);

    TAvaliacao &Avaliacao() const { return avaliacao_; }
    const TListaItens &Itens() const { return itens_; }
    const TContextoItem &Contexto() const { return contexto_; }
    const TConfiguracaoRelatorio &Configuracao() const { return configuracao_; }

    // Whether item i goes into the report (included, and offered in the statistics mode).
    bool NoRelatorio(std::size_t i) const;
    // The content of item i, computed when it is not kept yet.
    const TConteudo &Conteudo(std::size_t i);
    // Forgets the content of item i (its settings changed), or of every item.
    void Esquece(std::size_t i);
    void EsqueceTudo();

    // The whole export into a file writer that the caller made: the closing computations,
    // the document set-up and every item's content. True when the document was completed.
    bool Exporta(TArqEditor &escritor, TProgresso *progresso);

  private:
    TAvaliacao &avaliacao_;
    const TListaItens &itens_;
    TContextoItem contexto_;
    const TConfiguracaoRelatorio &configuracao_;
    std::vector<std::optional<TConteudo>> conteudos_;
};

} // namespace zelto
