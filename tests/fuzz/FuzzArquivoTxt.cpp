// Fuzz target of the text worksheet reader.
//
// The input is the text file. The reader runs from memory; then the
// worksheet is written back as text and read again, which must give the same
// worksheet whenever no sample row came out blank (a row of empty or blank
// cells is written as a blank line, which the reader skips).
#include "files/ArquivoTxt.h"
#include "worksheet/Gridzelto.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace zelto;

namespace {

bool LinhaEmBranco(const TGridzelto &g, int r) {
    for (int c = 1; c <= g.ColunasUsadas(); ++c)
        for (char ch : g.Celula(c, r))
            if (ch != ' ' && ch != '\t') return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, std::size_t tamanho) {
    const std::string bytes(reinterpret_cast<const char *>(dados), tamanho);
    TGridzelto grid;
    TArquivoTxt leitor;
    leitor.LerDaMemoria(bytes);
    std::string resumo;
    bool ok = leitor.Ler("fuzz.TXT", grid, 255, resumo);
    if (ok != leitor.Mensagem().empty()) __builtin_trap();
    if (!ok) return 0;
    for (int c = 1; c <= grid.ColunasUsadas(); ++c)
        if (!grid.Variavel(c)) __builtin_trap();

    for (int r = 1; r <= grid.LinhasUsadas(); ++r)
        if (LinhaEmBranco(grid, r)) return 0;
    TGridzelto volta;
    TArquivoTxt outro;
    outro.LerDaMemoria(TArquivoTxt::TextoPlanilha(grid));
    if (!outro.Ler("volta.TXT", volta, 255, resumo)) __builtin_trap();
    if (volta.ColunasUsadas() != grid.ColunasUsadas() ||
        volta.LinhasUsadas() != grid.LinhasUsadas())
        __builtin_trap();
    for (int c = 1; c <= grid.ColunasUsadas(); ++c) {
        if (!(*volta.Variavel(c) == *grid.Variavel(c))) __builtin_trap();
        for (int r = 0; r <= grid.LinhasUsadas(); ++r)
            if (volta.Celula(c, r) != grid.Celula(c, r)) __builtin_trap();
    }
    return 0;
}
