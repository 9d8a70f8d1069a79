// TPaginacao: the paging run of the report view and its caches.
//
// The report is laid out once: the items' content, computed once (TRelatorio keeps it), is
// written into the view (TViewRelat), which records every page it lays out as the list of what
// the page draws (TDesenhoPagina: text runs, cell backgrounds, borders, pictures and charts, in
// twips). Showing, printing or writing page N paints that list: turning pages runs neither item
// code nor layout. Pages not laid out yet are laid out from the cached start of an earlier page;
// the run starts each item on a line of its own and in the same writer state, so a page laid out
// from the cache is the page a run from the first item lays out.
//
// Caches (emptied from a changed item on by Invalidate, which also forgets the content of the
// items from there on):
// - pages: what each page laid out so far draws (pages 1..k, k growing as the layout goes);
// - page starts: for page p, the item being written when p began, the page and the Y at which
//   that item began (a run resumes there);
// - item starts: for each item of the list its first page and Y (0, 0 for an item not in the
//   report or not laid out yet);
// - graph areas of the drawn page (in the view): item, part, rectangle, axis mapping.
//
// An item that needs more room than the page has left (its minimum height) starts on a new
// page, unless it already stands at the top of one. A page asked for beyond the end of the
// report draws nothing and makes the page count known (TotalPages).
//
// The view draws on its canvas (the screen image, whose size the report page sets from the
// zoom); printing and PDF hand a paged device to ImprimePaginas (ImpressaoRelatorio.h), which
// draws each page through this same run.
#pragma once

#include "evaluation/Avaliacao.h"
#include "evaluation/Relatorio.h"
#include "view/ViewRelat.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPainter;

namespace zelto {

struct TConfiguracaoRelatorio;

inline constexpr int kAcimaDoTexto = -2;  // ItemAtPosition: in the header or the top margin
inline constexpr int kAbaixoDoTexto = -3; // ItemAtPosition: in the footer or the bottom margin

struct TInicioPagina {
    int Item = 0;   // index in the item list
    int Pagina = 0; // page on which that item began
    int Y = 0;      // twips
};

// A click on a graph of the drawn page in chart units: the item and part that drew it, the
// point under the click and three picture pixels either side of it.
struct TPontoGrafico {
    int Item = -1, Parte = -1;
    double X = 0, Y = 0;
    double ToleranciaX = 0, ToleranciaY = 0;
};

struct TInicioItem {
    int Pagina = 0; // 0: not in the report, or not laid out yet
    int Y = 0;
};

class TPaginacao {
  public:
    // The item list and the settings are the caller's and must outlive the paging, which
    // keeps the report's content.
    TPaginacao(TAvaliacao &avaliacao, const TListaItens &itens, TContextoItem contexto,
               const TConfiguracaoRelatorio &configuracao);
    // Pages of a report whose content is kept elsewhere (the caller's, outliving the paging).
    explicit TPaginacao(TRelatorio &relatorio);
    ~TPaginacao();

    // A new report: the closing computations of the regression system, a new view on the
    // canvas at the zoom, the page set-up and the header and footer of the settings, empty
    // caches, then page 1 drawn. False when the progress sink cancelled the computations.
    bool RefreshReport(QPaintDevice *canvas, int zoom, TProgresso *progresso = nullptr);
    // A new view on the canvas at the zoom, set up from the settings, with empty caches; the
    // statistics are taken as they are.
    void NovaView(QPaintDevice *canvas, int zoom);
    // The page set-up of the settings and their header and footer, measured, into the view;
    // the page caches are emptied (the content stays).
    void AplicaConfiguracao();
    // The report's settings changed: the content of every item is forgotten and the pages are
    // set up again.
    void ConfiguracaoMudou();

    TViewRelat *View() { return view_.get(); }
    const TViewRelat *View() const { return view_.get(); }

    // Lays the report out up to page n and draws page n on the view's canvas (through
    // `pintor` when given: a paged device's painter). n = 0 lays every page out and draws
    // none, counting the pages; during that run the sink shows "(página N)" as pages begin.
    void RenderPage(int n, QPainter *pintor = nullptr, TProgresso *progresso = nullptr);
    // Lays the report out up to page `ate` drawing pages de..ate in one run (printing, PDF):
    // when each drawn page but the last ends, `fimDePagina(page)` is called (it turns the
    // device's page); its false cancels the run. False when cancelled.
    bool RenderPages(int de, int ate, QPainter *pintor, TProgresso *progresso,
                     const std::function<bool(int)> &fimDePagina);
    // The number of pages, laying the whole report out first when it is not known.
    int TotalPages(TProgresso *progresso = nullptr);
    // Counts the pages a few at a time: lays out `paginas` more pages after the last one laid
    // out, drawing nothing and keeping what the drawn page left (its number, its graphs). True
    // once the page count is known (TotalPages), so that a caller can count in idle moments
    // without holding anything up.
    bool AvancaContagem(int paginas);

    // The item (index in the list) at a height of the page last drawn, in twips from the top
    // of the page; kAcimaDoTexto or kAbaixoDoTexto outside the text area; -1 when no item
    // lies there.
    int ItemAtPosition(int y) const;
    // Forgets what was laid out from an item on (its settings or content changed).
    void Invalidate(int item);
    // A click on the drawn page at a device pixel: the description of the graph point there
    // (the item's lines), none when the click lies outside every graph.
    std::vector<std::string> GraphClick(QPoint pixel);
    // The point of the chart under a device pixel of the drawn page; none outside every graph
    // with an axis mapping.
    std::optional<TPontoGrafico> PontoGrafico(QPoint pixel) const;
    // The page and Y at which an item begins, laying the report out up to it when they are
    // not known; page 0 when the item is not in the report.
    TInicioItem InicioDoItem(int item);

    // The context the items run in.
    const TContextoItem &Contexto() const { return relatorio_.Contexto(); }
    TRelatorio &Relatorio() { return relatorio_; }
    const std::vector<TInicioPagina> &InicioPaginas() const { return paginas_; }
    const std::vector<TInicioItem> &InicioItens() const { return itensInicio_; }

  private:
    // Lays the report out from the first page not recorded, recording pages, until page `ate`
    // is recorded or the report ends (then TotalPages is known).
    void Dispoe(int ate, TProgresso *progresso);

    std::unique_ptr<TRelatorio> proprio_;
    TRelatorio &relatorio_;
    const TListaItens &itens_;
    const TConfiguracaoRelatorio &configuracao_;
    std::unique_ptr<TViewRelat> view_;
    std::vector<TInicioPagina> paginas_;
    std::vector<std::shared_ptr<const TDesenhoPagina>> desenhos_;
    std::vector<TInicioItem> itensInicio_;
};

// The page set-up of the report settings into a writer: text width = page width - left -
// right margins, text height = page height - top - bottom margins (mm).
void AplicaPaginaConfiguracao(TArqEditor &escritor, const TConfiguracaoRelatorio &configuracao);

} // namespace zelto
