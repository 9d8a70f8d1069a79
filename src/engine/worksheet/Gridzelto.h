// The worksheet: samples in rows, variables in columns.
//
// `TGridzelto` keeps the cells as the texts the user sees; every number the
// statistics use is derived from a cell's text through the rules of its
// column's variable kind (ValorCelula), and numbers are written back as texts
// (TextoDeValor). Besides the cells it keeps one optional `TVariavel` per
// column, one optional `TAmostragem` per row, the used extents, the modified
// flag and the subject property's values and identification.
//
// Cell (0, r) holds the sample number of row r, cell (c, 0) the name of
// variable c, data cells are c >= 1, r >= 1. A fresh worksheet has 21 data
// columns and 41 data rows.
//
// Every change is published to the listeners with its kind and extent, so a
// view can update exactly what changed. Calculated columns are recomputed by
// the worksheet when data change, never by whoever reads the cells.
//
// The whole state of the worksheet can be captured and restored (Captura,
// Restaura), which is what undo and redo rest on. Rows keep their cells in
// buffers shared with the captured states and copied only when a row is about
// to change, so a capture costs one pointer per row and an edit copies one
// row. A row's buffer may be shorter than the grid: the missing cells are
// empty, so adding columns at the end touches no row.
//
// The worksheet is not thread-safe; one thread owns it.
#pragma once

#include "common/Progresso.h"
#include "worksheet/CalcEquacao.h"
#include "worksheet/Modo.h"
#include "worksheet/Variavel.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelto {

// A change of the worksheet, as the listeners receive it. Ranges are inclusive.
struct TMudanca {
    enum Tipo : unsigned {
        Celulas = 1u << 0,          // cells (Coluna0..Coluna1, Linha0..Linha1) changed text
        LinhasInseridas = 1u << 1,  // rows Linha0..Linha1 were inserted
        LinhasRemovidas = 1u << 2,  // rows Linha0..Linha1 were removed
        LinhaMovida = 1u << 3,      // row Linha0 moved to position Linha1
        ColunasInseridas = 1u << 4, // columns Coluna0..Coluna1 were inserted
        ColunasRemovidas = 1u << 5, // columns Coluna0..Coluna1 were removed
        ColunaMovida = 1u << 6,     // column Coluna0 moved to position Coluna1
        Variavel = 1u << 7,         // the variable or format of column Coluna0 changed
        Amostragem = 1u << 8,       // the flags of row Linha0 changed
        Estado = 1u << 9,           // used counts, modified flag or other state changed
        Tudo = 1u << 10,            // anything may have changed (clearing, reading a file)
        Aparencia = 1u << 11,       // column Coluna0's width or alignment: display only
    };
    Tipo tipo;
    int Coluna0 = 0, Linha0 = 0, Coluna1 = 0, Linha1 = 0;
};

enum class DirecaoAvanco { dAvancoVertical, dAvancoHorizontal, dSemAvanco };

// The extents the regression reads (BlocoDeDados).
struct TBlocoDados {
    int Colunas = 0;             // n: highest column holding a non-empty data cell
    int Linhas = 0;              // m: rows before the first empty, not disregarded row
    std::vector<int> Ativas;     // rows 1..m neither disregarded nor sanitised
};

// A rectangular selection of cells, inclusive.
struct TSelecao {
    int Coluna0 = 1, Linha0 = 1, Coluna1 = 1, Linha1 = 1;
};

// What the block copy in Rich Text Format needs to know of the grid's look.
struct TCorRgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const TCorRgb &) const = default;
};
struct TAparenciaGrade {
    std::string Fonte = "Arial";
    int TamanhoFonte = 10; // points
    bool Negrito = false, Italico = false, Sublinhado = false, Riscado = false;
    TCorRgb CorFonte{0, 0, 0};
    TCorRgb CorCelula{255, 255, 255};
    TCorRgb CorCabecalho{192, 192, 192};
    int LarguraLinhaGrade = 1; // pixels
    int PixelsPorPolegada = 96;
};

// The one-cell clipboard of the main window ("Copiar", "Colar", "Recortar").
struct TCelulaCopiada {
    std::string Texto;
    TipoEditor Editor = teTexto;
};

