// TPaginaRelatorio: the report page of the main window ("Relatório").
//
// It owns the evaluation and the paging run of one built report, and shows one page at a time
// as an image (drawn by the paging run at the zoom's size) with its shadow inside a scroll area,
// the two rulers in centimetres, the list of the report's items beside it and the point box
// that describes a graph point after a click.
//
// The item list and the report settings are the main window's; they must outlive the page.
// Whatever must be asked or stored goes through the callbacks below (the main window sets
// them; tests answer them): the settings dialogs, the settings file, the messages.
//
// Drawing: the page image is cleared to white inside a black frame and drawn by the paging
// run; the pages already laid out are cached by the run, so going to the next page lays out
// only that page. A failure while laying out or drawing shows "Pouca memória para executar
// esta tarefa." and leaves the page as it is.
#pragma once

#include "gui/reportpage/ModeloItensRelatorio.h"

#include <QImage>
#include <QPointF>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <memory>
#include <string>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTimer;

namespace zelto {

class TReguaRelatorio;
class TAvaliacao;
class TPaginacao;
class TProgresso;
class TSistema;
struct TConfiguracaoRelatorio;
struct TContextoItem;
class TSuperficiePagina;

inline constexpr const char *kPoucaMemoria = "Pouca memória para executar esta tarefa.";

// The shadow offset behind the page image: round(zoom x 20 / 100), within 5..30 pixels.
int DeslocamentoSombra(int zoom);

class TPaginaRelatorio : public QWidget {
    Q_OBJECT
  public:
    TPaginaRelatorio(TSistema &sistema, TListaItens &itens, TConfiguracaoRelatorio &configuracao,
                     const TContextoItem &contexto, int zoom,
                     QWidget *parent = nullptr);
    ~TPaginaRelatorio() override;

    // Builds the report: the closing computations, the layout of page 1, drawn. False when the
    // progress sink cancelled.
    bool Constroi(TProgresso *progresso = nullptr);

    // Shows page p (1-based) at the vertical scroll position y; p = -1 is the last page (the
    // whole report is laid out first when its page count is unknown). A page beyond the end
    // shows the last one, keeping the scroll position from before.
    void MostraPagina(int p, int y);
    // Lays the report out again after the settings (page, margins, header, footer) changed,
    // and draws the current page.
    void Relayout();
    // An item's settings changed: the layout is forgotten from it on, the page drawn again.
    void ItemMudou(int item);
    void DefineZoom(int zoom);
    void MostraLista(bool mostra);
    void MostraReguas(bool mostra);
    // Jumps to the item of a row of the list.
    void EscolheLinha(int linha);
    // The keys of the page (arrows, Home, End, Page Up and Down, with Ctrl); true when used.
    bool Tecla(int tecla, Qt::KeyboardModifiers modificadores);
    // A click and a double click at a pixel of the page image.
    void Clique(QPoint pixel);
    void DuploClique(QPoint pixel);

    // What lies at a height (page-image pixels) of the drawn page: an item (index in the
    // list), -1 for none, or the header's or footer's marker of the paging run.
    int ItemNaAltura(int y) const;
    // The image pixel at which a point of an item's chart (chart units) lies on the drawn page;
    // none when the item drew no chart there.
    std::optional<QPoint> PixelDoPonto(int item, double x, double y) const;
    // The scroll range (pixels): the rulers' space before the page, the page image at the
    // zoom, and after it the rulers' space again (wider when the shadow needs more).
    QSize AlcanceRolagem() const;
    // The scroll positions of the bottom and of the right edge: range - view height (width).
    int Fundo() const;
    int BordaDireita() const;
    // The margins of the settings (mm): left, right, top, bottom.
    std::array<int, 4> Margens() const;

    int PaginaAtual() const { return pagina_; }
    int Zoom() const { return zoom_; }
    int TotalPaginas() const; // -1 while unknown
    bool ListaVisivel() const { return listaVisivel_; }
    bool ReguasVisiveis() const { return reguasVisiveis_; }
    TPaginacao &Paginacao() { return *paginacao_; }
    TAvaliacao &Avaliacao() { return *avaliacao_; }
    const QImage &Imagem() const { return imagem_; }
    const TListaItens &Itens() const { return itens_; }
    TConfiguracaoRelatorio &Configuracao() { return configuracao_; }
    bool Inferencial() const;

