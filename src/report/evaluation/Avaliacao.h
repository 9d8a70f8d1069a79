// TAvaliacao: the evaluation. It runs the included report items, in catalogue order, into the
// current writer, and drives the export of the whole report into a file writer.
//
// Running the items (shared by the screen and the export): each included item is marked for
// the writer (BeginItem), and each of its parts (BeginPart) gets the title block (title font,
// centred, an empty line, the title, an empty line, then body font and left alignment: before
// every part in the export, before the first only on screen), then Calcula and Imprime. An item
// without parts writes its title and "Não existem informações neste item do relatório.". A
// failure is caught per part: on screen any failure, in the export a failure while writing,
// adds the calculation-error block and the run goes on; in the export a failure while
// computing skips the part silently.
//
// The export: the progress sink runs item count + 7 steps and may cancel at any of them; steps 1
// to 4 are the closing computations of the regression system, step 5 the document information
// and the page set-up, step 6 the running header and footer, step 7 the start of the items, then
// one step per item. A cancelled export ends without CloseDocument and returns false; otherwise
// the result is CloseDocument's. The writer is the caller's (made from the file's extension)
// and is freed by it.
//
// The statistics mode is the context's (TContextoItem::Inferencial, taken from the worksheet
// when the report is built): the one copy the evaluation, its items and its pages read.
#pragma once

#include "common/Progresso.h"
#include "evaluation/Catalogo.h"
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

    int UltimaPagina = 0;

    // The closing computations of the regression system, in their fixed order; the fit must be
    // built up to CalculaEstatisticas. One progress step each (from `passo`); false when the
    // sink was cancelled.
    bool CompletaCalculos(TProgresso *progresso, double &passo);

    // Runs the included items of the list into the context's writer. False when cancelled.
    bool ExecutaItens(const TListaItens &itens, const TContextoItem &contexto, bool exportacao,
                      TProgresso *progresso, double &passo) const;

    // Whether an item goes into the report: included, and offered in the statistics mode.
    static bool NoRelatorio(const TItemAvaliacao &item, bool inferencial) {
        return item.Incluido && (inferencial || item.OferecidoDescritivo);
    }
    // Runs one item into the context's writer: marks it (BeginItem), then its parts with their
    // title blocks, or the no-information line, or the error block.
    void ExecutaItem(TItemAvaliacao &item, const TContextoItem &contexto, bool exportacao) const;

    // The whole export into a file writer that the caller made (the context's writer is
    // replaced by it for the run). True when the document was completed.
    bool Exporta(TArqEditor &escritor, const TListaItens &itens, TContextoItem contexto,
                 const TConfiguracaoRelatorio &configuracao, TProgresso *progresso);

    // The calculation-error block for an item title.
    static void BlocoErro(TArqEditor &e, const std::string &titulo, bool inferencial);
    // The title block.
    static void BlocoTitulo(TArqEditor &e, const TItemAvaliacao &item, const std::string &titulo);

  private:
    TSistema &sistema_;
};

} // namespace zelto