// Result of an operation that the user may see refused.
struct TResultado {
    bool ok = true;
    std::string mensagem;
};

class TEstadoPlanilha;

class TGridzelto {
  public:
    static constexpr int kColunasIniciais = 22; // fixed column included
    static constexpr int kLinhasIniciais = 42;  // header row included
    static constexpr int kLarguraPadrao = 64;   // pixels
    static constexpr const char *kFormulaHomogeneizado = "[Valor Homogeneizado]";

    TGridzelto();
    TGridzelto(const TGridzelto &) = delete;
    TGridzelto &operator=(const TGridzelto &) = delete;

    // ---- Extents and cells -------------------------------------------------
    int ColCount() const { return static_cast<int>(colunas_.size()); }
    int RowCount() const { return static_cast<int>(linhas_.size()); }
    // The text of a cell; a cell outside the grid reads as empty.
    const std::string &Celula(int c, int r) const;
    // Writes a cell's text as it stands and notifies; no other effect.
    void AtribuiCelula(int c, int r, std::string texto);
    // Adds numbered rows or labelled columns at the end.
    void AcrescentaLinhas(int n);
    void AcrescentaColunas(int n);
    // Default header label of column c ("A0" ... "Z0", "A1" ...).
    static std::string RotuloPadraoColuna(int c);

    std::uint16_t LinhasUsadas() const { return linhasUsadas_; }
    std::uint16_t ColunasUsadas() const { return colunasUsadas_; }
    void DefineLinhasUsadas(int n);
    void DefineColunasUsadas(int n);

    bool Modificada() const { return modificada_; }
    // Setting true also tells the listeners (Estado).
    void DefineModificada(bool m);

    // ---- Records -------------------------------------------------------------
    const TVariavel *Variavel(int c) const;
    TVariavel *Variavel(int c);
    // Replaces the variable of a column (nullopt removes it) and notifies.
    void DefineVariavel(int c, std::optional<TVariavel> v);
    const TDataFormat &Formato(int c) const { return colunas_[c].formato; }
    void DefineFormato(int c, TDataFormat f);
    int LarguraColuna(int c) const { return colunas_[c].largura; }
    // Width and alignment change how a column looks, not its data (TMudanca::Aparencia).
    void DefineLarguraColuna(int c, int pixels);
    void DefineAlinhamento(int c, std::uint8_t alinhamento);
    const TAmostragem *Amostragem(int r) const { return linhas_[r].amostragem ? &*linhas_[r].amostragem : nullptr; }
    // The row's flags, created when missing.
    TAmostragem &AmostragemCriada(int r);
    void LiberaAmostragem(int r);
    bool Desconsiderada(int r) const;
    bool Ativa(int r) const; // neither disregarded nor sanitised

    int AlturaLinha = 24;     // data rows, pixels
    int AlturaCabecalho = 24; // header row, pixels
    bool Editavel = true;
    DirecaoAvanco Avanco = DirecaoAvanco::dAvancoVertical;
    bool DestacarVariaveisNaoUsadas = true;
    bool DestacarAmostragensNaoUsadas = true;
    std::string NomeArquivo;
    int ColunaAtual = 1, LinhaAtual = 1;

    // The statistics mode of this document: set by the front end and by the file readers,
    // read by the worksheet's own rules (date columns, the "Valor Homog." column), the
    // regression system, the search and the report. Not part of a captured state.
    TModoPlanilha Modo;

    // Subject property.
    std::vector<std::string> ValoresObjeto;
    TIdentificacaoObjeto IdentificacaoObjeto;

    // Asked before the worksheet is cleared; false keeps it. Absent: clearing proceeds.
    std::function<bool()> AoLimparGrid;

    // ---- Listeners -----------------------------------------------------------
    using Ouvinte = std::function<void(const TMudanca &)>;
    int AdicionaOuvinte(Ouvinte o);
    void RemoveOuvinte(int id);