    // Widgets, for the main window and tests.
    QScrollArea *Area() const { return area_; }
    QListView *Lista() const { return lista_; }
    TModeloItensRelatorio *ModeloItens() const { return modeloItens_; }
    QLabel *CaixaPonto() const { return caixa_; }
    TReguaRelatorio *ReguaHorizontal() const { return reguaH_; }
    TReguaRelatorio *ReguaVertical() const { return reguaV_; }
    TSuperficiePagina *Superficie() const { return superficie_; }
    QPushButton *BotaoConfigurar() const { return configurar_; }
    // The page indicator ("Página" [box] "de N"): the box takes a page number to go to.
    QLineEdit *CaixaPagina() const { return caixaPagina_; }
    QLabel *RotuloTotal() const { return rotuloTotal_; }
    // The indicator as read: "Página 3 de 17" ("de ?" while the count is unknown). Whenever
    // the count is unknown the page counts the pages in idle moments, a few at a time (never
    // while work runs on another thread, nor while PodeContar says no), and shows N as soon as
    // it is known.
    QString TextoIndicador() const;

    // ---- Callbacks ----------------------------------------------------------------------
    // Runs long work with the progress window; false when interrupted (default: at once).
    std::function<bool(const std::function<void(TProgresso &)> &)> ExecutaLonga;
    std::function<void(const std::string &)> Avisa;
    // The settings dialogs. An item's (a graph's given the chart point under a double click)
    // answers the first item whose settings changed, -1 when none; the header's or footer's
    // true when the valuer confirmed a change.
    std::function<int(int item, const std::optional<QPointF> &ponto)> ConfiguraItem;
    std::function<bool(bool rodape)> ConfiguraCabecalhoRodape;
    // The settings changed here (margins by the rulers): the main window stores them.
    std::function<void()> ConfiguracaoMudou;
    // Whether the pages may be counted in idle moments now (default: yes); the main window says
    // no while the page is stale (the regression system may hold another fit).
    std::function<bool()> PodeContar;
    // The zoom or the item list's state changed (the main window stores them).
    std::function<void(int)> ZoomMudou;
    std::function<void(bool)> ListaMudou;

  protected:
    bool eventFilter(QObject *o, QEvent *e) override;

  private:
    void DimensionaImagem();
    bool Desenha();  // clears the image and draws the current page
    void ExecutaSeguro(const std::function<void()> &f);
    void SelecionaItemNoTopo();
    void AtualizaReguas();
    void ConfiguraItemDaLista();
    // An item's settings dialog, then the layout from the first item changed on.
    void AbreConfiguracaoItem(int item, const std::optional<QPointF> &ponto);
    void AtualizaCorLista(bool foco);
    void AtualizaIndicador();
    void IrParaPaginaDigitada();
    void ContaPaginas(); // one step of the count in idle moments

    TListaItens &itens_;
    TConfiguracaoRelatorio &configuracao_;
    std::unique_ptr<TAvaliacao> avaliacao_;
    std::unique_ptr<TPaginacao> paginacao_;
    QImage imagem_;
    int zoom_ = 100;
    int pagina_ = 1;
    double dpi_ = 96;
    bool listaVisivel_ = true, reguasVisiveis_ = true;

    QSplitter *divisor_ = nullptr;
    QWidget *painelLista_ = nullptr, *canto_ = nullptr;
    QListView *lista_ = nullptr;
    TModeloItensRelatorio *modeloItens_ = nullptr;
    QPushButton *configurar_ = nullptr;
    QScrollArea *area_ = nullptr;
    TSuperficiePagina *superficie_ = nullptr;
    TReguaRelatorio *reguaH_ = nullptr, *reguaV_ = nullptr;
    QLabel *caixa_ = nullptr;
    QLineEdit *caixaPagina_ = nullptr;
    QLabel *rotuloTotal_ = nullptr;
    QTimer *contagem_ = nullptr;
};

// The widget inside the scroll area: the page image at (Espaco, Espaco) over its shadow, the
// guide lines of the rulers.
class TSuperficiePagina : public QWidget {
    Q_OBJECT
  public:
    explicit TSuperficiePagina(TPaginaRelatorio &pagina, QWidget *parent = nullptr);
    void Ajusta(); // the size from the image and the shadow
    int GuiaX = -1, GuiaY = -1; // guide lines, page-image pixels (-1: none)
    // The page-image pixel of a point of this widget.
    static QPoint PixelImagem(QPoint p);

  protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

  private:
    TPaginaRelatorio &pagina_;
};

} // namespace zelto
