// TConteudo: what a report item wrote, kept apart from any writer.
//
// An item computes once and writes its content here: fonts, alignments, text runs and lines
// (with the report's markup), paragraph breaks, the labelled lines whose values stand in one
// column, tables of cells with their fonts, alignments and region formats, and charts as chart
// models. Escreve hands the content to any writer; every writer (the paged view, RTF, Write,
// plain text, the JSON structure) gets the same content, and each lays it out in its own
// measure: the dots of a labelled line and the widths of a table's columns are decided against
// the writer that receives them, never when the item computes.
//
// The item's marks (BeginItem, BeginPart) and the title and error blocks the evaluation writes
// around the parts are content too, so a stored item is written again exactly as it first was,
// without running the item.
#pragma once

#include "config/ConfiguracaoItem.h"
#include "writer/ArqEditor.h"

#include <QImage>
#include <QString>

#include <memory>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace zelto {

struct TChart;

// One cell of a table: its text (markup allowed, "\r" breaks a line), font and alignment.
struct TCelulaConteudo {
    QString Texto;
    TFonte Fonte;
    int Alinhamento = apEsquerda;
};

// A label and its value.
struct TLinhaConteudo {
    QString Rotulo, Valor;
};

class TConteudo {
  public:
    // ---- What the items write ------------------------------------------------------------
    void SetFont(const TFonte &fonte);
    void AlignLeft() { Alinha(apEsquerda); }
    void AlignCenter() { Alinha(apCentro); }
    void AlignRight() { Alinha(apDireita); }
    void AlignJustify() { Alinha(apJustificado); }
    void WriteText(const QString &texto);
    void WriteFormatted(const QString &texto);
    void WriteLine(const QString &texto);
    void NewParagraph();
    void KeepWithNext(bool ligado);
    // The axis mapping of the chart that follows (a view turns clicks into chart units).
    void SetChartMapping(const TMapaEixos &mapa);
    // The chart is copied: the content keeps it as long as it lives.
    void WriteChart(const TChart &chart, int cores);
    // A picture (scale in percent; colours 2, 16 or 256).
    void WritePicture(const QImage &imagem, int escala, int cores);
    // Lines of a label, dots up to a common stop, the separator and the value; the stop is
    // measured by the writer that receives them.
    void LinhasRotuladas(std::vector<TLinhaConteudo> linhas, const QString &separador);
    // Lines of a label, a tab and a value, the values in one column beyond the widest label.
    void LinhasTabuladas(std::vector<TLinhaConteudo> linhas);
    // A table of linhas x colunas cells (row by row); `formatos` gives each cell the background
    // and borders of its region; `corpo` is the font the text after the table is written in.
    void Tabela(int linhas, int colunas, std::vector<TCelulaConteudo> celulas, const TFonte &corpo,
                std::optional<TConfigTabela> formatos);
    void BeginItem(int numero, const QString &classe, const QString &titulo);
    void BeginPart();

    // ---- The content into a writer --------------------------------------------------------
    void Escreve(TArqEditor &escritor) const;
    bool Vazio() const { return operacoes_.empty(); }
    std::size_t Tamanho() const { return operacoes_.size(); }

  private:
    void Alinha(int alinhamento);

    struct TFonteOp { TFonte Fonte; };
    struct TAlinhaOp { int Alinhamento; };
    struct TTextoOp { QString Texto; enum TModo : std::uint8_t { Simples, Formatado, Linha } Modo; };
    struct TParagrafoOp {};
    struct TManterOp { bool Ligado; };
    struct TMapaOp { TMapaEixos Mapa; };
    struct TGraficoOp { std::shared_ptr<const TChart> Chart; int Cores; };
    struct TFiguraOp { QImage Imagem; int Escala, Cores; };
    struct TLinhasOp { std::vector<TLinhaConteudo> Linhas; QString Separador; bool Rotuladas; };
    struct TTabelaOp {
        int Linhas, Colunas;
        std::vector<TCelulaConteudo> Celulas;
        TFonte Corpo;
        std::optional<TConfigTabela> Formatos;
    };
    struct TItemOp { int Numero; QString Classe, Titulo; };
    struct TParteOp {};
    using TOperacao = std::variant<TFonteOp, TAlinhaOp, TTextoOp, TParagrafoOp, TManterOp, TMapaOp,
                                   TGraficoOp, TFiguraOp, TLinhasOp, TTabelaOp, TItemOp, TParteOp>;
    std::vector<TOperacao> operacoes_;

    static void EscreveLinhas(TArqEditor &e, const TLinhasOp &op);
    static void EscreveTabela(TArqEditor &e, const TTabelaOp &op);
};

} // namespace zelto
