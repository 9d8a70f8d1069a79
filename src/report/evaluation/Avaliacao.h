// TAvaliacao: the evaluation. It computes the content of the included report items, in
// catalogue order, and writes that content into any writer; TRelatorio (Relatorio.h) keeps the
// content of a report so that it is computed once.
//
// An item's content: the item is marked (BeginItem), and each of its parts (BeginPart) gets the
// title block (title font, centred, an empty line, the title, an empty line, then body font and
// left alignment), then Calcula and Imprime. An item without parts writes its title and "Não
// existem informações neste item do relatório.". A failure in a part, computing or writing,
// adds the calculation-error block and the run goes on with the next part. Every writer gets
// this same content: screen, paper, PDF and the files.
//
// The export: the progress sink runs item count + 7 steps and may cancel at any of them; steps 1
// to 4 are the closing computations of the regression system, step 5 the document information
// and the page set-up, step 6 the running header and footer, step 7 the start of the items, then
// one step per item. A cancelled export ends without CloseDocument and returns false; otherwise
// the result is CloseDocument's.
//
// The statistics mode is the context's (TContextoItem::Inferencial, taken from the worksheet
// when the report is built): the one copy the evaluation, its items and its pages read.
#pragma once

#include "common/Progresso.h"
#include "evaluation/ItemAvaliacao.h"

#include <string>
#include <vector>

namespace zelto {

class TSistema;
struct TConfiguracaoRelatorio;

inline constexpr const char *kTituloGerandoRelatorio = "Gerando relatório ...";
inline constexpr const char *kTituloDocumento = "ZELTO Plus - módulo de estatística. Revisão 32.65";
inline constexpr const char *kAssuntoDocumento = "Relatório de avaliação";
inline constexpr const char *kAutorDocumento = "Zelto 32";

class TAvaliacao {
  public:
    explicit TAvaliacao(TSistema &sistema) : sistema_(sistema) {}

    // The closing computations of the regression system, in their fixed order; the fit must be
    // built up to CalculaEstatisticas. One progress step each (from `passo`); false when the
    // sink was cancelled.
    bool CompletaCalculos(TProgresso *progresso, double &passo);

    // Whether an item goes into the report: included, and offered in the statistics mode.
    static bool NoRelatorio(const TItemAvaliacao &item, bool inferencial) {
        return item.Incluido && (inferencial || item.OferecidoDescritivo);
    }
    // The content of one item: its mark, then its parts with their title blocks, or the
    // no-information line, or the error block. This is where the items' code runs.
    TConteudo Conteudo(TItemAvaliacao &item, const TContextoItem &contexto) const;
    // How many item contents the evaluations of this process have computed.
    static long ConteudosCalculados();

    // Computes the included items of the list and writes them into the writer. False when
    // cancelled.
    bool ExecutaItens(const TListaItens &itens, const TContextoItem &contexto, TArqEditor &escritor,
                      TProgresso *progresso, double &passo) const;

    // The document information, the page set-up and the running header and footer of the
    // settings, into a file writer (steps 5 and 6 of the export). False when cancelled.
    static bool PreparaDocumento(TArqEditor &escritor, const TConfiguracaoRelatorio &configuracao,
                                 TProgresso *progresso, double &passo);

    // The calculation-error block for an item title.
    static void BlocoErro(TConteudo &e, const std::string &titulo, bool inferencial);
    // The title block.
    static void BlocoTitulo(TConteudo &e, const TItemAvaliacao &item, const std::string &titulo);

  private:
    TSistema &sistema_;
};

} // namespace zelto
