// The report commands of the main window: the report built after a choice and shown on its
// own page, its settings, the update of a stale report, export, printing (the whole report,
// the sample table, the searched models), the item list, the rulers and the zoom.
//
// They own the report document (its settings and their file), the report page while there is
// one, and the printer kept between print commands. The page is "current" while it shows the
// model chosen on the worksheet as it is; once the worksheet, the subject or the mode changes
// it stays as drawn, marked stale, and is brought up to date before it is exported or printed.
#pragma once

#include "gui/mainwindow/ServicosJanela.h"

#include <QPointF>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QPrinter;
class QTabWidget;

namespace zelto {

class TComandosModelo;
class TConfiguracaoGeral;
class TDocumentoPlanilha;
class TDocumentoRelatorio;
class TGridzelto;
class TPaginaRelatorio;
struct TAreaZoom;

class TComandosRelatorio {
  public:
    // paginas: the window's pages, the worksheet first; the report page is added after it.
    TComandosRelatorio(TServicosJanela &janela, TRespostasUsuario &respostas,
                       TDocumentoPlanilha &doc, TComandosModelo &modelos, TConfiguracaoGeral &cfg,
                       QTabWidget *paginas);
    ~TComandosRelatorio();

    // The report page; null until a report was built.
    TPaginaRelatorio *Pagina() const { return pagina_; }
    TDocumentoRelatorio &Documento() { return *documento_; }
    // The page shows the current choice.
    bool Atual() const { return pagina_ && atual_; }
    bool Reguas() const { return reguas_; }
    // The zoom box on the report's bar, kept showing the zoom in force.
    void DefineCaixaZoom(QComboBox *zoom) { zoom_ = zoom; }

    // ---- What the user answers (tests replace these) -----------------------------
    // The report settings dialog (item to select first, -1 none); true when changed.
    std::function<bool(int itemInicial)> DialogoConfiguraRelatorio;
    // One item's settings (a graph's with the clicked chart point): the first item changed, -1
    // none. The header's or the footer's: true when changed.
    std::function<int(int item, const std::optional<QPointF> &ponto)> DialogoConfiguraItem;
    std::function<bool(bool rodape)> DialogoCabecalhoRodape;
    // The export file (empty: cancelled) and the print dialog (false: cancelled).
    std::function<std::string()> EscolheArquivoExportacao;
    std::function<bool(QPrinter &)> DialogoImpressao;
    // Before a stale report is exported or printed: true to bring it up to date first
    // ("Atualizar", the default), false to give the command up.
    std::function<bool()> ConfirmaAtualizacao;

    // ---- Commands ------------------------------------------------------------------
    void ExportaRelatorio();
    void ImprimeRelatorio();
    void ImprimeTabelaAmostragens();
    void AlternaListaItens();
    void AlternaReguas();
    void MudaZoom(int zoom);
    void ConfiguraRelatorio();
    // The zoom the box's text names, chosen in the box; the keys go back to the page.
    void MudaZoomPorTexto(const QString &texto);

    // After a choice: the items, the header's file name, the report built and shown.
    bool ConstroiRelatorio();
    // The report page goes.
    void DescartaRelatorio();
    // The caption of the report's tab; a page whose choice is gone becomes stale.
    void AtualizaAba();
    void MarcaDesatualizado();
    // The data changed: a report refitted without a search is stale again at the next check.
    void PlanilhaAlterada() { atualizadoSemPesquisa_ = false; }
    // Items of the given classes printed on their own (sample table, searched models).
    bool ImprimeItens(const std::vector<std::string> &classes);

  private:
    // A stale report brought up to date before it is exported or printed: the chosen model is
    // fitted again on the worksheet as it is and the report built afresh. False (nothing to
    // export) when the valuer declines or the model no longer fits.
    bool AtualizaRelatorioDesatualizado();
    bool AbreConfiguracaoRelatorio(int itemInicial);
    TAreaZoom AreaZoom() const;
    // The print dialog (paginas: 0 no page range, -1 unknown count); false when cancelled.
    bool DialogoDeImpressao(QPrinter &pr, int paginas);

    TServicosJanela &janela_;
    TRespostasUsuario &r_;
    TDocumentoPlanilha &doc_;
    TGridzelto &grid_;
    TComandosModelo &modelos_;
    TConfiguracaoGeral &cfg_;
    QTabWidget *paginas_;
    QComboBox *zoom_ = nullptr;
    // The page belongs to the window's pages, which delete it.
    TPaginaRelatorio *pagina_ = nullptr;
    std::unique_ptr<TDocumentoRelatorio> documento_;
    std::unique_ptr<QPrinter> impressora_;
    bool atual_ = false;
    // The report was refitted on the worksheet after the search's results went stale; the next
    // change of the data makes it stale again.
    bool atualizadoSemPesquisa_ = false;
    bool reguas_ = true;
};

} // namespace zelto