    // ---- Values and texts ----------------------------------------------------
    // Value of a text under a variable and format (0 without a variable).
    static long double ValorDeTexto(const TVariavel *v, const TDataFormat &f, std::string_view texto);
    long double ValorCelula(int c, int r) const;
    // Value of a text under column c's variable; 0 for an empty text.
    long double ValorTexto(int c, std::string_view texto) const;
    // Writes the text that represents x into the cell.
    void TextoDeValor(int c, int r, long double x);
    // The text that represents x under column c's variable (the cell's own rule).
    std::string TextoCelulaDeValor(int c, long double x) const;
    // The text shown for x in reports and in the subject property (inverts ValorCelula).
    std::string TextoDoValor(int c, long double x) const;
    // A typed or pasted text in column c's cell form.
    std::string TextoNormalizado(int c, std::string_view texto) const;
    // Writes a typed or pasted text through TextoNormalizado.
    void AtribuiTexto(int c, int r, std::string_view texto);
    // The text a dichotomous cell shows ("TRUE" -> first label of Rotulos, else the second).
    std::string TextoExibido(int c, int r) const;

    int ColunaDependente() const;
    void RecalcularLinha(int r);
    void RecalcularTudo();
    TBlocoDados BlocoDeDados() const;
    // ValorCelula(c, r) for c = 1..n, r = 1..m, column-major.
    std::vector<long double> MatrizDados(const TBlocoDados &b) const;

    // ---- Captured states ---------------------------------------------------
    // The worksheet's data as they stand: cells, records, formats, widths,
    // used counts, current cell, subject values and identification. The
    // capture shares the rows' cell buffers with the worksheet, so it costs
    // one pointer per row; later changes of the worksheet never reach it.
    TEstadoPlanilha Captura() const;
    // Puts a captured state back, publishes TMudanca::Tudo and marks the
    // worksheet modified. The settings of the grid (Editavel, heights, file
    // name, listeners, the statistics mode) are not part of a state.
    void Restaura(const TEstadoPlanilha &e);
    // Whether the worksheet holds the same data as the state (the current
    // cell aside); cheap when they share most rows.
    bool MesmosDados(const TEstadoPlanilha &e) const;

    // ---- Commands on flags ---------------------------------------------------
    void AlternaDesconsiderada(int r);
    void AlternaUsada(int c);
    void AlternaDependente(int c);

    // Clears the worksheet after asking AoLimparGrid; false when refused.
    bool Limpa();
    // A first key typed into a column without a variable defines one.
    void DefinePorDigitacao(int c, char32_t tecla);
    // Accepts an edit of cell (c, r): writes the typed text in the column's form,
    // grows the used extents and the grid, recalculates the row, ensures the
    // "Valor Homog." column in the descriptive mode, marks the worksheet modified.
    void AceitaEdicao(int c, int r, std::string_view texto);

    // The "Valor Homog." column of the descriptive mode.
    int ColunaValorHomogeneizado() const; // 0 when none
    void GaranteValorHomogeneizado();
    void RemoveValorHomogeneizado();

    // ---- Worksheet operations ------------------------------------------------
    int ProximoNumeroAmostra() const;
    std::string ProximoRotuloColuna() const;
    void InsereAmostragem(int r);
    void ExcluiAmostragem(int r);
    void InsereVariavel(int c);
    void ExcluiVariavel(int c);
    void Renumera();
    // Sorts rows 1..LinhasUsadas by column k (0: the sample numbers).
    void Ordena(int k, bool crescente, TProgresso *progresso = nullptr);
    void MoveLinha(int de, int para);
    void MoveColuna(int de, int para);
    void LimpaCelula(int c, int r);
    // Drops trailing rows that are empty in every used column from LinhasUsadas.
    void AparaLinhasVazias();

    // One-cell clipboard on cell (c, r).
    TCelulaCopiada CopiaCelula(int c, int r) const;
    bool ColaCelula(const TCelulaCopiada &copia, int c, int r);
    TCelulaCopiada RecortaCelula(int c, int r);

    // Block clipboard.
    std::string CopiaBlocoTexto(const TSelecao &s) const;
    std::string CopiaBlocoRtf(const TSelecao &s, const TAparenciaGrade &a) const;
    TResultado ColaBloco(const TSelecao &s, std::string_view texto);

