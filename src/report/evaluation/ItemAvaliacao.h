// The report items: TItemAvaliacao and its table and graph descendants.
//
// An item knows its titles, its fonts and options, how to compute its content from the
// regression system (Calcula) and how to write it through the current writer (Imprime). The
// evaluation (Avaliacao.h) runs the included items in catalogue order; the catalogue
// (Catalogo.h) creates one item of each class. Items never ask which writer they speak to.
//
// While it runs, an item reads what it needs through its context (TContextoItem): the
// regression system after its closing computations, the worksheet, the significance settings,
// the report settings (number format, options), the model search (for the ranked models), the
// statistics mode and the writer. The context is set by the evaluation before Calcula and
// cleared after Imprime.
//
// A computation that fails throws TErroCalculo (or anything else): the evaluation catches it
// per part and writes the calculation-error block; a table cell whose text fails is written
// as "«valor inválido»".
//
// Every item writes in three fonts (title, body, comments); explanatory notes and verdicts
// are written only when its comments option is on (Comentario, LinhaComentario).
//
// Settings: an item is built over the plain settings values of config/ConfiguracaoItem.h
// (every item's, plus a table's formats or a graph's options); Registro tells the settings file
// where they live.
//
// Content: an item writes into the content of its run (TConteudo), never into a writer: the
// evaluation keeps that content and hands it to whatever writer shows or stores the report.
#pragma once

#include "config/ConfiguracaoItem.h"
#include "evaluation/Conteudo.h"
#include "files/ArquivoIni.h"
#include "writer/ArqEditor.h"

