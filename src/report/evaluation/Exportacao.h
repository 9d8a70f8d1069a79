// The whole report into a file, for callers that hold the worksheet (the command line): the
// report settings (defaults, or a named configuration), the choice of the items, the writer
// picked by the file's extension, and the evaluation's export run.
//
// This header names no writer and no worksheet type, so the caller may include the
// worksheet's headers (whose alignment names clash with the writers').
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelto {

class TSistema;
class TGridzelto;
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

// The model must be fitted up to CalculaEstatisticas; the closing computations run here. The
// report is in the worksheet's statistics mode.
TResultadoRelatorio ExportaRelatorio(const TPedidoRelatorio &pedido, TSistema &sistema,
                                     const TGridzelto &grid, const TPesquisa *pesquisa,
                                     const TSignificancias &significancias, TProgresso *progresso);

} // namespace zelto