  private:
    friend class TEstadoPlanilha;
    using Celulas = std::vector<std::string>;
    struct Linha {
        // Null means every cell is empty; cells past the buffer's end are
        // empty too. A buffer may be shared with captured states: it is
        // written only through CelulasUnicas/CelulasMutaveis.
        std::shared_ptr<Celulas> celulas;
        std::optional<TAmostragem> amostragem;
    };
    struct Coluna {
        TDataFormat formato;
        std::optional<TVariavel> variavel;
        int largura = kLarguraPadrao;
        bool operator==(const Coluna &) const = default;
    };
    // The cells of row r, made the row's own (copied when shared, created
    // when null) but not widened.
    Celulas &CelulasUnicas(int r);
    // The same, widened to the whole grid: every cell can be written.
    Celulas &CelulasMutaveis(int r);
    // A fresh worksheet's rows, columns and labels.
    void Inicializa();
    // Same flags and cell texts in every row (missing cells count as empty),
    // same records, formats and widths in every column.
    static bool TabelasIguais(const std::vector<Linha> &la, const std::vector<Linha> &lb,
                              const std::vector<Coluna> &ca, const std::vector<Coluna> &cb);

    void Notifica(TMudanca::Tipo t, int c0 = 0, int r0 = 0, int c1 = 0, int r1 = 0);
    bool ResolveNome(const std::string &nome, double &valor) const;
    bool LinhaVazia(int r) const;
    void NumeraLinha(int r);
    void InsereLinhaBruta(int pos);
    void InsereColunaBruta(int pos, std::string rotulo);
    // Raw removals and moves for the worksheet operations: the records travel
    // with their rows and columns; counts, the modified flag and the current
    // cell are left to the caller. Each publishes its own notification.
    void RemoveLinhasBrutas(int de, int ate); // LinhasRemovidas de..ate
    void MoveLinhaBruta(int de, int para);    // LinhaMovida de -> para
    void RemoveColunaBruta(int pos);          // ColunasRemovidas pos..pos
    void MoveColunaBruta(int de, int para);   // ColunaMovida de -> para
    // A row (column) holds something worth keeping: flags (a variable) or a
    // non-empty data cell.
    bool LinhaComConteudo(int r) const;
    bool ColunaComConteudo(int c) const;
    void AjustaCelulaAtual();

    std::vector<Linha> linhas_;
    std::vector<Coluna> colunas_;
    std::uint16_t linhasUsadas_ = 0;
    std::uint16_t colunasUsadas_ = 0;
    bool modificada_ = false;

    std::vector<std::pair<int, Ouvinte>> ouvintes_;
    int proximoOuvinte_ = 1;

    // The evaluator of calculated columns and its context.
    mutable TCalcEquacao calc_;
    mutable int calcColuna_ = 0, calcLinha_ = 0;
    mutable bool calcErro_ = false;
};

// A captured state of the worksheet (TGridzelto::Captura). States are values:
// copying one is as cheap as capturing, and no later change of the worksheet
// or of another state reaches it.
class TEstadoPlanilha {
  public:
    // Same data, current cell included; rows compare by their cells' texts.
    bool operator==(const TEstadoPlanilha &o) const;
    // Same data, current cell aside.
    bool MesmosDados(const TEstadoPlanilha &o) const;
    // Approximate bytes this state holds besides its rows' cell buffers: its
    // row table, columns and subject values (copied at each capture).
    std::size_t BytesProprios() const;
    // Approximate bytes of the row buffers this state holds that `outro`
    // does not hold (wherever they stand in it).
    std::size_t BytesExclusivos(const TEstadoPlanilha &outro) const;

  private:
    friend class TGridzelto;
    std::vector<TGridzelto::Linha> linhas_;
    std::vector<TGridzelto::Coluna> colunas_;
    std::uint16_t linhasUsadas_ = 0;
    std::uint16_t colunasUsadas_ = 0;
    int colunaAtual_ = 1, linhaAtual_ = 1;
    std::vector<std::string> valoresObjeto_;
    TIdentificacaoObjeto identificacao_;
};

// Index of the line of the subject's values ("name=value") for `nome`: a line
// whose name is exactly it first, else one that differs only in case; -1 when
// there is none.
int IndiceValorObjeto(const std::vector<std::string> &valores, std::string_view nome);

} // namespace zelto
