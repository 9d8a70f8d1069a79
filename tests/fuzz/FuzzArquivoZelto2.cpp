// Fuzz target of the reader of the older worksheet format.
//
// The input is the file from its dependent variable's name on (offset 36):
// the target puts 18 bytes and the signature in front, so every input
// reaches the parser. The reader runs from memory under both extensions
// (".DCR" also builds the homogenised-value column), then the preview.
#include "files/ArquivoZelto2.h"
#include "files/LerArquivo.h"
#include "worksheet/Gridzelto.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace zelto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, std::size_t tamanho) {
    std::string bytes(18, '\0');
    bytes += AssinaturaZelto2;
    bytes.append(reinterpret_cast<const char *>(dados), tamanho);

    for (const char *nome : {"fuzz.ZEL", "fuzz.DCR"}) {
        TGridzelto grid;
        TArquivoZelto2 leitor;
        leitor.LerDaMemoria(bytes);
        std::string resumo;
        bool ok = leitor.Ler(nome, grid, 255, resumo);
        // A failure always comes with the text the user sees.
        if (ok != leitor.Mensagem().empty()) __builtin_trap();
        // Nothing is sized beyond what the bytes hold: a sample takes at least 6.
        if (grid.LinhasUsadas() > bytes.size() / 6) __builtin_trap();
        for (int c = 1; c <= grid.ColunasUsadas(); ++c)
            if (!grid.Variavel(c)) __builtin_trap();
        std::string texto;
        leitor.LerComentarios(nome, texto);
        if (texto.empty()) __builtin_trap();
    }
    return 0;
}