#include <QDate>

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelto {

class TSistema;
class TGridzelto;
class TPesquisa;
struct TSignificancias;
struct TConfiguracaoRelatorio;

enum TTipoItem : std::uint8_t { tiTexto = 0, tiTabela = 1, tiGrafico = 2, tiSeries = 3 };

class TItemAvaliacao;
struct TDescricaoItem;
using TConstrutorItem = std::unique_ptr<TItemAvaliacao> (*)(const TDescricaoItem &);

// One entry of the catalogue: the item's number, class, kind, titles, table format flags and
// the builder of its class.
struct TDescricaoItem {
    int Numero;                   // 1..58
    const char *Classe;           // "TIA_…"
    TTipoItem Tipo;
    const char *Titulo;           // inferential title; also the settings section
    const char *TituloDescritivo; // nullptr: not offered in the descriptive mode
    std::uint8_t Flags;           // table format flags
    TConstrutorItem Constroi = nullptr;
};

// What a running item reads. Pointers that an item needs and that are null make the item
// report that it has nothing to show (NumeroPartes 0) or fail its computation.
struct TContextoItem {
    TSistema *Sistema = nullptr;
    const TGridzelto *Grid = nullptr;
    const TSignificancias *Significancias = nullptr;
    const TConfiguracaoRelatorio *Configuracao = nullptr;
    const TPesquisa *Pesquisa = nullptr;
    // The statistics mode of the report: the worksheet's when the report was built.
    bool Inferencial = true;
    // Where the running item writes (set by the evaluation for the run).
    TConteudo *Conteudo = nullptr;
    QDate Data;

    // The context of a report of the fitted model in the worksheet's mode, dated today.
    static TContextoItem Hoje(TSistema &sistema, const TGridzelto &grid,
                              const TSignificancias &significancias, const TPesquisa *pesquisa);
};

class TErroCalculo : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char *kValorInvalido = "«valor inválido»";
inline constexpr const char *kSemInformacoes = "Não existem informações neste item do relatório.";

class TItemAvaliacao : public TConfigItem {
  public:
    explicit TItemAvaliacao(const TDescricaoItem &d);
    virtual ~TItemAvaliacao();
    TItemAvaliacao(const TItemAvaliacao &) = delete;
    TItemAvaliacao &operator=(const TItemAvaliacao &) = delete;

    // ---- Settings --------------------------------------------------------------------
    const TDescricaoItem &Descricao() const { return descricao_; }
    std::string Titulo;           // inferential title (settings section)
    std::string TituloDescritivo; // descriptive title
    TTipoItem Tipo;
    bool OferecidoDescritivo;

    // The title shown in a mode.
    const std::string &TituloModo(bool inferencial) const {
        return inferencial ? Titulo : TituloDescritivo;
    }

    // ---- Virtual operations, in slot order --------------------------------------------
    virtual void Calcula(int parte);
    virtual void Imprime(int parte);
    virtual void Copia(const TItemAvaliacao &outro);
    // Where the item's settings values live in the settings file.
    virtual TRegistroConfiguracao Registro();
    // Reads the settings; false when some key was present but damaged (it takes its default).
    bool LeConfiguracao(const TArquivoIni &ini) { return LeConfiguracaoItem(ini, Registro()); }
    void GravaConfiguracao(TArquivoIni &ini) const {
        GravaConfiguracaoItem(ini, const_cast<TItemAvaliacao *>(this)->Registro());
    }
    // What the item holds for the session only, outside its stored settings, as comparable
    // text (a graph's manual axis ranges): settings dialogs see a change there too.
    virtual std::string EstadoDaSessao() const { return {}; }
    // A click on the drawn graph of the part last computed, at (x, y) in chart units, with a
    // tolerance box of ± toleranciaX, ± toleranciaY around it: the lines (at most three) that
    // describe what lies there; none when nothing does.
    virtual std::vector<std::string> CliqueGrafico(double /*x*/, double /*y*/,
                                                   double /*toleranciaX*/,
                                                   double /*toleranciaY*/) {
        return {};
    }
    virtual int AlturaMinima() const; // twips
    virtual int NumeroPartes() const { return 1; }
    virtual int VariavelX(int /*parte*/) const { return 1; }
    virtual int VariavelY(int /*parte*/) const { return 1; }
    virtual std::string TextoCelula(int /*linha*/, int /*coluna*/) const { return {}; }
    virtual TFonte FonteCelula(int linha, int coluna) const;
    virtual int AlinhamentoCelula(int /*linha*/, int /*coluna*/) const { return apEsquerda; }

    // The evaluation sets the context before a run and clears it after.
    void DefineContexto(const TContextoItem *c) { ctx_ = c; }

  protected:
    // ---- Helpers for the items ----------------------------------------------------------
    const TContextoItem &Ctx() const;
    TSistema &Sistema() const;
    const TGridzelto &Grid() const;
    const TSignificancias &Sig() const;
    const TConfiguracaoRelatorio &Config() const;
    // The content of the running part.
    TConteudo &E() const;
    // A value in the report's number format.
    std::string Num(long double x) const;
    // Body text: a paragraph in the body font (markup rendered).
    void Linha(const std::string &texto) const;
    void LinhaVazia() const;
    // Comments: a paragraph in the comment font, only when comments are on.
    void LinhaComentario(const std::string &texto) const;
    void Corpo() const;      // selects the body font
    void Comentario() const; // selects the comment font
    // Labelled lines: label, dots up to a common tab stop, tab, ": " (or another separator),
    // value. The dots end a blank short of the first multiple of 720 twips beyond the widest
    // label plus 2 twips, less one dot; the tab stop is that multiple.
    struct TLinhaRotulada {
        std::string Rotulo, Valor;
    };
    // The stop is measured by the writer that receives the lines.
    void LinhasRotuladas(const std::vector<TLinhaRotulada> &linhas, const char *separador = ": ") const;
    // Lines of a label, a tab and a value, the values in one column: a tab stop beyond the
    // widest label, dropped after the lines.
    void LinhasTabuladas(const std::vector<TLinhaRotulada> &linhas) const;
    // A table of the item's cells, through TextoCelula/FonteCelula/AlinhamentoCelula.
    void EscreveTabela(int linhas, int colunas) const;

    const TContextoItem *ctx_ = nullptr;

  private:
    const TDescricaoItem &descricao_;
    // While a table is written: the most decimals Num may write (-1: the format's), and the
    // fewest decimals it wrote in fixed notation since last reset (INT_MAX: none).
    mutable int limiteDecimais_ = -1;
    mutable int decimaisUsados_ = 0;
};

// The items of a report, in catalogue order.
using TListaItens = std::vector<std::unique_ptr<TItemAvaliacao>>;

class TItemAvaliacaoTab : public TItemAvaliacao, public TConfigTabela {
  public:
    explicit TItemAvaliacaoTab(const TDescricaoItem &d);

    void Copia(const TItemAvaliacao &outro) override;
    TRegistroConfiguracao Registro() override;
    int AlturaMinima() const override;
    TFonte FonteCelula(int linha, int coluna) const override;
};

class TItemAvaliacaoGraf : public TItemAvaliacao, public TConfigGrafico {
  public:
    explicit TItemAvaliacaoGraf(const TDescricaoItem &d);

    void Copia(const TItemAvaliacao &outro) override;
    TRegistroConfiguracao Registro() override;
    std::string EstadoDaSessao() const override;
    int AlturaMinima() const override;
};

} // namespace zelto
