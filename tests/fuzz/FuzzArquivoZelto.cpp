// Fuzz target of the native worksheet reader.
//
// The input is the file after its 30-byte signature (the target puts the
// signature in front, so every input reaches the parser). The whole reader
// runs on it from memory: the worksheet, the comments, the summary, and the
// merge of its tables into a table store of its own in the temporary folder,
// emptied before each input.
#include "files/ArquivoZelto.h"
#include "worksheet/Gridzelto.h"
#include "worksheet/TabelasVariaveis.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace zelto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, std::size_t tamanho) {
    static const fs::path loja =
        fs::temp_directory_path() / ("zelto_fuzz_tabelas_" + std::to_string(::getpid()) + ".QVT");
    std::error_code ec;
    fs::remove(loja, ec);

    std::string bytes(AssinaturaZelto);
    bytes.append(reinterpret_cast<const char *>(dados), tamanho);

    TTabelasVariaveis tabelas(loja);
    TGridzelto grid;
    TArquivoZelto leitor(&tabelas);
    leitor.LerDaMemoria(bytes);
    std::string resumo, texto;
    bool ok = leitor.Ler("fuzz.QV3", grid, 255, resumo);
    // A failure always comes with the text the user sees.
    if (ok != leitor.Mensagem().empty()) __builtin_trap();
    // Every used column holds a variable.
    for (int c = 1; c <= grid.ColunasUsadas(); ++c)
        if (!grid.Variavel(c)) __builtin_trap();
    leitor.LerComentarios("fuzz.QV3", texto);
    leitor.LerResumo("fuzz.QV3", texto);
    return 0;
}
