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
// Settings: each item keeps its settings in the report settings file under a section named by
// its inferential title (LeConfiguracao, GravaConfiguracao): fonts "Tit", "Crp", "Cmn" and
// "InT" (included, line spacing, comments) for every item; the five cell formats for tables;
// the chart keys for graphs.
#pragma once

#include "files/ArquivoIni.h"
#include "writer/ArqEditor.h"

#include <QDate>

#include <array>
#include <cstdint>
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

// One entry of the catalogue.
struct TDescricaoItem {
    int Numero;                   // 1..56
    const char *Classe;           // "TIA_…"
    TTipoItem Tipo;
    const char *Titulo;           // inferential title; also the settings section
    const char *TituloDescritivo; // nullptr: not offered in the descriptive mode
    std::uint8_t Flags;           // table format flags
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
    TArqEditor *Escritor = nullptr;
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

class TItemAvaliacao {
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
    bool Incluido = true;
    bool Comentarios = true;
    TFonte FonteTitulo, FonteCorpo, FonteComentario;
    std::uint16_t Espacamento = 100; // percent: 100, 150 or 200

    // The title shown in a mode.
    const std::string &TituloModo(bool inferencial) const {
        return inferencial ? Titulo : TituloDescritivo;
    }

    // ---- Virtual operations, in slot order --------------------------------------------
    virtual void Calcula(int parte);
    virtual void Imprime(int parte);
    virtual void Copia(const TItemAvaliacao &outro);
    // Reads the settings; false when some key was present but damaged (it takes its default).
    virtual bool LeConfiguracao(const TArquivoIni &ini);
    virtual void GravaConfiguracao(TArquivoIni &ini) const;
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
    TArqEditor &E() const;
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

// A cell format of a table: font, four border sides (each three line bytes and a colour; the
// fifth side copies the third and the sixth the first), background colour.
struct TLadoCelula {
    std::uint8_t Tipo = 1, Multiplicidade = 1, Espessura = 1;
    TCor Cor = CorPreta;
    bool operator==(const TLadoCelula &) const = default;
};
struct TFormatoCelula {
    TFonte Fonte;
    std::array<TLadoCelula, 6> Lados{};
    TCor Fundo = CorBranca;
    bool operator==(const TFormatoCelula &) const = default;
};
enum TRegiaoTabela : int { rtPrimeiraLinha, rtUltimaLinha, rtPrimeiraColuna, rtUltimaColuna, rtCorpo };
inline constexpr const char *kEtiquetasRegiao[5] = {"1aL", "ulL", "1aC", "ulC", "Tab"};
inline constexpr const char *kBordasPadrao = "01010100000000010101000000000101010000000001010100000000";

class TItemAvaliacaoTab : public TItemAvaliacao {
  public:
    explicit TItemAvaliacaoTab(const TDescricaoItem &d);
    std::array<TFormatoCelula, 5> Formatos{};
    std::uint8_t FlagsFormato = 15; // 1 first row, 2 last row, 4 first column, 8 last column
    std::uint8_t Layout = 1;

    void Copia(const TItemAvaliacao &outro) override;
    bool LeConfiguracao(const TArquivoIni &ini) override;
    void GravaConfiguracao(TArquivoIni &ini) const override;
    int AlturaMinima() const override;
    TFonte FonteCelula(int linha, int coluna) const override;
    // The format region of a cell of a table with the given size.
    TRegiaoTabela Regiao(int linha, int coluna, int linhas, int colunas) const;
};

class TItemAvaliacaoGraf : public TItemAvaliacao {
  public:
    explicit TItemAvaliacaoGraf(const TDescricaoItem &d);
    // Colours: chart background, legend background, axes, two series, the sixth colour, the
    // line pen's colour.
    std::array<TCor, 7> Cores{12632256, 12632256, 16777215, 16711680, 255, 255, 255};
    std::uint8_t EstiloCaneta = 0;
    std::uint8_t LarguraCaneta = 1;
    TFonte FonteSeries, FonteEscalaX, FonteEscalaY;
    // One axis: scale mode (0 automatic, 1 manual range, 2 automatic and hidden, 3 manual and
    // hidden), grid line kind, divisions, centring on zero; and the manual range, which lives
    // for the session only: the settings file keeps the four stored fields, not the range, and
    // reading it keeps the range in memory.
    struct TEixo {
        std::uint8_t Modo = 0, Grade = 0;
        std::uint16_t Divisoes = 10;
        std::uint8_t Extra = 0;
        double Minimo = 0, Maximo = 0;
        bool operator==(const TEixo &) const = default;
    };
    std::array<TEixo, 2> Eixos{};
    std::array<std::uint8_t, 2> OpcoesSerie{};
    std::uint8_t LarguraGrafico = 100, AlturaGrafico = 100; // height in mm
    std::array<std::uint8_t, 6> OpcoesMGr{1, 1, 0, 0, 0, 1}; // kind 3 only
    std::uint16_t ValorMGr = 10;

    void Copia(const TItemAvaliacao &outro) override;
    bool LeConfiguracao(const TArquivoIni &ini) override;
    void GravaConfiguracao(TArquivoIni &ini) const override;
    std::string EstadoDaSessao() const override;
    int AlturaMinima() const override;
};

} // namespace zelto
