// The one way a report leaves the program: ExportaRelatorio writes a report whose content is
// kept (TRelatorio) into a file of any target of the writers' table (writer/Escritores.h): a
// stream writer for .rtf, .doc, .wri, .txt and .json, the report view's pages for .pdf. The
// desktop exports the report it shows through it, and the command line the report it builds
// from a request (the second form), so both get the same file for the same report.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelto {

class TSistema;
class TGridzelto;
class TRelatorio;
class TPaginacao;
class TPesquisa;
class TProgresso;
struct TSignificancias;

struct TPedidoRelatorio {
    std::string Saida;         // the output file; its extension picks the writer
    std::string Configuracao;  // a report settings file (.CNF) to read; empty: the defaults
    bool TodosItens = false;   // include every item
    std::vector<int> Itens;    // else, when not empty, include exactly these (catalogue numbers)
    // When not empty, every graph picture is also written into this folder as a PNG named by
    // item number and part ("24-1.png", parts from 1).
    std::string PastaGraficos;
    // The valuer's declared grades (1..3) for criteria 1 and 3 of the grading, over the
    // settings' own.
    std::optional<std::uint8_t> Caracterizacao, Identificacao;
};

struct TResultadoRelatorio {
    bool Ok = false;
    std::string Erro;                 // why the report was not written
    std::vector<std::string> Avisos;  // e.g. a damaged settings file read with defaults
    int Paginas = 0;                  // pages of a paged format (.pdf), as the view lays them out
    int Graficos = 0;                 // PNG files written into PastaGraficos
};

// The report into the file named: its content (computed now for the items not kept yet) into
// the target of the file's extension. A failed or cancelled export leaves a previous file as it
// was and says why in Erro.
// A paged target is drawn through `paginas` when given (the pages the screen has laid out of
// this same report), else through pages laid out for the export.
TResultadoRelatorio ExportaRelatorio(TRelatorio &relatorio, const QString &arquivo, TProgresso *progresso,
                                     TPaginacao *paginas = nullptr);

// The model must be fitted up to CalculaEstatisticas; the closing computations run here. The
// report is in the worksheet's statistics mode.
TResultadoRelatorio ExportaRelatorio(const TPedidoRelatorio &pedido, TSistema &sistema,
                                     const TGridzelto &grid, const TPesquisa *pesquisa,
                                     const TSignificancias &significancias, TProgresso *progresso);

} // namespace zelto
