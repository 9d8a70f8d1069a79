// TDocumentoRelatorio: what the main window keeps of the report: the catalogue of report items
// and the report settings (read from the user's "RELATORI.CN%" at start and written back at
// every change), and, once a report was built, its page.
//
// This header only declares what it uses: the main window sees none of the report library's
// headers through it.
#pragma once

#include <QPointF>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QWidget;

namespace zelto {

class TGridzelto;
class TItemAvaliacao;
class TPaginaRelatorio;
class TPesquisa;
class TProgresso;
class TSistema;
struct TConfiguracaoRelatorio;
struct TDeclaracoesEnquadramento;
struct TSignificancias;
using TListaItens = std::vector<std::unique_ptr<TItemAvaliacao>>;

// The filter of the export dialog and the extension a filter adds.
QString FiltroExportacao();
QString ExtensaoDoFiltro(const QString &filtro);

class TDocumentoRelatorio {
  public:
    TDocumentoRelatorio();
    ~TDocumentoRelatorio();

    TListaItens &Itens() { return *itens_; }
    TConfiguracaoRelatorio &Configuracao() { return *configuracao_; }
    // The valuer's declarations for the grade of fundamentação (criteria 1 and 3), as the
    // settings hold them.
    TDeclaracoesEnquadramento Declaracoes() const;
    // Writes the settings file (after any change of the settings).
    void GravaConfiguracao();
    // The paper (mm).
    double LarguraPapelMm() const;
    double AlturaPapelMm() const;
    // The settings dialogs on this document's items and settings (they write the settings
    // file themselves); true when the valuer confirmed a change.
    bool DialogoConfiguracao(QWidget *pai, bool inferencial, int itemInicial);
    // An item's dialog (a graph's given the clicked chart point): the first item whose
    // settings changed, -1 when none did.
    int DialogoItem(QWidget *pai, int item, bool inferencial, const std::optional<QPointF> &ponto = std::nullopt);
    bool DialogoCabecalhoRodape(QWidget *pai, bool rodape);
    // Whether some item goes into a report of the mode.
    bool AlgumItemSelecionado(bool inferencial) const;

    // Builds a report page on the fitted model (up to CalculaEstatisticas), in the worksheet's
    // statistics mode; the closing computations run under the progress sink. Null when
    // cancelled.
    std::unique_ptr<TPaginaRelatorio> Constroi(TSistema &sistema, const TGridzelto &grid,
                                               const TPesquisa *pesquisa,
                                               const TSignificancias &significancias, int zoom,
                                               QWidget *pai, TProgresso *progresso);

    // The report of a page into a file, the writer chosen by the extension (PDF: the pages of
    // the view). False with the reason in `erro`.
    static bool Exporta(TPaginaRelatorio &pagina, const QString &arquivo, TProgresso *progresso,
                        QString &erro);
    // Pages de..ate of copy k onto a paged device (the printer's); false when cancelled.
    static bool Imprime(TPaginaRelatorio &pagina, QPagedPaintDevice *dispositivo, int de, int ate,
                        int copia, TProgresso *progresso);
    // Prints only the items of the given classes (whatever their inclusion in the settings)
    // onto a paged device, without the fit's closing computations: the sample table, the
    // searched models. False when cancelled or when no page could be drawn.
    bool ImprimeItens(const std::vector<std::string> &classes, TSistema &sistema,
                      const TGridzelto &grid, const TPesquisa *pesquisa,
                      const TSignificancias &significancias, QPagedPaintDevice *dispositivo,
                      TProgresso *progresso);
    // The page count, laying the whole report out when unknown.
    static int Paginas(TPaginaRelatorio &pagina, TProgresso *progresso);

  private:
    std::unique_ptr<TListaItens> itens_;
    std::unique_ptr<TConfiguracaoRelatorio> configuracao_;
};

} // namespace zelto
